#include "updater/signature.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>

using namespace std::string_literals;

namespace quorsa::updater {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string data(const char* name) {
    return readFile(std::string(QUORSA_TEST_DATA) + "/" + name);
}

const std::string kPackage = "a package\0with a zero byte and more"s;

TEST(Signature, CommittedTestKeyPairSignsAndVerifies) {
    const std::string privateKey = readFile(QUORSA_UPDATE_TEST_PRIVATE_KEY);
    const std::string publicKey = readFile(QUORSA_UPDATE_TEST_PUBLIC_KEY);
    std::string signature;
    std::string error;
    ASSERT_TRUE(signData(privateKey, asBytes(kPackage), signature, error)) << error;
    EXPECT_EQ(signature.size(), kSignatureSize);
    EXPECT_TRUE(verifySignature(publicKey, asBytes(kPackage), asBytes(signature), error)) << error;
}

TEST(Signature, RefusesEverythingButTheExactSignedBytesUnderTheTrustedKey) {
    const std::string publicKey = readFile(QUORSA_UPDATE_TEST_PUBLIC_KEY);
    std::string good;
    std::string error;
    ASSERT_TRUE(signData(readFile(QUORSA_UPDATE_TEST_PRIVATE_KEY), asBytes(kPackage), good, error));
    std::string byOtherKey;
    ASSERT_TRUE(signData(data("untrusted-private-key.pem"), asBytes(kPackage), byOtherKey, error));

    std::string flippedSignature = good;
    flippedSignature[10] = static_cast<char>(flippedSignature[10] ^ 0x01);
    std::string flippedData = kPackage;
    flippedData.back() = static_cast<char>(flippedData.back() ^ 0x80);

    struct Case {
        const char* name;
        std::string key;
        std::string data;
        std::string signature;
    };
    const Case cases[] = {
        {"one bit of the signature", publicKey, kPackage, flippedSignature},
        {"one bit of the data", publicKey, flippedData, good},
        {"data cut short", publicKey, kPackage.substr(0, kPackage.size() - 1), good},
        {"data with a byte more", publicKey, kPackage + "x", good},
        {"signature cut short", publicKey, kPackage, good.substr(0, 63)},
        {"signature with a byte more", publicKey, kPackage, good + "x"},
        {"empty signature", publicKey, kPackage, ""},
        {"signed by another key", publicKey, kPackage, byOtherKey},
        {"checked against another key", data("untrusted-public-key.pem"), kPackage, good},
        {"a key of another algorithm", data("p256-public-key.pem"), kPackage, good},
        {"no key at all", "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n", kPackage,
         good},
        {"a private key where the public one belongs", readFile(QUORSA_UPDATE_TEST_PRIVATE_KEY),
         kPackage, good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string why;
        EXPECT_FALSE(verifySignature(c.key, asBytes(c.data), asBytes(c.signature), why));
        EXPECT_FALSE(why.empty());
    }
}

TEST(SignPackage, WritesARawSignatureBesideTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.filePath("package.bin").toStdString();
    {
        std::ofstream out(file, std::ios::binary);
        out << kPackage;
    }
    EXPECT_EQ(QProcess::execute(SIGN_PACKAGE_PATH,
                                {QUORSA_UPDATE_TEST_PRIVATE_KEY, QString::fromStdString(file)}),
              0);
    const std::string signature = readFile(file + ".sig");
    std::string error;
    EXPECT_TRUE(verifySignature(readFile(QUORSA_UPDATE_TEST_PUBLIC_KEY), asBytes(kPackage),
                                asBytes(signature), error))
        << error;
}

TEST(SignPackage, FailsWithoutWritingOnBadInput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("package.bin");
    {
        std::ofstream out(file.toStdString(), std::ios::binary);
        out << kPackage;
    }
    struct Case {
        const char* name;
        QStringList arguments;
    };
    const Case cases[] = {
        {"no arguments", {}},
        {"only the key", {QUORSA_UPDATE_TEST_PRIVATE_KEY}},
        {"a public key", {QUORSA_UPDATE_TEST_PUBLIC_KEY, file}},
        {"a missing key", {dir.filePath("missing.pem"), file}},
        {"a missing file", {QUORSA_UPDATE_TEST_PRIVATE_KEY, dir.filePath("missing.bin")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        process.start(SIGN_PACKAGE_PATH, c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_NE(process.exitCode(), 0);
        EXPECT_FALSE(QFileInfo::exists(file + ".sig"));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.bin.sig")));
    }
}

}  // namespace
}  // namespace quorsa::updater
