#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorsa::platform {

// One match: the whole matched text and its capture groups (1-based).
struct RegexMatch {
    bool found = false;
    std::string text;
    std::vector<std::string> groups;  // groups[0] is group 1

    // Empty text for a group that does not exist or did not take part.
    std::string group(std::size_t n) const {
        return n >= 1 && n <= groups.size() ? groups[n - 1] : std::string();
    }
};

// A Perl-compatible pattern compiled once with default options
// (case-sensitive, "." stops at a line feed). Works on characters, not
// bytes; patterns and texts are UTF-8.
class Regex {
public:
    explicit Regex(std::string_view pattern);
    ~Regex();
    Regex(Regex&&) noexcept;
    Regex& operator=(Regex&&) noexcept;
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    bool isValid() const;
    bool matches(std::string_view text) const;
    // The first match; `found` false when there is none.
    RegexMatch search(std::string_view text) const;
    // Non-overlapping matches, left to right.
    std::vector<RegexMatch> searchAll(std::string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quorsa::platform
