#include <gtest/gtest.h>

#include "tests/platform_gui/qt_print.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <optional>

#include "platform/gui/artwork.h"
#include "platform/gui/controls.h"
#include "platform/gui/main_form.h"
#include "platform/gui/status_form.h"
#include "platform/gui/url_opener.h"

namespace quorsa::platform {
namespace {

struct FontSpec {
    const char* face;
    int pixels;
    bool bold;
};

struct ControlCase {
    const char* name;
    const char* parent;  // nullptr: the form itself
    QRect geometry;
    const char* text;  // nullptr: no text to check
    std::optional<FontSpec> font;
    std::optional<QColor> color;
};

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const FontSpec kYahei14{"微软雅黑", 14, false};
const FontSpec kHei12Bold{"黑体", 12, true};

const ControlCase kMainControls[] = {
    {"透明标签_窗口标题", nullptr, {9, 4, 806, 24}, "", FontSpec{"微软雅黑", 16, true}, kWhite},
    {"图形按钮2", nullptr, {944, 0, 28, 33}, nullptr, {}, {}},
    {"图形按钮1", nullptr, {972, 0, 28, 33}, nullptr, {}, {}},
    {"透明标签1", nullptr, {7, 37, 83, 32}, "实时开奖", kYahei14, kWhite},
    {"透明标签_当前期号", nullptr, {14, 108, 154, 16}, "当前期号:00000000-00", kYahei14, kBlack},
    {"透明标签_开奖1", nullptr, {193, 99, 27, 28}, "0", FontSpec{"微软雅黑", 32, true}, kWhite},
    {"透明标签_开奖2", nullptr, {253, 99, 27, 28}, "0", FontSpec{"微软雅黑", 32, true}, kWhite},
    {"透明标签_开奖3", nullptr, {313, 99, 27, 28}, "0", FontSpec{"微软雅黑", 32, true}, kWhite},
    {"透明标签_开奖4", nullptr, {373, 99, 27, 28}, "0", FontSpec{"微软雅黑", 32, true}, kWhite},
    {"透明标签_开奖5", nullptr, {433, 99, 27, 28}, "0", FontSpec{"微软雅黑", 32, true}, kWhite},
    {"图片框1", nullptr, {235, 90, 56, 54}, nullptr, {}, {}},
    {"图片框2", nullptr, {358, 91, 56, 54}, nullptr, {}, {}},
    {"透明标签17", nullptr, {50, 170, 115, 16}, "开奖剩余时间：", kYahei14, kBlack},
    {"透明标签_开奖时间",
     nullptr,
     {184, 166, 152, 24},
     "00：00：00",
     FontSpec{"微软雅黑", 19, true},
     QColor(0, 136, 255)},
    {"编辑框_计划", nullptr, {5, 222, 530, 488}, "", {}, {}},
    {"透明标签7",
     nullptr,
     {343, 231, 77, 24},
     "公式期数设置",
     FontSpec{"微软雅黑", 12, true},
     kBlack},
    {"组合框_公式期数", nullptr, {420, 232, 40, 20}, nullptr, {}, {}},
    {"超级按钮_期数切换", nullptr, {459, 227, 57, 31}, "切换", kHei12Bold, {}},
    {"画板1", nullptr, {5, 272, 531, 60}, nullptr, {}, {}},
    {"多功能条1", "画板1", {19, 24, 368, 16}, nullptr, {}, {}},
    {"编辑框_注数", "画板1", {392, 23, 32, 19}, "25", {}, {}},
    {"透明标签5", "画板1", {443, 22, 17, 20}, "注", {}, {}},
    {"按钮_修改注数", "画板1", {457, 22, 60, 20}, "确认修改", {}, {}},
    {"超级按钮_清理计划", nullptr, {184, 710, 146, 34}, "清理计划并重新获取", kHei12Bold, {}},
    {"超级按钮_复制", nullptr, {457, 711, 57, 31}, "复制", kHei12Bold, {}},
    {"透明标签2", nullptr, {546, 37, 182, 32}, "历史开奖", kYahei14, kWhite},
    {"标签1", nullptr, {546, 69, 180, 25}, "     开奖期号        开奖号", {}, {}},
    {"超级列表框_历史开奖", nullptr, {546, 93, 180, 652}, nullptr, {}, {}},
    {"超文本浏览框1", nullptr, {736, 42, 259, 702}, nullptr, {}, {}},
};

QString textOf(QWidget* widget) {
    if (auto* label = qobject_cast<TransparentLabel*>(widget)) {
        return label->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        return edit->toPlainText();
    }
    return QStringLiteral("<no text>");
}

void expectFont(const QFont& font, const FontSpec& spec) {
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().front(), QString::fromUtf8(spec.face));
    // Chinese must render where the named face is missing.
    EXPECT_TRUE(font.families().contains(QStringLiteral("Noto Sans CJK SC")));
    EXPECT_EQ(font.pixelSize(), spec.pixels);
    EXPECT_EQ(font.weight(), spec.bold ? QFont::Bold : QFont::Normal);
}

class MainFormTest : public ::testing::Test {
protected:
    UrlOpener opener{[](const QUrl&) { return true; }};
    MainForm form{opener};
};

TEST_F(MainFormTest, EveryControlAtItsPlaceWithItsTextFontAndColour) {
    for (const auto& c : kMainControls) {
        SCOPED_TRACE(c.name);
        auto* widget = form.control<QWidget>(QString::fromUtf8(c.name));
        ASSERT_NE(widget, nullptr);
        QWidget* parent = c.parent == nullptr ? static_cast<QWidget*>(&form)
                                              : form.control<QWidget>(QString::fromUtf8(c.parent));
        EXPECT_EQ(widget->parentWidget(), parent);
        EXPECT_EQ(widget->geometry(), c.geometry);
        if (c.text != nullptr) {
            EXPECT_EQ(textOf(widget), QString::fromUtf8(c.text));
        }
        if (c.font) {
            expectFont(widget->font(), *c.font);
        }
        if (c.color) {
            auto* label = qobject_cast<TransparentLabel*>(widget);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->color(), *c.color);
        }
    }
}

