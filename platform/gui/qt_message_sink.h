#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/messages.h"

namespace quorsa::platform {

// Message boxes shown with QMessageBox, over `parent` when it is given. An
// empty caption means the default one: the parent's window title, else the
// application's display name.
class QtMessageSink final : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }
    QString captionFor(const std::string& caption) const;

    void information(const std::string& text, const std::string& caption) override;
    bool confirm(const std::string& text, const std::string& caption) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace quorsa::platform
