#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/time_source.h"

// The outstanding call keys of the handshake. A key is single-use, belongs to
// the client address that asked for it and expires after a minute. The table
// is bounded overall and per address; the oldest key goes first.
//
// A call carries no key id, so the key is found by trying the outstanding
// keys of the caller's address, the one issued on the same connection first.
// Each key keeps the first bytes of its RC4 key stream, so a wrong key is
// told apart by a few XORs (the right one must yield hex digits) before any
// full decoding is tried.
namespace quorsa::drawservice {

struct CallKeyLimits {
    std::size_t total = 16384;
    std::size_t perAddress = 128;
    std::int64_t lifetimeMillis = 60'000;
};

// Where a request came from: the address and the port of its connection.
struct ClientId {
    std::string address;
    int port = 0;
};

class CallKeyTable {
public:
    static constexpr std::size_t kStreamPrefix = 16;

    CallKeyTable(const platform::TimeSource& time, CallKeyLimits limits = {})
        : m_time(time), m_limits(limits) {}

    // A new key for `client`; nullopt when the secure generator fails.
    std::optional<std::string> issue(const ClientId& client);

    // Finds the outstanding key of `client` under which `accept` takes the
    // call (`cipherBytes` is the hex-decoded body, `accept` decodes it with a
    // candidate key) and uses it up. False when no key fits.
    bool redeem(const ClientId& client, std::string_view cipherBytes,
                const std::function<bool(const std::string& key)>& accept);

    std::size_t size() const;
    std::size_t sizeFor(const std::string& address) const;

private:
    struct Entry {
        std::string key;
        std::array<unsigned char, kStreamPrefix> stream{};
        std::string address;
        int port = 0;
        std::int64_t issuedAt = 0;
    };
    using Serial = std::uint64_t;

    void expire(std::int64_t now);
    void erase(Serial serial);

    const platform::TimeSource& m_time;
    CallKeyLimits m_limits;
    mutable std::mutex m_mutex;
    Serial m_nextSerial = 1;
    std::map<Serial, Entry> m_entries;                                 // oldest first
    std::unordered_map<std::string, std::vector<Serial>> m_byAddress;  // oldest first
};

}  // namespace quorsa::drawservice
