#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/time_source.h"
#include "service/http_exchange.h"
#include "service/json_value.h"
#include "service/service_transport.h"

namespace quorsa::service {

// What the "init" answer tells about the service.
struct InitRecord {
    std::string drawurl;
    std::string newphase;
    std::string advert1;
    std::string version;
    std::string proupurl;
    bool operator==(const InitRecord&) const = default;
};

// Rows by columns, filled row by row.
using DrawTable = std::vector<std::vector<std::string>>;

// The "select_draw" payload to a table; false (table untouched) for "".
bool parseDrawTable(std::string_view text, DrawTable& table);

// The rows of a "select_draw" answer: the inner "data" string of the JSON text
// that the envelope's "data" string holds, with line breaks escaped twice
// restored. False when the answer does not have that shape.
bool selectDrawRows(std::string_view rawText, std::string& rows);

// The one object through which the program talks to the service.
class ServiceClient {
public:
    ServiceClient(HttpExchange& http, const platform::TimeSource& time)
        : m_http(&http), m_drawTransport(http, time), m_time(&time) {}

    bool connect(const std::string& serviceUrl, std::int32_t applicationId);
    std::string lastError() const { return m_lastErrorText; }
    InitRecord initRecord() const { return m_record; }
    // The newest draw text split at "| |"; true when it has a part.
    bool newestDraws(std::vector<std::string>& parts);
    bool recentDraws(std::int32_t count, DrawTable& table);
    // The newest issue number, or "".
    std::string newestIssue();

    void setSessionValue(std::string value) { m_sessionValue = std::move(value); }

private:
    HttpExchange* m_http;
    std::string m_sessionValue;
    std::string m_lastErrorText;
    ServiceTransport m_drawTransport;
    ServiceAnswer m_initAnswer;
    ServiceAnswer m_drawAnswer;
    std::string m_newestIssueUrl;
    InitRecord m_record;
    const platform::TimeSource* m_time;
};

}  // namespace quorsa::service
