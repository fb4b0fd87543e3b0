#include "service/service_transport.h"

#include "platform/text.h"
#include "service/codec/codec.h"

namespace quorsa::service {

const HttpHeaders& postHeaders() {
    static const HttpHeaders headers = {
        {"Accept", "*/*"},
        {"Accept-Language", "zh-CN"},
        {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept-Encoding", "deflate"},
        {"Connection", "Keep-Alive"},
        {"Cache-Control", "no-cache"},
    };
    return headers;
}

void ServiceTransport::setup(const std::string& serviceUrl, std::int32_t applicationId) {
    m_serviceUrl = serviceUrl;
    m_applicationId = applicationId;
}

bool ServiceTransport::callTexts(ServiceAnswer& answer, const std::string& funname,
                                 const std::string& text1, const std::string& text2,
                                 const std::string& text3, const std::string& text4,
                                 const std::string& text5, std::int32_t dataIsPlain) {
    std::vector<std::string> params;
    for (const std::string* text : {&text1, &text2, &text3, &text4, &text5}) {
        if (text->empty()) {
            break;
        }
        params.push_back(*text);
    }
    return callData(answer, funname, params, dataIsPlain);
}

bool ServiceTransport::callData(ServiceAnswer& answer, const std::string& funname,
                                const std::vector<std::string>& params, std::int32_t dataIsPlain) {
    std::string rawText;
    std::int32_t rand = 0;
    if (!call(rawText, funname, params, rand, answer)) {
        return false;
    }
    const std::string data = answer.memberText("data");
    if (data.empty()) {
        return true;
    }
    if (!answer.parse(dataIsPlain == 1 ? data : decodeData(data, rand))) {
        setError(answer, std::string(kLocalErrorCode), std::string(kDataNotJsonMessage), "");
        return false;
    }
    return true;
}

bool ServiceTransport::call(std::string& rawText, const std::string& funname,
                            const std::vector<std::string>& params, std::int32_t& rand,
                            ServiceAnswer& answer) {
    rand = makeRand();
    const std::string key = fetchCallKey(answer, rand);
    if (key.empty()) {
        if (answer.isInvalid()) {
            setError(answer, std::string(kLocalErrorCode), std::string(kNoAnswerMessage), "");
        }
        return false;
    }

    m_envelope.reset();
    m_envelope.set("rand", std::to_string(rand));
    m_envelope.set("funname", funname);
    m_envelope.set("appid", std::to_string(m_applicationId));
    m_paramList.reset();
    for (const std::string& param : params) {
        m_paramList.append(param);
    }
    m_envelope.setValue("param", m_paramList);
    answer.reset();

    const std::string body = "DATA=" + encodeBody(codec::urlEscape(m_envelope.toText()), key);
    const std::string reply = post(m_serviceUrl, body);
    if (reply.empty()) {
        setError(answer, std::string(kLocalErrorCode), std::string(kNoAnswerMessage), "");
        return false;
    }
    // The program's text is UTF-8 already, so the answer is kept as it came.
    rawText = reply;
    if (!answer.parse(rawText)) {
        setError(answer, std::string(kLocalErrorCode), std::string(kNotJsonMessage), "");
        return false;
    }
    return answer.errorCode() == "0";
}

void ServiceTransport::setError(ServiceAnswer& answer, const std::string& code,
                                const std::string& msg, const std::string& data) {
    answer.reset();
    answer.set("errcode", code);
    answer.set("msg", msg);
    answer.set("data", data);
}

std::string ServiceTransport::post(const std::string& url, const std::string& body) {
    return m_http->post(url, postHeaders(), body);
}

std::int32_t ServiceTransport::makeRand() const {
    const double sum =
        static_cast<double>(m_time->tickCount()) +
        static_cast<double>(platform::leadingInt64(unixSecondsText(m_time->unixMillis())));
    const std::string text = platform::formatG13(sum);
    const std::size_t from = text.size() > 4 ? text.size() - 4 : 0;
    return platform::leadingInt(std::string_view(text).substr(from));
}

std::string ServiceTransport::fetchCallKey(ServiceAnswer& answer, std::int32_t /*rand*/) {
    const std::string reply =
        post(m_serviceUrl, "DATA=GETRAND?" + unixSecondsText(m_time->unixMillis()));
    if (reply.empty()) {
        setError(answer, std::string(kLocalErrorCode), std::string(kNoAnswerMessage), "");
        return {};
    }
    if (!answer.parse(reply)) {
        setError(answer, std::string(kLocalErrorCode), std::string(kNotJsonMessage), "");
        return {};
    }
    if (answer.errorCode() != "0") {
        return {};  // a refusal: the service's answer stays for the caller
    }
    std::int32_t type = kJsonInvalid;
    std::string key = answer.memberText("data", type);
    if (type != kJsonString || key.empty()) {
        // A success without a key is no answer this client can use.
        setError(answer, std::string(kLocalErrorCode), std::string(kNotJsonMessage), "");
        return {};
    }
    return key;
}

std::string ServiceTransport::decodeData(std::string_view text, std::int32_t rand) {
    return codec::decodeData(text, rand);
}

std::string ServiceTransport::encodeBody(std::string_view text, std::string_view callKey) {
    return codec::encodeBody(text, callKey);
}

std::string ServiceTransport::answerKey(std::int32_t rand) {
    return codec::answerKey(rand);
}

std::string ServiceTransport::unixSecondsText(std::int64_t unixMillis) {
    return std::to_string(unixMillis / 1000);  // truncation toward zero
}

std::string ServiceTransport::hexDecode(std::string_view text) {
    return codec::hexDecode(text);
}

std::int32_t ServiceTransport::hexDigitsValue(std::string_view text) {
    return codec::hexDigitsValue(text);
}

std::string ServiceTransport::hexEncode(std::string_view bytes) {
    return codec::hexEncode(bytes);
}

}  // namespace quorsa::service
