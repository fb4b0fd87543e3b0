#include "updater/install.h"

#include <algorithm>
#include <system_error>

namespace quorsa::updater {

namespace fs = std::filesystem;

namespace {

std::string describe(std::string_view what, const fs::path& path, const std::error_code& ec) {
    return std::string(what) + " " + path.string() + ": " + ec.message();
}

// Run bits for whoever may read the file.
fs::perms withRunBits(fs::perms p) {
    using enum fs::perms;
    p |= owner_exec;
    if ((p & group_read) != none) {
        p |= group_exec;
    }
    if ((p & others_read) != none) {
        p |= others_exec;
    }
    return p;
}

}  // namespace

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return c == '/' || c == '\\' || c == '\0' || c == ':'; });
}

bool isProgramRunning(const fs::path& path) {
#if defined(__linux__)
    std::error_code ec;
    const fs::path wanted = fs::canonical(path, ec);
    if (ec) {
        return false;
    }
    fs::directory_iterator it("/proc", ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() ||
            !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        // Processes of other users, zombies and ones that just ended have no readable link.
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(it->path() / "exe", linkError);
        if (!linkError && exe == wanted) {
            return true;
        }
    }
    return false;
#else
    (void)path;
    return false;
#endif
}

bool installPackage(const fs::path& packagePath, const fs::path& targetPath,
                    const fs::path& backupPath, std::string& error) {
    std::error_code ec;
    const fs::file_status target = fs::status(targetPath, ec);
    if (ec || !fs::is_regular_file(target)) {
        error = describe("not a program file:", targetPath, ec);
        return false;
    }
    if (!fs::is_regular_file(fs::status(packagePath, ec)) || ec) {
        error = describe("package missing:", packagePath, ec);
        return false;
    }
    fs::permissions(packagePath, withRunBits(target.permissions()), fs::perm_options::replace, ec);
    if (ec) {
        error = describe("cannot set permissions of", packagePath, ec);
        return false;
    }

    // The backup is made under a side name first so an older backup is only
    // replaced by a complete one. A hard link costs nothing; copy where links fail.
    fs::path pendingBackup = backupPath;
    pendingBackup += ".new";
    fs::remove(pendingBackup, ec);
    fs::create_hard_link(targetPath, pendingBackup, ec);
    if (ec) {
        fs::copy_file(targetPath, pendingBackup, fs::copy_options::overwrite_existing, ec);
    }
    if (ec) {
        fs::remove(pendingBackup, ec);
        error = describe("cannot keep a backup as", backupPath, ec);
        return false;
    }
    fs::rename(pendingBackup, backupPath, ec);
    if (ec) {
        error = describe("cannot keep a backup as", backupPath, ec);
        std::error_code ignored;
        fs::remove(pendingBackup, ignored);
        return false;
    }

    fs::rename(packagePath, targetPath, ec);
    if (ec) {
        error = describe("cannot move the new program to", targetPath, ec);
        return false;
    }
    return true;
}

bool restoreBackup(const fs::path& backupPath, const fs::path& targetPath, std::string& error) {
    std::error_code ec;
    fs::rename(backupPath, targetPath, ec);
    if (ec) {
        error = describe("cannot restore", targetPath, ec);
        return false;
    }
    return true;
}

}  // namespace quorsa::updater
