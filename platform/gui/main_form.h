#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include "platform/gui/balloon_tip.h"
#include "platform/gui/controls.h"
#include "platform/gui/html_view.h"
#include "platform/gui/plan_text_box.h"
#include "platform/gui/url_opener.h"

namespace quorsa::platform {

// The main window's form: every control at its place with its first text,
// font and colour, each named after its form name (objectName). It carries no
// behaviour: the buttons only emit clicked, the timer is stopped, the bet-count
// panel is hidden. The window is frameless, draws its own title strip and is
// moved by dragging the strip or the background.
class MainForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 749;
    static constexpr QSize kBackgroundSize{1000, 782};

    // `opener` receives the web panel's links once they are redirected; it
    // must outlive the form.
    explicit MainForm(const UrlOpener& opener, QWidget* parent = nullptr);

    // A control by its form name, or nullptr.
    template <typename T>
    T* control(const QString& name) const {
        return findChild<T*>(name);
    }

    TransparentLabel* titleLabel() const { return m_title; }
    PictureButton* minimiseButton() const { return m_minimise; }
    PictureButton* closeButton() const { return m_close; }
    TransparentLabel* currentIssueLabel() const { return m_currentIssue; }
    // i = 1 to 5: the labels of the draw's characters.
    TransparentLabel* drawLabel(int i) const;
    TransparentLabel* countdownLabel() const { return m_countdown; }
    PlanTextBox* planBox() const { return m_planBox; }
    QComboBox* periodCombo() const { return m_periodCombo; }
    SuperButton* periodSwitchButton() const { return m_periodSwitch; }
    QWidget* betCountPanel() const { return m_betPanel; }
    ImageSlider* betCountSlider() const { return m_betSlider; }
    NumberEdit* betCountEdit() const { return m_betEdit; }
    QPushButton* betCountApplyButton() const { return m_betApply; }
    SuperButton* clearPlanButton() const { return m_clearPlan; }
    SuperButton* copyButton() const { return m_copy; }
    QLabel* historyHeader() const { return m_historyHeader; }
    QTreeWidget* historyList() const { return m_history; }
    HtmlView* webView() const { return m_web; }
    QTimer* countdownTimer() const { return m_timer; }
    BalloonTip* balloonTip() const { return m_balloon; }

    // The bet-count variant's background picture instead of the usual one.
    void useBetCountBackground(bool on);
    bool usesBetCountBackground() const { return m_betCountBackground; }
    const QPixmap& background() const { return m_background; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void build(const UrlOpener& opener);
    void setBackground(const QPixmap& background);

    QPixmap m_background;
    bool m_betCountBackground = false;
    bool m_dragging = false;
    QPoint m_dragOffset;

    TransparentLabel* m_title = nullptr;
    PictureButton* m_minimise = nullptr;
    PictureButton* m_close = nullptr;
    TransparentLabel* m_currentIssue = nullptr;
    TransparentLabel* m_drawLabels[5] = {};
    PictureBox* m_commaCovers[2] = {};
    TransparentLabel* m_countdown = nullptr;
    PlanTextBox* m_planBox = nullptr;
    QComboBox* m_periodCombo = nullptr;
    SuperButton* m_periodSwitch = nullptr;
    QWidget* m_betPanel = nullptr;
    ImageSlider* m_betSlider = nullptr;
    NumberEdit* m_betEdit = nullptr;
    QPushButton* m_betApply = nullptr;
    SuperButton* m_clearPlan = nullptr;
    SuperButton* m_copy = nullptr;
    QLabel* m_historyHeader = nullptr;
    QTreeWidget* m_history = nullptr;
    HtmlView* m_web = nullptr;
    QTimer* m_timer = nullptr;
    BalloonTip* m_balloon = nullptr;
};

}  // namespace quorsa::platform
