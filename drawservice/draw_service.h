#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drawservice/call_keys.h"
#include "drawservice/draw_keeper.h"
#include "drawservice/draw_schedule.h"
#include "drawservice/draw_store.h"
#include "drawservice/request_decoding.h"
#include "platform/time_source.h"

// The service side of the client protocol, without HTTP: the handshake, the
// functions "init", "newestdraw" and "select_draw", the newest issue text and
// the advert page. Safe to call from many threads at once.
namespace quorsa::drawservice {

// Refusal codes ("errcode"); 0 is success.
enum class Refusal : int {
    BadKey = 1001,
    BadRequest = 1002,
    UnknownFunction = 1003,
    BadArguments = 1004,
    TooLarge = 1005,
    NoDraws = 1006,
    Internal = 1500,
};

inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;
inline constexpr int kMaxSelectCount = 1000;

struct ServiceConfig {
    std::string announceVersion = "1.15";
    std::string packageName = "quorsa-client";  // served under /download/
    CallKeyLimits keyLimits;
};

// What a POST was and how it ended, for the answer and the log.
struct PostReply {
    std::string body;
    std::string function;  // "handshake", a funname, or "-"
    std::string outcome;   // "ok" or "refused <code>"
};

class DrawService {
public:
    DrawService(DrawStore& store, DrawSchedule schedule, const platform::TimeSource& time,
                ServiceConfig config = {});

    // `base` is "http://HOST:PORT" as the client reaches this service.
    PostReply handlePost(std::string_view body, const ClientId& client, const std::string& base);
    // prefix + seq of the newest draw; "" when there is none.
    std::string newestIssue();
    std::string advertPage(const std::string& base) const;

    // Draws every slot that has come; the ticker and every request call it.
    bool catchUp(std::string& error);
    std::int64_t nextDue() const { return m_keeper.nextDue(); }

    const ServiceConfig& config() const { return m_config; }
    CallKeyTable& keys() { return m_keys; }

    static std::string refusalBody(Refusal code, std::string_view message);

private:
    PostReply call(const std::string& data, const ClientId& client, const std::string& base);
    PostReply init(const Envelope& envelope, const std::string& base);
    PostReply newestDraw(const Envelope& envelope);
    PostReply selectDraw(const Envelope& envelope);
    std::int64_t nowSeconds() const;

    DrawStore& m_store;
    DrawKeeper m_keeper;
    const platform::TimeSource& m_time;
    ServiceConfig m_config;
    CallKeyTable m_keys;
};

}  // namespace quorsa::drawservice
