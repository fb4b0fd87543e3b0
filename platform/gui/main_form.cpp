#include "platform/gui/main_form.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QIntValidator>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWindow>

#include "platform/gui/artwork.h"
#include "platform/gui/fonts.h"

namespace quorsa::platform {

namespace {

const QString kYahei = QStringLiteral("微软雅黑");
const QString kHei = QStringLiteral("黑体");
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kCountdownBlue(0, 136, 255);

// The issue centred and the numbers set left, so both sit under their words in
// the header line above the list.
class HistoryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment =
            (index.column() == 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
    }
};

// Slim scroll bars in the artwork's colours for the plan box and the history.
const QString kScrollBarStyle = QStringLiteral(
    "QScrollBar:vertical { background: #eef2f7; width: 11px; margin: 0; }"
    "QScrollBar::handle:vertical { background: #b9c5d6; min-height: 28px; border-radius: 3px;"
    " margin: 2px; }"
    "QScrollBar::handle:vertical:hover { background: #8a9cb6; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");

template <typename T>
T* place(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

TransparentLabel* label(QWidget* parent, const char* name, QRect geometry, const char* text,
                        const QFont& font, const QColor& color) {
    auto* widget = place<TransparentLabel>(parent, name, geometry);
    widget->setText(QString::fromUtf8(text));
    widget->setFont(font);
    widget->setColor(color);
    return widget;
}

SuperButton* superButton(QWidget* parent, const char* name, QRect geometry, const char* caption,
                         bool wide) {
    auto* button = place<SuperButton>(parent, name, geometry);
    button->setText(QString::fromUtf8(caption));
    button->setFont(formFont(kHei, 12, true));
    if (wide) {
        button->setImages(renderArtwork(art::kWideButtonNormal, {146, 36}),
                          renderArtwork(art::kWideButtonHot, {146, 36}));
    } else {
        button->setImages(renderArtwork(art::kSmallButtonNormal, {60, 33}),
                          renderArtwork(art::kSmallButtonHot, {60, 33}));
    }
    return button;
}

}  // namespace

MainForm::MainForm(const UrlOpener& opener, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("MainForm"));
    setFixedSize(kWidth, kHeight);
    setFont(defaultFormFont());
    setBackground(renderArtwork(art::kBackground, kBackgroundSize));
    build(opener);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void MainForm::build(const UrlOpener& opener) {
    m_title =
        label(this, "透明标签_窗口标题", {9, 4, 806, 24}, "", formFont(kYahei, 16, true), kWhite);

    m_minimise = place<PictureButton>(this, "图形按钮2", {944, 0, 28, 33});
    m_minimise->setImages(renderArtwork(art::kMinimiseNormal, {28, 33}),
                          renderArtwork(art::kMinimiseHot, {28, 33}),
                          renderArtwork(art::kMinimisePressed, {28, 33}));
    m_minimise->setToolTip(QStringLiteral("最小化"));
    m_close = place<PictureButton>(this, "图形按钮1", {972, 0, 28, 33});
    m_close->setImages(renderArtwork(art::kCloseNormal, {28, 33}),
                       renderArtwork(art::kCloseHot, {28, 33}),
                       renderArtwork(art::kClosePressed, {28, 33}));
    m_close->setToolTip(QStringLiteral("关闭"));

    label(this, "透明标签1", {7, 37, 83, 32}, "实时开奖", formFont(kYahei, 14, false), kWhite);
    m_currentIssue = label(this, "透明标签_当前期号", {14, 108, 154, 16}, "当前期号:00000000-00",
                           formFont(kYahei, 14, false), kBlack);
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "透明标签_开奖" + QByteArray::number(i + 1);
        m_drawLabels[i] = label(this, name.constData(), {193 + 60 * i, 99, 27, 28}, "0",
                                formFont(kYahei, 32, true), kWhite);
        m_drawLabels[i]->setAlignment(Qt::AlignCenter);
    }
    // Empty picture boxes that hide the two comma labels under the artwork.
    m_commaCovers[0] = place<PictureBox>(this, "图片框1", {235, 90, 56, 54});
    m_commaCovers[1] = place<PictureBox>(this, "图片框2", {358, 91, 56, 54});
    for (auto* cover : m_commaCovers) {
        cover->setBackdrop(m_background);
    }

    label(this, "透明标签17", {50, 170, 115, 16}, "开奖剩余时间：", formFont(kYahei, 14, false),
          kBlack);
    m_countdown = label(this, "透明标签_开奖时间", {184, 166, 152, 24}, "00：00：00",
                        formFont(kYahei, 19, true), kCountdownBlue);

