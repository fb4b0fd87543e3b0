#include <gtest/gtest.h>

#include "tests/platform_gui/qt_print.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "platform/gui/plan_text_box.h"

namespace quorsa::platform {
namespace {

const QString kPlan = QStringLiteral("001-003期 和值【单】 中\n004-006期 和值【双】 挂\n");

class PlanTextBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.setPlainText(kPlan);
        box.show();
        box.activateWindow();
        box.setFocus();
        QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
    }

    // Selects the first line's first `n` characters with the keyboard.
    void selectFromStart(int n) {
        QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < n; ++i) {
            QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
        }
    }

    PlanTextBox box;
};

TEST(PlanBoxCharFilter, OnlyCopyAndCutCodesSurviveAsCopy) {
    const struct {
        int code;
        int result;
    } cases[] = {{3, 3}, {24, 3}, {22, 0}, {8, 0}, {13, 0}, {26, 0}, {'a', 0}, {0x4E2D, 0}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(planBoxCharFilter(c.code), c.result) << c.code;
    }
}

TEST_F(PlanTextBoxTest, TypingAndEditingKeysChangeNothing) {
    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&box, QStringLiteral("abc 1"));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {Qt::Key_Backspace, Qt::NoModifier},
        {Qt::Key_Delete, Qt::NoModifier},
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Enter, Qt::KeypadModifier},
        {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_Backspace, Qt::ControlModifier},
    };
    for (const auto& k : keys) {
        QTest::keyClick(&box, k.key, k.modifiers);
        QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&box, k.key, k.modifiers);
    }
    selectFromStart(4);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.toPlainText(), kPlan);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("from elsewhere"));
}

TEST_F(PlanTextBoxTest, PasteDropAndInputMethodChangeNothing) {
    QMimeData mime;
    mime.setText(QStringLiteral("dropped"));
    const QPoint inside = box.viewport()->rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &enter);
    QDropEvent drop(QPointF(inside), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &drop);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("输入法"));
    QApplication::sendEvent(&box, &commit);

    box.paste();
    EXPECT_EQ(box.toPlainText(), kPlan);
}

TEST_F(PlanTextBoxTest, CtrlCAndCtrlXCopyTheSelectionAndChangeNothing) {
    selectFromStart(3);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("001"));

    selectFromStart(7);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("001-003"));
    EXPECT_EQ(box.toPlainText(), kPlan);
    EXPECT_EQ(box.textCursor().selectedText(), QStringLiteral("001-003"));

    // Navigation still works: Ctrl+A selects everything.
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), kPlan);
}

TEST_F(PlanTextBoxTest, RightButtonShowsNoMenu) {
    bool menuShown = false;
    // A menu would block in exec(); close it and note that it appeared.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    watcher.start(10);
    const QPoint inside = box.viewport()->rect().center();
    QTest::mouseClick(box.viewport(), Qt::RightButton, Qt::NoModifier, inside);
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, inside,
                              box.viewport()->mapToGlobal(inside));
    QApplication::sendEvent(box.viewport(), &byMouse);
    QContextMenuEvent byKey(QContextMenuEvent::Keyboard, inside,
                            box.viewport()->mapToGlobal(inside));
    QApplication::sendEvent(box.viewport(), &byKey);
    QTest::qWait(50);
    EXPECT_FALSE(menuShown);
    EXPECT_TRUE(box.findChildren<QMenu*>().isEmpty());
    EXPECT_EQ(box.toPlainText(), kPlan);
}

}  // namespace
}  // namespace quorsa::platform
