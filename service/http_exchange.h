#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorsa::service {

// Header name and value, sent in the order given.
using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

// A synchronous HTTP exchange. Both calls return the answer body, or empty
// bytes when no answer came (no connection, time-out).
class HttpExchange {
public:
    virtual ~HttpExchange() = default;
    // The body is returned whatever the HTTP status.
    virtual std::string post(const std::string& url, const HttpHeaders& headers,
                             const std::string& body) = 0;
    // A plain GET with "Accept: */*"; only a 2xx answer yields a body.
    virtual std::string get(const std::string& url) = 0;
};

}  // namespace quorsa::service
