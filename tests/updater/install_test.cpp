#include "updater/install.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <QTemporaryDir>

namespace quorsa::updater {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class Install : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_dir = fs::path(m_temp.path().toStdString());
        writeFile(target(), "old program");
        fs::permissions(target(), fs::perms(0640), fs::perm_options::replace);
        writeFile(package(), "new program");
    }
    fs::path target() const { return m_dir / "客户端"; }
    fs::path backup() const { return m_dir / "客户端.bak"; }
    fs::path package() const { return m_dir / "客户端.a1b2c3.download"; }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    QTemporaryDir m_temp;
    fs::path m_dir;
};

TEST_F(Install, ReplacesTheProgramKeepsABackupAndSetsTheRunBits) {
    writeFile(backup(), "an older backup");
    std::string error;
    ASSERT_TRUE(installPackage(package(), target(), backup(), error)) << error;
    EXPECT_EQ(readFile(target()), "new program");
    EXPECT_EQ(readFile(backup()), "old program");
    // Run bits for whoever may read it, nothing more.
    EXPECT_EQ(fs::status(target()).permissions(), fs::perms(0750));
    EXPECT_EQ(listing(), (std::vector<std::string>{"客户端", "客户端.bak"}));
}

TEST_F(Install, RestoringTheBackupBringsBackTheOldProgram) {
    std::string error;
    ASSERT_TRUE(installPackage(package(), target(), backup(), error)) << error;
    ASSERT_TRUE(restoreBackup(backup(), target(), error)) << error;
    EXPECT_EQ(readFile(target()), "old program");
    EXPECT_EQ(listing(), (std::vector<std::string>{"客户端"}));
}

TEST_F(Install, FailsWithoutTouchingAnythingWhenAPieceIsMissing) {
    std::string error;
    fs::remove(package());
    EXPECT_FALSE(installPackage(package(), target(), backup(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(target()), "old program");
    EXPECT_EQ(listing(), (std::vector<std::string>{"客户端"}));

    writeFile(package(), "new program");
    fs::remove(target());
    EXPECT_FALSE(installPackage(package(), target(), backup(), error));
    EXPECT_EQ(readFile(package()), "new program");
    EXPECT_EQ(listing(), (std::vector<std::string>{"客户端.a1b2c3.download"}));
}

TEST(PlainFileName, AcceptsOnlyANameWithoutDirectory) {
    struct Case {
        const char* name;
        bool plain;
    };
    const Case cases[] = {
        {"江苏快三平刷和值单双", true},
        {"client.exe", true},
        {"a b", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../client", false},
        {"/usr/bin/env", false},
        {"dir/client", false},
        {"..\\client", false},
        {"c:client", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isPlainFileName(c.name), c.plain);
    }
}

TEST(ProgramRunning, SeesThisProcessButNotAnIdleCopyOfItsFile) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    ASSERT_FALSE(ec);
    EXPECT_TRUE(isProgramRunning(self));

    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path copy = fs::path(temp.path().toStdString()) / "copy";
    fs::copy_file(self, copy);
    EXPECT_FALSE(isProgramRunning(copy));
    EXPECT_FALSE(isProgramRunning(copy.parent_path() / "missing"));
}

}  // namespace
}  // namespace quorsa::updater
