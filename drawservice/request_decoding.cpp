#include "drawservice/request_decoding.h"

#include <charconv>
#include <limits>
#include <nlohmann/json.hpp>

#include "service/codec/codec.h"

namespace quorsa::drawservice {
namespace {

constexpr std::string_view kHandshakePrefix = "GETRAND?";

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Decimal text (or a JSON integer) as a value in [0, INT32_MAX].
std::optional<std::int32_t> randValue(const nlohmann::json& value) {
    if (value.is_number_integer()) {
        const auto n = value.get<std::int64_t>();
        if (n >= 0 && n <= std::numeric_limits<std::int32_t>::max()) {
            return static_cast<std::int32_t>(n);
        }
        return std::nullopt;
    }
    if (!value.is_string()) {
        return std::nullopt;
    }
    const auto& text = value.get_ref<const std::string&>();
    std::int32_t n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < 0) {
        return std::nullopt;
    }
    return n;
}

std::optional<std::string> scalarText(const nlohmann::json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number_integer()) {
        return value.dump();
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> formData(std::string_view body) {
    while (!body.empty()) {
        const std::size_t amp = body.find('&');
        const std::string_view field = body.substr(0, amp);
        if (field.substr(0, 5) == "DATA=") {
            return codec::urlUnescape(field.substr(5));
        }
        if (amp == std::string_view::npos) {
            break;
        }
        body.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

bool looksLikeHandshake(std::string_view data) {
    return data.substr(0, 7) == "GETRAND";
}

bool isHandshake(std::string_view data) {
    if (data.substr(0, kHandshakePrefix.size()) != kHandshakePrefix) {
        return false;
    }
    std::string_view seconds = data.substr(kHandshakePrefix.size());
    if (!seconds.empty() && seconds.front() == '-') {
        seconds.remove_prefix(1);
    }
    if (seconds.empty() || seconds.size() > 20) {
        return false;
    }
    for (char c : seconds) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool isCallText(std::string_view data) {
    if (data.empty() || data.size() % 2 != 0) {
        return false;
    }
    for (char c : data) {
        if (!isHexDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<Envelope> parseEnvelope(std::string_view text) {
    const auto json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return std::nullopt;
    }
    const auto rand = json.find("rand");
    const auto funname = json.find("funname");
    const auto appid = json.find("appid");
    const auto param = json.find("param");
    if (rand == json.end() || funname == json.end() || appid == json.end() || param == json.end() ||
        !funname->is_string() || !param->is_array()) {
        return std::nullopt;
    }
    Envelope envelope;
    const auto randNumber = randValue(*rand);
    const auto appidText = scalarText(*appid);
    if (!randNumber || !appidText) {
        return std::nullopt;
    }
    envelope.rand = *randNumber;
    envelope.funname = funname->get<std::string>();
    envelope.appid = *appidText;
    for (const auto& item : *param) {
        auto itemText = scalarText(item);
        if (!itemText) {
            return std::nullopt;
        }
        envelope.param.push_back(std::move(*itemText));
    }
    return envelope;
}

DecodeAttempt decodeWithKey(std::string_view cipherBytes, std::string_view callKey) {
    DecodeAttempt attempt;
    const std::string inner = codec::rc4(callKey, cipherBytes);
    if (!isCallText(inner)) {
        return attempt;
    }
    attempt.keyFits = true;
    const std::string escaped = codec::rc4(codec::requestKey(), codec::hexDecode(inner));
    attempt.envelope = parseEnvelope(codec::urlUnescape(escaped));
    return attempt;
}

}  // namespace quorsa::drawservice
