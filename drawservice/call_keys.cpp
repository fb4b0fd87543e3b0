#include "drawservice/call_keys.h"

#include <algorithm>

#include "drawservice/secure_random.h"
#include "service/codec/codec.h"

namespace quorsa::drawservice {
namespace {

bool isHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::optional<std::string> CallKeyTable::issue(const ClientId& client) {
    auto key = randomCallKey();
    if (!key) {
        return std::nullopt;
    }
    Entry entry;
    entry.key = *key;
    const std::string stream = codec::rc4(entry.key, std::string(kStreamPrefix, '\0'));
    std::copy(stream.begin(), stream.end(), entry.stream.begin());
    entry.address = client.address;
    entry.port = client.port;

    std::lock_guard lock(m_mutex);
    const std::int64_t now = m_time.unixMillis();
    entry.issuedAt = now;
    expire(now);
    for (;;) {
        const auto own = m_byAddress.find(client.address);
        if (own == m_byAddress.end() || own->second.size() < m_limits.perAddress) {
            break;
        }
        erase(own->second.front());
    }
    while (m_entries.size() >= m_limits.total && !m_entries.empty()) {
        erase(m_entries.begin()->first);
    }
    const Serial serial = m_nextSerial++;
    m_entries.emplace(serial, std::move(entry));
    m_byAddress[client.address].push_back(serial);
    return key;
}

bool CallKeyTable::redeem(const ClientId& client, std::string_view cipherBytes,
                          const std::function<bool(const std::string& key)>& accept) {
    struct Candidate {
        Serial serial;
        std::string key;
    };
    std::vector<Candidate> candidates;
    {
        std::lock_guard lock(m_mutex);
        expire(m_time.unixMillis());
        const auto found = m_byAddress.find(client.address);
        if (found == m_byAddress.end()) {
            return false;
        }
        const std::size_t checked = std::min(cipherBytes.size(), kStreamPrefix);
        auto plausible = [&](const Entry& entry) {
            for (std::size_t i = 0; i < checked; ++i) {
                if (!isHexDigit(static_cast<unsigned char>(cipherBytes[i]) ^ entry.stream[i])) {
                    return false;
                }
            }
            return true;
        };
        // Newest first, the same connection's keys before the others.
        for (int pass = 0; pass < 2; ++pass) {
            for (auto it = found->second.rbegin(); it != found->second.rend(); ++it) {
                const Entry& entry = m_entries.at(*it);
                if ((entry.port == client.port) == (pass == 0) && plausible(entry)) {
                    candidates.push_back({*it, entry.key});
                }
            }
        }
    }
    for (const Candidate& candidate : candidates) {
        if (!accept(candidate.key)) {
            continue;
        }
        std::lock_guard lock(m_mutex);
        if (m_entries.count(candidate.serial) == 0) {
            return false;  // used by a concurrent call, or gone meanwhile
        }
        erase(candidate.serial);
        return true;
    }
    return false;
}

std::size_t CallKeyTable::size() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

std::size_t CallKeyTable::sizeFor(const std::string& address) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_byAddress.find(address);
    return found == m_byAddress.end() ? 0 : found->second.size();
}

void CallKeyTable::expire(std::int64_t now) {
    while (!m_entries.empty() &&
           now - m_entries.begin()->second.issuedAt >= m_limits.lifetimeMillis) {
        erase(m_entries.begin()->first);
    }
}

void CallKeyTable::erase(Serial serial) {
    const auto found = m_entries.find(serial);
    if (found == m_entries.end()) {
        return;
    }
    const auto own = m_byAddress.find(found->second.address);
    if (own != m_byAddress.end()) {
        auto& serials = own->second;
        serials.erase(std::remove(serials.begin(), serials.end(), serial), serials.end());
        if (serials.empty()) {
            m_byAddress.erase(own);
        }
    }
    m_entries.erase(found);
}

}  // namespace quorsa::drawservice
