#include "platform/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/encoding.h"

namespace quorsa::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Line {
    std::string raw;   // bytes as in the file, terminator included
    std::string text;  // UTF-8 content without terminator; empty when undecodable
    bool decoded = false;
};

struct Document {
    bool utf8 = false;  // a file saved with a UTF-8 byte-order mark stays UTF-8
    std::vector<Line> lines;
};

std::string_view trim(std::string_view s) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

Document parse(std::string_view bytes) {
    Document doc;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        doc.utf8 = true;
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        Line line;
        line.raw = std::string(bytes.substr(start, end - start));
        std::string_view content = line.raw;
        if (start == 0 && doc.utf8) content.remove_prefix(kUtf8Bom.size());
        while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) {
            content.remove_suffix(1);
        }
        // A NUL byte marks a binary or half-written line: never a match.
        if (content.find('\0') == std::string_view::npos) {
            if (doc.utf8) {
                line.decoded = isValidUtf8(content);
                if (line.decoded) line.text = std::string(content);
            } else if (auto text = gbkToUtf8(content)) {
                line.decoded = true;
                line.text = std::move(*text);
            }
        }
        doc.lines.push_back(std::move(line));
        start = end;
    }
    return doc;
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string_view> sectionOf(const Line& line) {
    if (!line.decoded) return std::nullopt;
    std::string_view t = trim(line.text);
    if (t.empty() || t.front() != '[') return std::nullopt;
    t.remove_prefix(1);
    const std::size_t close = t.find(']');
    return trim(close == std::string_view::npos ? t : t.substr(0, close));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValueOf(const Line& line) {
    if (!line.decoded) return std::nullopt;
    std::string_view t = trim(line.text);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view value = trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return KeyValue{trim(t.substr(0, eq)), value};
}

// Index range [begin, end) of the body of the first section named `section`;
// nullopt when there is none.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> findSection(const Document& doc, std::string_view section) {
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const auto name = sectionOf(doc.lines[i]);
        if (!name || !equalsIgnoreCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < doc.lines.size() && !sectionOf(doc.lines[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const Document& doc, const SectionRange& range,
                                   std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto kv = keyValueOf(doc.lines[i]);
        if (kv && equalsIgnoreCase(kv->key, key)) return i;
    }
    return std::nullopt;
}

// Cuts GBK bytes to the read buffer without splitting a double-byte character.
std::string limitGbk(std::string gbk) {
    if (gbk.size() <= kIniValueLimit) return gbk;
    std::size_t i = 0;
    while (i < kIniValueLimit) {
        const std::size_t width = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (i + width > kIniValueLimit) break;
        i += width;
    }
    gbk.resize(i);
    return gbk;
}

std::string encodeLine(const Document& doc, std::string_view utf8) {
    std::string bytes = doc.utf8 ? std::string(utf8) : utf8ToGbk(utf8);
    bytes += "\r\n";
    return bytes;
}

std::optional<std::string> readAll(const std::string& path, bool& exists) {
    struct stat st {};
    exists = ::stat(path.c_str(), &st) == 0;
    if (!exists) return std::string();
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> iniLookup(std::string_view fileBytes, std::string_view section,
                                     std::string_view key) {
    const Document doc = parse(fileBytes);
    const auto range = findSection(doc, section);
    if (!range) return std::nullopt;
    const auto index = findKey(doc, *range, key);
    if (!index) return std::nullopt;
    const std::string_view value = keyValueOf(doc.lines[*index])->value;
    if (doc.utf8) return std::string(value.substr(0, kIniValueLimit));
    return gbkToUtf8(limitGbk(utf8ToGbk(value))).value_or(std::string());
}

std::string iniAssign(std::string_view fileBytes, std::string_view section, std::string_view key,
                      std::string_view value) {
    Document doc = parse(fileBytes);
    const std::string entry = std::string(key) + "=" + std::string(value);
    if (const auto range = findSection(doc, section)) {
        if (const auto index = findKey(doc, *range, key)) {
            doc.lines[*index] = Line{encodeLine(doc, entry), entry, true};
        } else {
            // After the section's last non-blank line, as the Windows writer does.
            std::size_t at = range->end;
            while (at > range->header + 1 && doc.lines[at - 1].decoded &&
                   trim(doc.lines[at - 1].text).empty()) {
                --at;
            }
            doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at),
                             Line{encodeLine(doc, entry), entry, true});
        }
    } else {
        const std::string header = "[" + std::string(section) + "]";
        doc.lines.push_back(Line{encodeLine(doc, header), header, true});
        doc.lines.push_back(Line{encodeLine(doc, entry), entry, true});
    }
    std::string out;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        out += doc.lines[i].raw;
        // A last line without its break (a half-written file) gets one before we add more.
        const bool last = i + 1 == doc.lines.size();
        if (!last && (out.empty() || out.back() != '\n')) out += "\r\n";
    }
    return out;
}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
    bool exists = false;
    const auto bytes = readAll(m_path, exists);
    if (!bytes) return std::string(fallback);
    return iniLookup(*bytes, section, key).value_or(std::string(fallback));
}

bool IniFile::write(std::string_view section, std::string_view key, std::string_view value) const {
    bool exists = false;
    const auto bytes = readAll(m_path, exists);
    if (!bytes) return false;  // an unreadable file is never replaced blindly
    const std::string updated = iniAssign(*bytes, section, key, value);

    std::string tmp = m_path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    mode_t mode = 0644;
    struct stat st {};
    if (exists && ::stat(m_path.c_str(), &st) == 0) mode = st.st_mode & 07777;
    const bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, updated) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || std::rename(tmp.c_str(), m_path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

}  // namespace quorsa::platform
