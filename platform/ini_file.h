#pragma once

#include <optional>
#include <string>
#include <string_view>

// A reader and writer of the Windows profile (INI) format, so a settings file
// carried over from Windows reads and stays readable there: GBK bytes, section
// and key names matched case-insensitively, CR LF line breaks, and every line
// we do not change (other sections, keys, comments) kept byte for byte.
namespace quorsa::platform {

// Longest value a read returns, in GBK bytes, as a 10240-byte buffer allows.
inline constexpr std::size_t kIniValueLimit = 10239;

// The value of `key` in `section` of an INI text (raw file bytes), or nullopt.
std::optional<std::string> iniLookup(std::string_view fileBytes, std::string_view section,
                                     std::string_view key);

// The file bytes with `key` in `section` set to `value` (added when missing).
std::string iniAssign(std::string_view fileBytes, std::string_view section, std::string_view key,
                      std::string_view value);

class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }

    // `fallback` when the file, the section or the key is missing or unreadable.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // Writes through a temporary file renamed over the old one, so a crash or a
    // full disk never leaves a truncated file. False when nothing was written.
    bool write(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::string m_path;
};

}  // namespace quorsa::platform
