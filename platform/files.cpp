#include "platform/files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quorsa::platform {

namespace fs = std::filesystem;

std::string currentDirectory() {
    std::error_code ec;
    const fs::path dir = fs::current_path(ec);
    return ec ? std::string(".") : dir.string();
}

std::string programDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return currentDirectory();
    return exe.parent_path().string();
}

std::string joinPath(std::string_view dir, std::string_view name) {
    return (fs::path(dir) / fs::path(name)).string();
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

bool writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool setHiddenAttribute(const std::string& path) {
    (void)path;
    return true;
}

bool makeExecutable(const std::string& path) {
    std::error_code ec;
    fs::permissions(path,
                    fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
    return !ec;
}

std::string_view executableSuffix() {
#ifdef _WIN32
    return ".exe";
#else
    return "";
#endif
}

}  // namespace quorsa::platform
