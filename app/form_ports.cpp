#include "app/form_ports.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include "platform/gui/controls.h"

namespace quorsa::app {

namespace {

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

std::string MainFormPort::controlText(std::string_view name) const {
    if (m_form == nullptr)
        return {};
    QObject* control = m_form->findChild<QObject*>(qs(name));
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        text = combo->currentText();
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        text = edit->text();
    } else if (auto* label = qobject_cast<platform::TransparentLabel*>(control)) {
        text = label->text();
    } else if (auto* plain = qobject_cast<QLabel*>(control)) {
        text = plain->text();
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        text = box->toPlainText();
    }
    return text.toStdString();
}

void MainFormPort::setControlText(std::string_view name, const std::string& text) {
    if (m_form == nullptr)
        return;
    QObject* control = m_form->findChild<QObject*>(qs(name));
    if (auto* label = qobject_cast<platform::TransparentLabel*>(control)) {
        label->setText(qs(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(qs(text));
    } else if (auto* plain = qobject_cast<QLabel*>(control)) {
        plain->setText(qs(text));
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        box->setPlainText(qs(text));
    }
}

void MainFormPort::insertHistoryRow(const std::string& issue, const std::string& numbers) {
    if (m_form == nullptr)
        return;
    auto* row = new QTreeWidgetItem;
    row->setText(0, qs(issue));
    m_form->historyList()->insertTopLevelItem(0, row);
    m_form->historyList()->topLevelItem(0)->setText(1, qs(numbers));
}

void MainFormPort::setTimerInterval(int millis) {
    if (m_form == nullptr)
        return;
    QTimer* timer = m_form->countdownTimer();
    if (millis <= 0) {
        timer->stop();
        timer->setInterval(0);
    } else {
        timer->start(millis);
    }
}

void MainFormPort::setWebPanelAddress(const std::string& address) {
    if (m_form == nullptr)
        return;
    m_form->webView()->setUrl(QUrl(qs(address)));
}

void MainFormPort::processPendingEvents() {
    QCoreApplication::processEvents();
}

void MainFormPort::setText(const std::string& text) {
    if (m_form == nullptr)
        return;
    m_form->planBox()->setPlainText(qs(text));
}

void MainFormPort::moveCaretToEnd() {
    if (m_form == nullptr)
        return;
    platform::PlanTextBox* box = m_form->planBox();
    box->moveCursor(QTextCursor::End);
    box->ensureCursorVisible();
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
}

void StatusFormPort::load(const std::string& message) {
    m_form = std::make_unique<platform::StatusForm>();
    QObject::connect(m_form.get(), &platform::StatusForm::closeRequested, [this] {
        if (m_onCloseRequested)
            m_onCloseRequested();
    });
    m_form->setMessage(qs(message));
    m_form->show();
}

void StatusFormPort::destroy() {
    m_form.reset();
}

void StatusFormPort::processPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace quorsa::app
