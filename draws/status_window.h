#pragma once

#include <string>

namespace quorsa::draws {

// The small wait window as the logic sees it.
class StatusPort {
public:
    virtual ~StatusPort() = default;
    virtual bool isLoaded() const = 0;
    // Loads the window (not modal) with `message` in its label.
    virtual void load(const std::string& message) = 0;
    virtual void destroy() = 0;
    virtual void processPendingEvents() = 0;
};

// Opens and closes the wait window shown while the service is contacted.
class StatusWindow {
public:
    explicit StatusWindow(StatusPort& port) : m_port(&port) {}

    // False, changing nothing, when the window is already open.
    bool show(const std::string& message);
    // False when it is not open.
    bool close();

private:
    StatusPort* m_port;
};

}  // namespace quorsa::draws
