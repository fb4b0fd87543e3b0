#include "drawservice/draw_service.h"

#include <nlohmann/json.hpp>

#include "drawservice/request_decoding.h"
#include "service/codec/codec.h"

namespace quorsa::drawservice {
namespace {

using Json = nlohmann::ordered_json;

std::string dumpJson(const Json& json) {
    // Never throws: bytes that are not UTF-8 (only possible from options) are replaced.
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string success(Json data) {
    Json answer;
    answer["errcode"] = 0;
    answer["msg"] = "";
    answer["data"] = std::move(data);
    return dumpJson(answer);
}

PostReply refused(std::string function, Refusal code, std::string_view message) {
    return {DrawService::refusalBody(code, message), std::move(function),
            "refused " + std::to_string(static_cast<int>(code))};
}

PostReply internalError(std::string function) {
    return refused(std::move(function), Refusal::Internal, "服务器内部错误");
}

// A count of draws: decimal digits only, 1 .. kMaxSelectCount.
std::optional<int> drawCount(std::string_view text) {
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxSelectCount) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

DrawService::DrawService(DrawStore& store, DrawSchedule schedule, const platform::TimeSource& time,
                         ServiceConfig config)
    : m_store(store),
      m_keeper(store, schedule),
      m_time(time),
      m_config(std::move(config)),
      m_keys(time, m_config.keyLimits) {}

std::string DrawService::refusalBody(Refusal code, std::string_view message) {
    Json answer;
    answer["errcode"] = static_cast<int>(code);
    answer["msg"] = std::string(message);
    answer["data"] = "";
    return dumpJson(answer);
}

std::int64_t DrawService::nowSeconds() const {
    const std::int64_t ms = m_time.unixMillis();
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

bool DrawService::catchUp(std::string& error) {
    return m_keeper.catchUp(nowSeconds(), error);
}

PostReply DrawService::handlePost(std::string_view body, const ClientId& client,
                                  const std::string& base) {
    if (body.size() > kMaxBodyBytes) {
        return refused("-", Refusal::TooLarge, "请求过大");
    }
    const auto data = formData(body);
    if (!data) {
        return refused("-", Refusal::BadRequest, "请求格式错误");
    }
    if (looksLikeHandshake(*data)) {
        if (!isHandshake(*data)) {
            return refused("handshake", Refusal::BadRequest, "请求格式错误");
        }
        const auto key = m_keys.issue(client);
        if (!key) {
            return internalError("handshake");
        }
        return {success(*key), "handshake", "ok"};
    }
    return call(*data, client, base);
}

PostReply DrawService::call(const std::string& data, const ClientId& client,
                            const std::string& base) {
    if (!isCallText(data)) {
        return refused("-", Refusal::BadRequest, "请求格式错误");
    }
    const std::string cipherBytes = codec::hexDecode(data);
    bool someKeyFits = false;
    std::optional<Envelope> envelope;
    const bool redeemed = m_keys.redeem(client, cipherBytes, [&](const std::string& key) {
        DecodeAttempt attempt = decodeWithKey(cipherBytes, key);
        someKeyFits = someKeyFits || attempt.keyFits;
        if (!attempt.envelope) {
            return false;
        }
        envelope = std::move(attempt.envelope);
        return true;
    });
    if (!redeemed) {
        if (someKeyFits) {
            return refused("-", Refusal::BadRequest, "请求格式错误");
        }
        return refused("-", Refusal::BadKey, "调用密钥无效或已过期");
    }
    std::string error;
    if (!catchUp(error)) {
        return internalError(envelope->funname);
    }
    if (envelope->funname == "init") {
        return init(*envelope, base);
    }
    if (envelope->funname == "newestdraw") {
        return newestDraw(*envelope);
    }
    if (envelope->funname == "select_draw") {
        return selectDraw(*envelope);
    }
    return refused("-", Refusal::UnknownFunction, "未知的功能");
}

PostReply DrawService::init(const Envelope& envelope, const std::string& base) {
    if (!envelope.param.empty()) {
        return refused("init", Refusal::BadArguments, "参数错误");
    }
    Json payload;
    payload["drawurl"] = base + "/draw.php";
    payload["newphase"] = base + "/newphase.txt";
    payload["advert1"] = base + "/advert.html";
    payload["version"] = m_config.announceVersion;
    payload["proupurl"] = base + "/download/" + codec::urlEscape(m_config.packageName);
    return {success(codec::encodeData(dumpJson(payload), envelope.rand)), "init", "ok"};
}

PostReply DrawService::newestDraw(const Envelope& envelope) {
    if (envelope.param.size() > 1) {
        return refused("newestdraw", Refusal::BadArguments, "参数错误");
    }
    std::vector<StoredDraw> newest;
    std::string error;
    if (!m_store.recent(1, newest, error)) {
        return internalError("newestdraw");
    }
    if (newest.empty()) {
        return refused("newestdraw", Refusal::NoDraws, "暂无开奖数据");
    }
    const StoredDraw& current = newest.front();
    const NextDraw next = m_keeper.nextAfter(current);
    constexpr std::string_view sep = "| |";
    std::string text;
    for (const std::string* part :
         {&current.prefix, &current.seq, &current.drawTime, &current.numbers}) {
        text += *part;
        text += sep;
    }
    text += std::to_string(current.seed);
    text += sep;
    text += next.issue.prefix;
    text += sep;
    text += next.issue.seq;
    text += sep;
    text += next.drawTime;
    Json payload;
    payload["data"] = text;
    return {success(codec::encodeData(dumpJson(payload), envelope.rand)), "newestdraw", "ok"};
}

PostReply DrawService::selectDraw(const Envelope& envelope) {
    if (envelope.param.size() != 2) {
        return refused("select_draw", Refusal::BadArguments, "参数错误");
    }
    const auto count = drawCount(envelope.param[1]);
    if (!count) {
        return refused("select_draw", Refusal::BadArguments, "参数错误：条数须为 1 至 1000");
    }
    std::vector<StoredDraw> draws;
    std::string error;
    if (!m_store.recent(*count, draws, error)) {
        return internalError("select_draw");
    }
    std::string rows;
    constexpr std::string_view sep = "|+|";
    for (const StoredDraw& draw : draws) {
        if (!rows.empty()) {
            rows += "\r\n";
        }
        rows += draw.prefix;
        rows += sep;
        rows += draw.seq;
        rows += sep;
        rows += draw.drawTime;
        rows += sep;
        rows += draw.numbers;
        rows += sep;
        rows += std::to_string(draw.seed);
    }
    Json inner;
    inner["data"] = rows;
    return {success(dumpJson(inner)), "select_draw", "ok"};
}

std::string DrawService::newestIssue() {
    std::string error;
    if (!catchUp(error)) {
        return {};
    }
    std::vector<StoredDraw> newest;
    if (!m_store.recent(1, newest, error) || newest.empty()) {
        return {};
    }
    return newest.front().issue();
}

}  // namespace quorsa::drawservice
