#include <gtest/gtest.h>

#include "tests/platform_gui/qt_print.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/gui/balloon_tip.h"
#include "platform/gui/controls.h"
#include "platform/gui/qt_message_sink.h"

namespace quorsa::platform {
namespace {

TEST(ImageSliderTest, KeepsThePositionInRangeAndAnnouncesIt) {
    ImageSlider slider;
    slider.setGeometry(0, 0, 368, 16);
    QSignalSpy moved(&slider, &ImageSlider::positionChanged);
    slider.setRange(10, 50);
    EXPECT_EQ(slider.position(), 10);  // 0 was below the new range
    slider.setPosition(99);
    EXPECT_EQ(slider.position(), 50);
    slider.setPosition(50);  // unchanged, still announced
    slider.setPosition(-5);
    EXPECT_EQ(slider.position(), 10);
    ASSERT_EQ(moved.count(), 4);
    EXPECT_EQ(moved.at(1).front().toInt(), 50);
    EXPECT_EQ(moved.at(3).front().toInt(), 10);

    slider.show();
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(367, 8));
    EXPECT_EQ(slider.position(), 50);
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(184, 8));
    EXPECT_NEAR(slider.position(), 30, 1);
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(0, 8));
    EXPECT_EQ(slider.position(), 10);
}

TEST(BalloonTipTest, PointsAtTheGivenScreenPosition) {
    BalloonTip tip;
    const QPoint target(600, 500);
    tip.showAt(target, QStringLiteral("已复制到剪辑版"));
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.text(), QStringLiteral("已复制到剪辑版"));
    EXPECT_EQ(tip.target(), target);
    // The balloon sits above the point, its pointer's tip on it.
    EXPECT_EQ(tip.geometry().bottom() + 1, target.y());
    EXPECT_LT(tip.geometry().left(), target.x());
    EXPECT_GT(tip.geometry().right(), target.x());
}

// Answers the next message box with `button` and records what it showed.
struct BoxAnswer {
    QString caption;
    QString text;
    int buttons = 0;
};

void answerNextBox(QMessageBox::StandardButton button, BoxAnswer& seen) {
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.buttons = static_cast<int>(box->standardButtons());
        box->button(button)->click();
    });
}

TEST(QtMessageSinkTest, InformationAndConfirmBoxes) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quorsa江苏快三平刷和值单双"));
    QtMessageSink sink(&window);
    BoxAnswer seen;

    answerNextBox(QMessageBox::Ok, seen);
    sink.information("清理成功！计划已经重新获取。", std::string(kInfoCaption));
    EXPECT_EQ(seen.caption, QStringLiteral("信息："));
    EXPECT_EQ(seen.text, QStringLiteral("清理成功！计划已经重新获取。"));
    EXPECT_EQ(seen.buttons, static_cast<int>(QMessageBox::Ok));

    answerNextBox(QMessageBox::Ok, seen);
    sink.information("获取网络开奖数据失败！", "");
    EXPECT_EQ(seen.caption, window.windowTitle());

    answerNextBox(QMessageBox::Ok, seen);
    EXPECT_TRUE(sink.confirm("已经更新至1.2", ""));
    EXPECT_EQ(seen.buttons, static_cast<int>(QMessageBox::Ok | QMessageBox::Cancel));
    EXPECT_EQ(seen.caption, window.windowTitle());

    answerNextBox(QMessageBox::Cancel, seen);
    EXPECT_FALSE(sink.confirm("已经更新至1.2", "信息："));
}

}  // namespace
}  // namespace quorsa::platform
