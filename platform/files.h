#pragma once

#include <string>
#include <string_view>

// The few file operations the program needs, with the platform's separators.
namespace quorsa::platform {

std::string currentDirectory();
// Directory of the running executable.
std::string programDirectory();
// `dir` joined with `name` by the platform's separator.
std::string joinPath(std::string_view dir, std::string_view name);

bool fileExists(const std::string& path);
bool removeFile(const std::string& path);
// Writes the bytes to a new file (replacing any), false on any failure.
bool writeBytes(const std::string& path, std::string_view bytes);
// Sets only the hidden attribute where the file system has one; a no-op
// (true) where hiding is a matter of the name, as here.
bool setHiddenAttribute(const std::string& path);
// Sets the run bits, where the platform has them.
bool makeExecutable(const std::string& path);

// The executable file suffix of this platform: ".exe" on Windows, "" here.
std::string_view executableSuffix();

}  // namespace quorsa::platform
