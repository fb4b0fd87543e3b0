#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a client's request body: the form field DATA, the handshake, and
// the encoded call envelope {"rand","funname","appid","param"}. Pure
// functions; every input is distrusted.
namespace quorsa::drawservice {

struct Envelope {
    std::int32_t rand = 0;
    std::string funname;
    std::string appid;
    std::vector<std::string> param;
};

// The value of the form field DATA, percent-escapes undone; nullopt without it.
std::optional<std::string> formData(std::string_view body);

// True for the handshake's value "GETRAND?" + decimal seconds.
bool isHandshake(std::string_view data);
// True when `data` starts like a handshake (then it is no call, valid or not).
bool looksLikeHandshake(std::string_view data);

// Upper- or lower-case hex of an even length, not empty.
bool isCallText(std::string_view data);

// The envelope of a decoded, unescaped body text; nullopt unless it is a JSON
// object with "rand" (0 .. 2^31 − 1), "funname", "appid" and "param" (an array
// of strings or integers).
std::optional<Envelope> parseEnvelope(std::string_view text);

// Result of decoding a call text with one key.
struct DecodeAttempt {
    bool keyFits = false;  // the first layer came out as hex text
    std::optional<Envelope> envelope;
};
// `cipherBytes` is hexDecode of the call text.
DecodeAttempt decodeWithKey(std::string_view cipherBytes, std::string_view callKey);

}  // namespace quorsa::drawservice
