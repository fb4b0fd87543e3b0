#include <cstdint>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "drawservice/draw_service.h"
#include "drawservice/request_decoding.h"
#include "drawservice/wall_clock.h"
#include "service/codec/codec.h"

using namespace quorsa::drawservice;

namespace {

struct Harness {
    WallClock clock;
    std::unique_ptr<DrawStore> store;
    std::unique_ptr<DrawService> service;
    Harness() {
        std::string error;
        store = DrawStore::open(":memory:", error);
        if (!store) {
            std::abort();
        }
        service = std::make_unique<DrawService>(*store, DrawSchedule::real(), clock);
    }
};

const ClientId kClient{"127.0.0.1", 1};

}  // namespace

// First byte 0: the rest is an envelope text that a client encodes with a
// fresh key; the server must read it back exactly when it is a valid
// envelope. Otherwise the input is a raw request body; whatever it is, the
// answer is a JSON object with a numeric errcode.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness harness;
    if (size < 1) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] == 0) {
        const auto key = harness.service->keys().issue(kClient);
        const std::string body = "DATA=" + quorsa::codec::encodeBody(
                                               quorsa::codec::urlEscape(rest), *key);
        const auto value = formData(body);
        const std::string cipher = quorsa::codec::hexDecode(*value);
        std::optional<Envelope> decoded;
        const bool redeemed =
            harness.service->keys().redeem(kClient, cipher, [&](const std::string& candidate) {
                decoded = decodeWithKey(cipher, candidate).envelope;
                return decoded.has_value();
            });
        const auto direct = parseEnvelope(rest);
        if (redeemed != direct.has_value() ||
            (direct && (decoded->funname != direct->funname || decoded->param != direct->param ||
                        decoded->rand != direct->rand))) {
            std::abort();
        }
        return 0;
    }
    const PostReply reply = harness.service->handlePost(rest, kClient, "http://127.0.0.1:1");
    const auto answer = nlohmann::json::parse(reply.body, nullptr, false);
    if (!answer.is_object() || !answer.contains("errcode") ||
        !answer["errcode"].is_number_integer()) {
        std::abort();
    }
    return 0;
}