    m_planBox = place<PlanTextBox>(this, "编辑框_计划", {5, 222, 530, 488});
    m_planBox->setFont(formFont(kYahei, 13, false));
    m_planBox->setFrameShape(QFrame::NoFrame);
    m_planBox->document()->setDocumentMargin(6);
    m_planBox->verticalScrollBar()->setStyleSheet(kScrollBarStyle);

    label(this, "透明标签7", {343, 231, 77, 24}, "公式期数设置", formFont(kYahei, 12, true),
          kBlack);
    m_periodCombo = place<QComboBox>(this, "组合框_公式期数", {420, 232, 40, 20});
    m_periodCombo->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_periodSwitch = superButton(this, "超级按钮_期数切换", {459, 227, 57, 31}, "切换", false);

    m_betPanel = place<QWidget>(this, "画板1", {5, 272, 531, 60});
    m_betPanel->hide();
    m_betSlider = place<ImageSlider>(m_betPanel, "多功能条1", {19, 24, 368, 16});
    m_betSlider->setImages(renderArtwork(art::kSliderBar, {200, 32}),
                           renderArtwork(art::kSliderThumb, {68, 34}));
    m_betEdit = place<NumberEdit>(m_betPanel, "编辑框_注数", {392, 23, 32, 19});
    m_betEdit->setText(QStringLiteral("25"));
    auto* validator = new QIntValidator(m_betEdit);
    validator->setObjectName(QStringLiteral("betCountRange"));
    m_betEdit->setValidator(validator);
    label(m_betPanel, "透明标签5", {443, 22, 17, 20}, "注", defaultFormFont(), kBlack);
    m_betApply = place<QPushButton>(m_betPanel, "按钮_修改注数", {457, 22, 60, 20});
    m_betApply->setText(QStringLiteral("确认修改"));

    m_clearPlan =
        superButton(this, "超级按钮_清理计划", {184, 710, 146, 34}, "清理计划并重新获取", true);
    m_copy = superButton(this, "超级按钮_复制", {457, 711, 57, 31}, "复制", false);

    label(this, "透明标签2", {546, 37, 182, 32}, "历史开奖", formFont(kYahei, 14, false), kWhite);
    m_historyHeader = place<QLabel>(this, "标签1", {546, 69, 180, 25});
    m_historyHeader->setText(QStringLiteral("     开奖期号        开奖号"));
    m_historyHeader->setAutoFillBackground(true);
    QPalette headerPalette = m_historyHeader->palette();
    headerPalette.setColor(QPalette::Window, QColor(226, 232, 241));
    headerPalette.setColor(QPalette::WindowText, QColor(40, 52, 72));
    m_historyHeader->setPalette(headerPalette);

    m_history = place<QTreeWidget>(this, "超级列表框_历史开奖", {546, 93, 180, 652});
    m_history->setColumnCount(2);
    m_history->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号")});
    m_history->setColumnWidth(0, 85);
    m_history->setColumnWidth(1, 77);
    m_history->setHeaderHidden(true);
    m_history->setRootIsDecorated(false);
    m_history->setIndentation(0);
    m_history->setUniformRowHeights(true);
    m_history->setAlternatingRowColors(true);
    m_history->setSelectionMode(QAbstractItemView::SingleSelection);
    m_history->setFrameShape(QFrame::NoFrame);
    m_history->setItemDelegate(new HistoryDelegate(m_history));
    m_history->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_history->verticalScrollBar()->setStyleSheet(kScrollBarStyle);

    m_web = new HtmlView(opener, this);
    m_web->setObjectName(QStringLiteral("超文本浏览框1"));
    m_web->setGeometry(736, 42, 259, 702);
    // The panel's colour until the page paints, instead of a white flash.
    m_web->page()->setBackgroundColor(QColor(244, 247, 251));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("时钟_剩余开奖时间"));
    m_timer->setInterval(0);

    m_balloon = new BalloonTip(this);
    m_balloon->setObjectName(QStringLiteral("气球提示框1"));
}

TransparentLabel* MainForm::drawLabel(int i) const {
    return i >= 1 && i <= 5 ? m_drawLabels[i - 1] : nullptr;
}

void MainForm::useBetCountBackground(bool on) {
    m_betCountBackground = on;
    setBackground(renderArtwork(on ? art::kBackgroundBetCount : art::kBackground, kBackgroundSize));
}

void MainForm::setBackground(const QPixmap& background) {
    m_background = background;
    for (auto* cover : m_commaCovers) {
        if (cover != nullptr) {
            cover->setBackdrop(m_background);
        }
    }
    update();
}

void MainForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_background.isNull()) {
        painter.fillRect(rect(), QColor(28, 38, 56));
        return;
    }
    painter.drawPixmap(0, 0, m_background);
}

void MainForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can; otherwise we do.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainForm::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MainForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace quorsa::platform
