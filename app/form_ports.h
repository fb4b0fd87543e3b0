#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "draws/status_window.h"
#include "platform/gui/main_form.h"
#include "platform/gui/status_form.h"

namespace quorsa::app {

// The main form as the draw logic sees it. Created before the form exists and
// attached to it when the window opens; until then writes go nowhere.
class MainFormPort final : public draws::WindowPort, public draws::PlanBoxPort {
public:
    void attach(platform::MainForm* form) { m_form = form; }
    platform::MainForm* form() const { return m_form; }

    std::string controlText(std::string_view name) const override;
    void setControlText(std::string_view name, const std::string& text) override;
    void insertHistoryRow(const std::string& issue, const std::string& numbers) override;
    void setTimerInterval(int millis) override;
    void setWebPanelAddress(const std::string& address) override;
    void processPendingEvents() override;

    void setText(const std::string& text) override;
    void moveCaretToEnd() override;

private:
    QPointer<platform::MainForm> m_form;
};

// The status form, loaded and destroyed on demand.
class StatusFormPort final : public draws::StatusPort {
public:
    // Called when the user asks to close the status window.
    explicit StatusFormPort(std::function<void()> onCloseRequested)
        : m_onCloseRequested(std::move(onCloseRequested)) {}

    bool isLoaded() const override { return m_form != nullptr; }
    void load(const std::string& message) override;
    void destroy() override;
    void processPendingEvents() override;

    platform::StatusForm* form() const { return m_form.get(); }

private:
    std::function<void()> m_onCloseRequested;
    std::unique_ptr<platform::StatusForm> m_form;
};

}  // namespace quorsa::app
