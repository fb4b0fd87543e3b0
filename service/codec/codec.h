#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The body and data encodings shared by the client's transport and the draw
// service. All functions are pure; byte strings are std::string.
namespace quorsa::codec {

// The fixed request key, assembled from pieces on every call.
std::string requestKey();

// Decimal text of rand × 7919.
std::string answerKey(std::int32_t rand);

// RC4 with the key's bytes as the key; encrypting and decrypting are the same.
std::string rc4(std::string_view key, std::string_view data);

// Two upper-case hex digits per byte, no separators.
std::string hexEncode(std::string_view bytes);

// Pairs of hex digits of either case to bytes; a final single character is
// read as one digit. A character that is no hex digit counts as digit 0.
std::string hexDecode(std::string_view text);

// Value of a short hexadecimal text (0 for non-digits).
std::int32_t hexDigitsValue(std::string_view text);

// Client side: hex(rc4(callKey, hex(rc4(requestKey, text)))).
std::string encodeBody(std::string_view text, std::string_view callKey);
// Service side: undoes encodeBody.
std::string decodeBody(std::string_view body, std::string_view callKey);

// Service side: hex(rc4(requestKey, hex(rc4(answerKey(rand), payload)))).
std::string encodeData(std::string_view payload, std::int32_t rand);
// Client side: undoes encodeData; the payload bytes.
std::string decodeData(std::string_view text, std::int32_t rand);

// Percent-encodes UTF-8 text as one URL path segment: ASCII letters, digits
// and "-._~" stay, every other byte becomes %XX (upper-case hex).
std::string urlEscape(std::string_view text);
// Undoes %XX escapes (either case); a malformed escape stays as it is.
std::string urlUnescape(std::string_view text);

}  // namespace quorsa::codec
