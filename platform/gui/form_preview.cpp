// Shows the main window (or the status window) with sample texts, for looking
// at the artwork without a running service.
//   form-preview [--status] [--betcount] [--balloon] [--grab FILE.png] [--sheet FILE.png]
#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QTreeWidgetItem>

#include "platform/gui/artwork.h"
#include "platform/gui/main_form.h"
#include "platform/gui/status_form.h"
#include "platform/gui/url_opener.h"

namespace {

using quorsa::platform::MainForm;
using quorsa::platform::StatusForm;
using quorsa::platform::UrlOpener;

const char* const kSamplePlan =
    "Quorsa江苏快三平刷和值单双\r\n"
    "001-003期 和值【单】 025期 中\r\n"
    "004-006期 和值【双】 027期 中\r\n"
    "007-009期 和值【单】 中\r\n"
    "010-012期 和值【双】 挂\r\n"
    "013-015期 和值【单】 031期 中\r\n"
    "016-018期 和值【双】 等开\r\n"
    "\r\n"
    "共 5 期  中 4 期  挂 1 期\r\n"
    "命中率 80.00%\r\n";

void fillSamples(MainForm& form) {
    form.setWindowTitle(QStringLiteral("Quorsa江苏快三平刷和值单双"));
    form.titleLabel()->setText(form.windowTitle());
    form.currentIssueLabel()->setText(QStringLiteral("当前期号：041"));
    const QString numbers = QStringLiteral("4,2,6");
    for (int i = 1; i <= 5; ++i) {
        form.drawLabel(i)->setText(QString::number(numbers.mid(i - 1, 1).toInt()));
    }
    form.countdownLabel()->setText(QStringLiteral("00：08：37"));
    form.planBox()->setPlainText(QString::fromUtf8(kSamplePlan));
    form.periodCombo()->setCurrentIndex(2);
    const char* const draws[] = {"4,2,6", "1,1,5", "3,5,6", "2,2,2", "1,4,6", "2,3,5", "1,2,6"};
    int seq = 41;
    for (const char* draw : draws) {
        auto* row = new QTreeWidgetItem(form.historyList());
        row->setText(0, QStringLiteral("%1").arg(seq--, 3, 10, QLatin1Char('0')));
        row->setText(1, QString::fromLatin1(draw));
    }
    form.webView()->setHtml(QStringLiteral(
        "<html><body style='font-family:sans-serif;background:#f4f7fb;margin:12px'>"
        "<h3 style='color:#1c2b45'>公告</h3><p>示例网页面板。</p>"
        "<p><a href='https://example.com/'>https://example.com/</a></p></body></html>"));
}

// Every small picture on one sheet, four times enlarged, on light and dark.
bool saveSheet(const QString& file) {
    namespace art = quorsa::platform::art;
    const struct {
        const char* name;
        QSize size;
    } pictures[] = {
        {art::kMinimiseNormal, {28, 33}},    {art::kMinimiseHot, {28, 33}},
        {art::kMinimisePressed, {28, 33}},   {art::kCloseNormal, {28, 33}},
        {art::kCloseHot, {28, 33}},          {art::kClosePressed, {28, 33}},
        {art::kSmallButtonNormal, {60, 33}}, {art::kSmallButtonHot, {60, 33}},
        {art::kWideButtonNormal, {146, 36}}, {art::kWideButtonHot, {146, 36}},
        {art::kSliderBar, {200, 32}},        {art::kSliderThumb, {68, 34}},
        {art::kBusyPacket, {14, 14}},
    };
    constexpr int kScale = 3;
    QImage sheet(2 * 220 * kScale, 13 * 40 * kScale, QImage::Format_ARGB32);
    sheet.fill(QColor(240, 243, 248));
    QPainter painter(&sheet);
    painter.fillRect(QRect(220 * kScale, 0, 220 * kScale, sheet.height()), QColor(26, 39, 64));
    int y = 0;
    for (const auto& p : pictures) {
        const QPixmap pixmap = quorsa::platform::renderArtwork(p.name, p.size * kScale);
        painter.drawPixmap(4, y + 4, pixmap);
        painter.drawPixmap(220 * kScale + 4, y + 4, pixmap);
        y += 40 * kScale;
    }
    painter.end();
    return sheet.save(file);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("status"), QStringLiteral("Show the status window.")});
    parser.addOption({QStringLiteral("betcount"), QStringLiteral("Bet-count layout.")});
    parser.addOption({QStringLiteral("balloon"), QStringLiteral("Show the copy notice.")});
    parser.addOption({QStringLiteral("grab"), QStringLiteral("Save the window to FILE and quit."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("sheet"),
                      QStringLiteral("Save the small pictures to FILE and quit."),
                      QStringLiteral("FILE")});
    parser.addHelpOption();
    parser.process(app);

    if (parser.isSet(QStringLiteral("sheet"))) {
        return saveSheet(parser.value(QStringLiteral("sheet"))) ? 0 : 1;
    }
    UrlOpener opener([](const QUrl&) { return true; });
    MainForm form(opener);
    StatusForm status;
    QWidget* shown = &form;
    if (parser.isSet(QStringLiteral("status"))) {
        status.setWindowTitle(QStringLiteral("Quorsa江苏快三平刷和值单双"));
        status.setMessage(QStringLiteral("正在连接服务器……"));
        shown = &status;
    } else {
        fillSamples(form);
        if (parser.isSet(QStringLiteral("betcount"))) {
            form.useBetCountBackground(true);
            QWidget* panel = form.betCountPanel();
            QPalette palette = panel->palette();
            palette.setColor(QPalette::Window, Qt::white);
            panel->setPalette(palette);
            panel->setAutoFillBackground(true);
            panel->move(form.planBox()->pos());
            form.planBox()->setGeometry(5, 293, 530, 417);
            form.betCountSlider()->setRange(10, 50);
            form.betCountSlider()->setPosition(25);
            panel->show();
        }
    }
    shown->show();
    if (parser.isSet(QStringLiteral("balloon"))) {
        QTimer::singleShot(500, &form, [&form] {
            const auto* button = form.copyButton();
            form.balloonTip()->showAt(
                form.mapToGlobal(QPoint(button->x() + button->width() / 2, button->y())),
                QStringLiteral("已复制到剪辑版"));
        });
    }
    if (parser.isSet(QStringLiteral("grab"))) {
        const QString file = parser.value(QStringLiteral("grab"));
        QTimer::singleShot(2500, shown, [shown, file] {
            shown->grab().save(file);
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
