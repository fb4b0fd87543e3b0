#include "service/codec/codec.h"

#include <array>

namespace quorsa::codec {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string requestKey() {
    // Kept in pieces so the whole key never stands in the binary.
    static constexpr std::array<std::string_view, 5> pieces = {"w5z", "x7b", "m4k", "3p8", "9q2"};
    std::string key;
    key.reserve(15);
    for (int index : {2, 4, 1, 3, 0}) {
        key += pieces[static_cast<std::size_t>(index)];
    }
    return key;
}

std::string answerKey(std::int32_t rand) {
    return std::to_string(static_cast<std::int64_t>(rand) * 7919);
}

std::string rc4(std::string_view key, std::string_view data) {
    std::string out(data);
    if (key.empty()) {
        return out;
    }
    std::array<unsigned char, 256> s{};
    for (std::size_t i = 0; i < 256; ++i) {
        s[i] = static_cast<unsigned char>(i);
    }
    std::size_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(key[i % key.size()])) & 0xFF;
        std::swap(s[i], s[j]);
    }
    std::size_t i = 0;
    j = 0;
    for (char& c : out) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        c = static_cast<char>(static_cast<unsigned char>(c) ^ s[(s[i] + s[j]) & 0xFF]);
    }
    return out;
}

std::string hexEncode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kHexDigits[b >> 4]);
        out.push_back(kHexDigits[b & 0x0F]);
    }
    return out;
}

std::string hexDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 2 + 1);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        out.push_back(static_cast<char>(hexDigitsValue(text.substr(i, 2)) & 0xFF));
    }
    return out;
}

std::int32_t hexDigitsValue(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        value = value * 16 + static_cast<std::uint32_t>(d < 0 ? 0 : d);
    }
    return static_cast<std::int32_t>(value);
}

std::string encodeBody(std::string_view text, std::string_view callKey) {
    return hexEncode(rc4(callKey, hexEncode(rc4(requestKey(), text))));
}

std::string decodeBody(std::string_view body, std::string_view callKey) {
    return rc4(requestKey(), hexDecode(rc4(callKey, hexDecode(body))));
}

std::string encodeData(std::string_view payload, std::int32_t rand) {
    return hexEncode(rc4(requestKey(), hexEncode(rc4(answerKey(rand), payload))));
}

std::string decodeData(std::string_view text, std::int32_t rand) {
    return rc4(answerKey(rand), hexDecode(rc4(requestKey(), hexDecode(text))));
}

std::string urlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        const bool keep = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                          (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' || b == '~';
        if (keep) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHexDigits[b >> 4]);
            out.push_back(kHexDigits[b & 0x0F]);
        }
    }
    return out;
}

std::string urlUnescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = hexDigit(text[i + 1]);
            const int lo = hexDigit(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace quorsa::codec
