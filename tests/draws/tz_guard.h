#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace quorsa::testing {

// Sets the machine's zone for one scope and restores it afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_saved = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (m_saved) {
            setenv("TZ", m_saved->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    std::optional<std::string> m_saved;
};

// POSIX zone strings, so no time zone database is needed.
inline constexpr const char* kZones[] = {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "CST-8", "NPT-5:45",
                                         "LHST-10:30LHDT-11,M10.1.0,M4.1.0"};

}  // namespace quorsa::testing