TEST_F(MainFormTest, WindowListTimerAndPanelAsTheFormHasThem) {
    EXPECT_EQ(form.size(), QSize(1000, 749));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.background().size(), QSize(1000, 782));

    auto* list = form.control<QTreeWidget>(QStringLiteral("超级列表框_历史开奖"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("开奖期号"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("开奖号"));
    EXPECT_EQ(list->columnWidth(0), 85);
    EXPECT_EQ(list->columnWidth(1), 77);
    EXPECT_TRUE(list->isHeaderHidden());
    EXPECT_EQ(list->topLevelItemCount(), 0);

    auto* combo = form.control<QComboBox>(QStringLiteral("组合框_公式期数"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("3"));

    auto* timer = form.findChild<QTimer*>(QStringLiteral("时钟_剩余开奖时间"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 0);
    EXPECT_FALSE(timer->isActive());

    EXPECT_NE(form.findChild<BalloonTip*>(QStringLiteral("气球提示框1")), nullptr);
    EXPECT_NE(form.control<HtmlView>(QStringLiteral("超文本浏览框1")), nullptr);
    EXPECT_NE(form.control<PlanTextBox>(QStringLiteral("编辑框_计划")), nullptr);
    EXPECT_NE(form.control<ImageSlider>(QStringLiteral("多功能条1")), nullptr);
    EXPECT_FALSE(form.betCountPanel()->isVisibleTo(&form));
    EXPECT_TRUE(form.betCountSlider()->isVisibleTo(form.betCountPanel()));
}

TEST_F(MainFormTest, StackingShowsThreeDigitsAndKeepsPeriodControlsOverThePlanBox) {
    // The picture boxes lie over the comma labels; the digits are uncovered.
    EXPECT_EQ(form.childAt(form.drawLabel(2)->geometry().center())->objectName(),
              QStringLiteral("图片框1"));
    EXPECT_EQ(form.childAt(form.drawLabel(4)->geometry().center())->objectName(),
              QStringLiteral("图片框2"));
    for (int i : {1, 3, 5}) {
        EXPECT_EQ(form.childAt(form.drawLabel(i)->geometry().center()), form.drawLabel(i));
    }
    for (const char* name : {"透明标签7", "组合框_公式期数", "超级按钮_期数切换"}) {
        SCOPED_TRACE(name);
        auto* control = form.control<QWidget>(QString::fromUtf8(name));
        QWidget* hit = form.childAt(control->geometry().center());
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(hit == control || control->isAncestorOf(hit));
    }
}

double luminance(QRgb pixel) {
    return (0.2126 * qRed(pixel) + 0.7152 * qGreen(pixel) + 0.0722 * qBlue(pixel)) / 255.0;
}

// The transparent labels must stay readable on the artwork under them.
TEST_F(MainFormTest, LabelColoursContrastWithTheBackgroundUnderThem) {
    const QImage background = form.background().toImage();
    const QImage betBackground = renderArtwork(art::kBackgroundBetCount, {1000, 782}).toImage();
    for (const QImage& image : {background, betBackground}) {
        for (auto* label : form.findChildren<TransparentLabel*>()) {
            if (label->parentWidget() != &form || label == form.drawLabel(2) ||
                label == form.drawLabel(4)) {
                continue;  // on the panel, or hidden under a picture box
            }
            SCOPED_TRACE(label->objectName().toStdString());
            double sum = 0;
            int count = 0;
            const QRect area = label->geometry();
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    sum += luminance(image.pixel(x, y));
                    ++count;
                }
            }
            const double under = sum / count;
            EXPECT_GT(std::abs(under - luminance(label->color().rgb())), 0.45) << under;
        }
    }
}

TEST_F(MainFormTest, ButtonsOnlyEmitClicked) {
    form.show();
    for (auto* button : {static_cast<QAbstractButton*>(form.minimiseButton()),
                         static_cast<QAbstractButton*>(form.closeButton()),
                         static_cast<QAbstractButton*>(form.periodSwitchButton()),
                         static_cast<QAbstractButton*>(form.clearPlanButton()),
                         static_cast<QAbstractButton*>(form.copyButton())}) {
        SCOPED_TRACE(button->objectName().toStdString());
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        button->click();
        EXPECT_EQ(clicked.count(), 1);
    }
    // Minimising and closing are the receiver's business.
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());
}

