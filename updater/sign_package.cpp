// sign-package PRIVATE_KEY.pem FILE: writes FILE.sig, the raw Ed25519 signature
// of FILE's bytes that the updater checks before installing FILE.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "updater/signature.h"

namespace {

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    bytes = std::move(buffer).str();
    return true;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sign-package PRIVATE_KEY.pem FILE\n");
        return 2;
    }
    const std::string keyPath = argv[1];
    const std::string filePath = argv[2];
    std::string key;
    std::string data;
    if (!readFile(keyPath, key)) {
        std::fprintf(stderr, "sign-package: cannot read %s\n", keyPath.c_str());
        return 1;
    }
    if (!readFile(filePath, data)) {
        std::fprintf(stderr, "sign-package: cannot read %s\n", filePath.c_str());
        return 1;
    }
    std::string signature;
    std::string error;
    if (!quorsa::updater::signData(key, quorsa::updater::asBytes(data), signature, error)) {
        std::fprintf(stderr, "sign-package: %s\n", error.c_str());
        return 1;
    }
    const std::string sigPath = filePath + ".sig";
    if (!writeFile(sigPath, signature)) {
        std::fprintf(stderr, "sign-package: cannot write %s\n", sigPath.c_str());
        return 1;
    }
    return 0;
}
