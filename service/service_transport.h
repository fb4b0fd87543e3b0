#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/time_source.h"
#include "service/http_exchange.h"
#include "service/json_value.h"

namespace quorsa::service {

// Messages of the failures the transport makes itself (errcode "9999").
inline constexpr std::string_view kNoAnswerMessage = "服务器访问失败!";
inline constexpr std::string_view kNotJsonMessage = "服务器访问错误!";
inline constexpr std::string_view kDataNotJsonMessage = "服务器访问错误!2";
inline constexpr std::string_view kLocalErrorCode = "9999";

// The headers of every POST, in this order.
const HttpHeaders& postHeaders();

// One service address: handshake, envelope, body encoding and the answer.
class ServiceTransport {
public:
    ServiceTransport(HttpExchange& http, const platform::TimeSource& time)
        : m_http(&http), m_time(&time) {}

    void setup(const std::string& serviceUrl, std::int32_t applicationId);

    // The arguments are the leading non-empty texts; then callData.
    bool callTexts(ServiceAnswer& answer, const std::string& funname, const std::string& text1,
                   const std::string& text2, const std::string& text3, const std::string& text4,
                   const std::string& text5, std::int32_t dataIsPlain);
    // call, then `answer` holds the decoded "data" (unless "data" is empty).
    bool callData(ServiceAnswer& answer, const std::string& funname,
                  const std::vector<std::string>& params, std::int32_t dataIsPlain);
    // One complete exchange; true only when "errcode" reads "0".
    bool call(std::string& rawText, const std::string& funname,
              const std::vector<std::string>& params, std::int32_t& rand, ServiceAnswer& answer);

    static void setError(ServiceAnswer& answer, const std::string& code, const std::string& msg,
                         const std::string& data);
    std::string post(const std::string& url, const std::string& body);
    std::int32_t makeRand() const;
    // The handshake: the call key, or "" with the reason left in `answer`.
    std::string fetchCallKey(ServiceAnswer& answer, std::int32_t rand);

    static std::string decodeData(std::string_view text, std::int32_t rand);
    static std::string encodeBody(std::string_view text, std::string_view callKey);
    static std::string answerKey(std::int32_t rand);
    // Whole seconds of the Unix time `unixMillis`, as decimal text.
    static std::string unixSecondsText(std::int64_t unixMillis);
    static std::string hexDecode(std::string_view text);
    static std::int32_t hexDigitsValue(std::string_view text);
    static std::string hexEncode(std::string_view bytes);

    const std::string& serviceUrl() const { return m_serviceUrl; }

private:
    HttpExchange* m_http;
    const platform::TimeSource* m_time;
    std::string m_serviceUrl;
    JsonObject m_envelope;
    JsonArray m_paramList;
    std::int32_t m_applicationId = 0;
};

}  // namespace quorsa::service
