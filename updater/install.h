#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Putting a verified package in place of the program it replaces.
namespace quorsa::updater {

// A bare file name: not empty, no directory part, not "." or "..".
bool isPlainFileName(std::string_view name);

// True while some process runs the executable file at `path`. Where the
// platform offers no way to tell, false.
bool isProgramRunning(const std::filesystem::path& path);

// Keeps `targetPath` as `backupPath` (replacing an older backup), gives the
// package the target's permissions plus the run bits, and renames it over the
// target. The target is replaced by that one rename, so it is always either
// the old or the new program; on failure it is the old one.
bool installPackage(const std::filesystem::path& packagePath,
                    const std::filesystem::path& targetPath,
                    const std::filesystem::path& backupPath, std::string& error);

// Moves the backup back over the target (used when the new program fails to start).
bool restoreBackup(const std::filesystem::path& backupPath, const std::filesystem::path& targetPath,
                   std::string& error);

}  // namespace quorsa::updater
