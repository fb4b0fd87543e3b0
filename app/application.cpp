#include "app/application.h"

#include <QApplication>
#include <QClipboard>
#include <QIntValidator>
#include <QPalette>
#include <QPoint>

#include "platform/files.h"
#include "platform/gui/qt_message_sink.h"
#include "platform/text.h"

namespace quorsa::app {

namespace {
QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
}  // namespace

Application::Application(ApplicationOptions options, const platform::TimeSource& time,
                         platform::MessageSink& messages, const platform::UrlOpener& opener,
                         EndProgram endProgram, LaunchUpdater launch)
    : m_options(std::move(options)),
      m_time(time),
      m_messages(messages),
      m_opener(opener),
      m_endProgram(std::move(endProgram)),
      m_launch(std::move(launch)),
      m_statusPort([this] {
          // Closing the wait window ends the program at once.
          if (m_endProgram)
              m_endProgram(0);
      }),
      m_statusWindow(m_statusPort),
      m_startupSteps({m_settings, m_options.addresses, m_client, m_initRecord, m_statusWindow,
                      m_mainView, m_planView, m_engine, m_drawClock, m_history, m_formulaPeriods,
                      m_messages, m_launch, m_endProgram}),
      m_mainView(m_windowPort),
      m_planView(m_engine, m_history, time, m_settings.betPlanPrefix, m_formulaPeriods),
      m_client(m_http, time),
      m_drawClock(m_client, time),
      m_engine(messages) {
    const std::string programDir = m_options.programDirectory.empty() ? platform::programDirectory()
                                                                      : m_options.programDirectory;
    m_updaterPath = initUpdaterPath(programDir);
}

Application::~Application() {
    // The form goes first: its handlers reach everything below it.
    m_form.reset();
    m_commands.reset();
}

bool Application::start() {
    m_settings =
        storeSettings(m_options.softwareName, m_options.programFileName, m_options.applicationId,
                      m_options.planKind, m_options.programVersion, "", false, m_messages);
    m_form = std::make_unique<platform::MainForm>(m_opener);
    m_windowPort.attach(m_form.get());
    if (!creationSequence()) {
        m_windowPort.attach(nullptr);
        m_form.reset();
        return false;
    }
    return true;
}

bool Application::creationSequence() {
    platform::MainForm& form = *m_form;
    const std::string dir = m_options.workingDirectory.empty() ? platform::currentDirectory()
                                                               : m_options.workingDirectory;
    m_config.emplace(dir, m_settings.softwareName);
    platform::setHiddenAttribute(m_config->path());

    const std::int32_t n = platform::leadingInt(m_config->readConfig(kKeyFormulaPeriods, "3"));
    QComboBox* combo = form.periodCombo();
    combo->setCurrentIndex(n >= 1 && n <= combo->count() ? n - 1 : -1);
    form.historyList()->clear();
    m_formulaPeriods = combo->currentIndex() + 1;

    m_commands = std::make_unique<WindowCommands>(
        WindowCommands::Context{m_settings, m_mainView, m_windowPort, m_planView, m_drawClock,
                                m_latestPair, m_history, m_formulaPeriods, m_messages},
        *m_config);
    connectControls();

    m_statusWindow.show("正在连接服务器……");
    form.setWindowTitle(qs(m_settings.softwareName));
    form.titleLabel()->setText(qs(m_settings.softwareName));

    if (!m_startupSteps.connectAndCheck(m_windowPort, m_windowPort))
        return false;
    if (!m_startupSteps.loadDrawData(m_windowPort))
        return false;
    m_mainView.setTimersRunning(false);
    m_startupComplete = true;
    form.webView()->setRedirectLinks(true);
    m_statusWindow.close();
    betCountLayout();
    form.show();
    form.activateWindow();
    form.raise();
    return true;
}

void Application::connectControls() {
    platform::MainForm& form = *m_form;
    WindowCommands& commands = *m_commands;
    QObject::connect(form.closeButton(), &QAbstractButton::clicked, &form,
                     [this] { closeMainWindow(); });
    QObject::connect(form.minimiseButton(), &QAbstractButton::clicked, &form,
                     [&form] { form.showMinimized(); });
    QObject::connect(form.periodSwitchButton(), &QAbstractButton::clicked, &form,
                     [&commands] { commands.switchPeriods(); });
    QObject::connect(form.clearPlanButton(), &QAbstractButton::clicked, &form,
                     [&commands] { commands.clearPlan(); });
    QObject::connect(form.copyButton(), &QAbstractButton::clicked, &form, [this] { copyPlan(); });
    QObject::connect(
        form.betCountSlider(), &platform::ImageSlider::positionChanged, &form,
        [&form](int position) { form.betCountEdit()->setText(QString::number(position)); });
    QObject::connect(form.betCountEdit(), &platform::NumberEdit::focusLost, &form, [&form] {
        form.betCountSlider()->setPosition(
            platform::leadingInt(form.betCountEdit()->text().toStdString()));
    });
    QObject::connect(form.betCountApplyButton(), &QAbstractButton::clicked, &form,
                     [&commands] { commands.applyBetCount(); });
    QObject::connect(form.countdownTimer(), &QTimer::timeout, &form,
                     [&commands] { commands.countdownTick(); });
}

void Application::copyPlan() {
    platform::MainForm& form = *m_form;
    QApplication::clipboard()->setText(form.planBox()->toPlainText());
    const platform::SuperButton* button = form.copyButton();
    const int x = static_cast<int>(form.x() + button->x() + button->width() / 2.0);
    const int y = form.y() + button->y();
    form.balloonTip()->showAt(QPoint(x, y), QStringLiteral("已复制到剪辑版"));
}

void Application::closeMainWindow() {
    if (m_form)
        m_form->close();
    QCoreApplication::exit(0);
}

void Application::betCountLayout() {
    if (m_settings.betPlanPrefix.empty())
        return;
    platform::MainForm& form = *m_form;
    form.useBetCountBackground(true);
    QWidget* panel = form.betCountPanel();
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 255));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    panel->show();
    QWidget* box = form.planBox();
    panel->move(box->x(), box->y());
    const int shift = panel->height() + 11;
    box->setGeometry(box->x(), panel->y() + shift, box->width(), box->height() - shift);

    platform::ImageSlider* slider = form.betCountSlider();
    slider->setRange(m_settings.betCountMin, m_settings.betCountMax);
    if (auto* range =
            form.betCountEdit()->findChild<QIntValidator*>(QStringLiteral("betCountRange"))) {
        range->setRange(m_settings.betCountMin, m_settings.betCountMax);
    }
    slider->setPosition(m_settings.betCountMin);
    slider->setPosition(
        platform::leadingInt(m_config->readConfig(kKeyBetCount, betCountDefault(m_settings))));
    m_planView.setBetCount(slider->position());
}

}  // namespace quorsa::app
