#include "draws/status_window.h"

namespace quorsa::draws {

bool StatusWindow::show(const std::string& message) {
    if (m_port->isLoaded())
        return false;
    m_port->load(message);
    m_port->processPendingEvents();
    return true;
}

bool StatusWindow::close() {
    if (!m_port->isLoaded())
        return false;
    m_port->destroy();
    return true;
}

}  // namespace quorsa::draws
