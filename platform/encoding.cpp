#include "platform/encoding.h"

#include <cerrno>
#include <iconv.h>
#include <algorithm>
#include <memory>

namespace quorsa::platform {
namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvHandle(cd);
}

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// Converts with iconv; on an unconvertible or invalid sequence calls
// onBad(consumed) which returns false to abort or true after skipping.
template <typename OnBad>
bool convert(const char* to, const char* from, std::string_view in, std::string& out, OnBad onBad) {
    IconvHandle cd = openConverter(to, from);
    if (!cd) {
        return false;
    }
    auto* handle = static_cast<iconv_t>(cd.get());
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (truncated input at the end).
        std::size_t skip = onBad(std::string_view(inPtr, inLeft), out);
        if (skip == 0) {
            return false;
        }
        skip = std::min(skip, inLeft);
        inPtr += skip;
        inLeft -= skip;
    }
    return true;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        char32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < len; ++k) {
            auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        const bool overlong = (len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) ||
                              (len == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string utf8ToGbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    convert("GBK", "UTF-8", utf8, out, [](std::string_view rest, std::string& o) -> std::size_t {
        o.push_back('?');
        return utf8SequenceLength(static_cast<unsigned char>(rest.front()));
    });
    return out;
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    if (!convert("UTF-8", "GBK", gbk, out,
                 [](std::string_view, std::string&) -> std::size_t { return 0; })) {
        return std::nullopt;
    }
    return out;
}

}  // namespace quorsa::platform