TEST_F(MainFormTest, DraggingTheBackgroundMovesTheWindow) {
    form.move(100, 100);
    form.show();
    const QPoint start = form.pos();
    // Pressed on the title label, which hands the press on to the window.
    const QPoint grip(500, 20);
    const QPoint globalGrip = form.mapToGlobal(grip);
    ASSERT_EQ(form.childAt(grip), form.titleLabel());
    QMouseEvent press(QEvent::MouseButtonPress, form.titleLabel()->mapFrom(&form, grip), globalGrip,
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.titleLabel(), &press);
    QMouseEvent drag(QEvent::MouseMove, grip + QPoint(30, 40), globalGrip + QPoint(30, 40),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, grip + QPoint(30, 40),
                        globalGrip + QPoint(30, 40), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &release);
    EXPECT_EQ(form.pos(), start + QPoint(30, 40));
}

TEST(ArtworkTest, EveryPictureRendersAtItsSize) {
    const struct {
        const char* name;
        QSize size;
    } pictures[] = {
        {art::kBackground, {1000, 782}},
        {art::kBackgroundBetCount, {1000, 782}},
        {art::kMinimiseNormal, {28, 33}},
        {art::kMinimiseHot, {28, 33}},
        {art::kMinimisePressed, {28, 33}},
        {art::kCloseNormal, {28, 33}},
        {art::kCloseHot, {28, 33}},
        {art::kClosePressed, {28, 33}},
        {art::kSmallButtonNormal, {60, 33}},
        {art::kSmallButtonHot, {60, 33}},
        {art::kWideButtonNormal, {146, 36}},
        {art::kWideButtonHot, {146, 36}},
        {art::kSliderBar, {200, 32}},
        {art::kSliderThumb, {68, 34}},
        {art::kBusy, {377, 126}},
        {art::kBusyPacket, {14, 14}},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        const QImage image = renderArtwork(p.name, p.size).toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), p.size);
        // Something is drawn: not every pixel is the same.
        bool varies = false;
        const QRgb first = image.pixel(0, 0);
        for (int y = 0; y < image.height() && !varies; ++y) {
            for (int x = 0; x < image.width() && !varies; ++x) {
                varies = image.pixel(x, y) != first;
            }
        }
        EXPECT_TRUE(varies);
    }
    EXPECT_TRUE(renderArtwork("no_such_picture", {10, 10}).isNull());
}

TEST(StatusFormTest, ControlsAndCloseRequest) {
    StatusForm form;
    EXPECT_EQ(form.size(), QSize(300, 184));
    auto* busy = form.findChild<BusyAnimation*>(QStringLiteral("图片框1"));
    ASSERT_NE(busy, nullptr);
    EXPECT_EQ(busy->geometry(), QRect(0, 51, 300, 93));
    auto* label = form.findChild<QLabel*>(QStringLiteral("标签1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(0, 144, 300, 40));
    EXPECT_EQ(label->text(), QStringLiteral("正在获取网络数据,请稍后……"));
    expectFont(label->font(), {"微软雅黑", 19, true});
    form.setMessage(QStringLiteral("正在连接服务器……"));
    EXPECT_EQ(label->text(), QStringLiteral("正在连接服务器……"));

    form.show();
    EXPECT_TRUE(busy->isRunning());
    QSignalSpy requested(&form, &StatusForm::closeRequested);
    form.close();
    EXPECT_EQ(requested.count(), 1);
    EXPECT_TRUE(form.isVisible());  // the receiver decides

    form.dismiss();
    EXPECT_EQ(requested.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(busy->isRunning());
}

}  // namespace
}  // namespace quorsa::platform
