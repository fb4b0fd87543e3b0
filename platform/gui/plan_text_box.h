#pragma once

#include <QPlainTextEdit>

namespace quorsa::platform {

// What a typed character does in the plan box: 3 (copy) for Ctrl+C (3) and for
// Ctrl+X (24, so cutting only copies), 0 (discard) for every other code.
int planBoxCharFilter(int code);

// The plan text box: the user can move, select and copy, never change the text.
// Ctrl+X copies instead of cutting; typing, Backspace, Delete, Enter, paste,
// drops and input methods change nothing; there is no context menu. The
// program itself still sets the text.
class PlanTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlanTextBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace quorsa::platform
