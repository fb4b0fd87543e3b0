#include "platform/gui/plan_text_box.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>

namespace quorsa::platform {

namespace {

constexpr int kCopyCode = 3;
constexpr int kCutCode = 24;

// Keys that only move the caret or the selection; everything else is editing.
bool isNavigation(const QKeyEvent* event) {
    static const QKeySequence::StandardKey kinds[] = {
        QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord,
        QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToNextLine,
        QKeySequence::MoveToPreviousLine,
        QKeySequence::MoveToNextPage,
        QKeySequence::MoveToPreviousPage,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock,
        QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument,
        QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord,
        QKeySequence::SelectPreviousWord,
        QKeySequence::SelectNextLine,
        QKeySequence::SelectPreviousLine,
        QKeySequence::SelectNextPage,
        QKeySequence::SelectPreviousPage,
        QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument,
        QKeySequence::SelectEndOfDocument,
        QKeySequence::SelectAll,
    };
    for (const auto kind : kinds) {
        if (event->matches(kind)) {
            return true;
        }
    }
    return false;
}

// The character code the key would type, with Ctrl+letter as its control code.
int charCode(const QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        return event->key() - Qt::Key_A + 1;
    }
    const QString text = event->text();
    return text.isEmpty() ? 0 : static_cast<int>(text.at(0).unicode());
}

}  // namespace

int planBoxCharFilter(int code) {
    return code == kCopyCode || code == kCutCode ? kCopyCode : 0;
}

PlanTextBox::PlanTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    // Read-only as well, so no path we do not filter (drag-move out of the box,
    // middle-button paste, undo) can change the text either.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void PlanTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        planBoxCharFilter(charCode(event)) == kCopyCode) {
        copy();
        event->accept();
        return;
    }
    if (isNavigation(event)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PlanTextBox::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
}

void PlanTextBox::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

void PlanTextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

bool PlanTextBox::canInsertFromMimeData(const QMimeData*) const {
    return false;
}

void PlanTextBox::insertFromMimeData(const QMimeData*) {}

void PlanTextBox::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
}

void PlanTextBox::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}

void PlanTextBox::dropEvent(QDropEvent* event) {
    event->ignore();
}

}  // namespace quorsa::platform
