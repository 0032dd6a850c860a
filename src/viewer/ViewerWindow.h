#pragma once

#include "datafile/LogHeader.h"
#include "platform/Clock.h"
#include "viewer/DataFollower.h"
#include "viewer/EventLogFollower.h"
#include "viewer/QtFileWatcher.h"
#include "viewer/RunSeries.h"
#include "viewer/ViewerStatusBar.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <vector>

class QAction;
class QDockWidget;

namespace quorvane {

class DecimalSpinBox;
class HeaderPanel;
class ReadoutPanel;
class TemperaturePlot;

// The viewer's main window: the plot in the middle, side panels (the run's header, the
// read-out; others may add theirs with addSidePanel), menus, and a status bar with the
// counts, the newest record and how late it is.
class ViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewerWindow(const Clock& clock, QWidget* parent = nullptr);
    ~ViewerWindow() override;

    // Shows one file and follows it; stops following the program.
    void openFile(const QString& path);
    // Follows the program's event log: each new run's data log file is shown.
    void followProgram(const QString& eventLogPath);
    void stopFollowingProgram();
    bool followingProgram() const { return m_events.isFollowing(); }

    bool exportPng(const QString& path, QSize size = {});
    bool exportSvg(const QString& path, QSize size = {});
    // The records in the visible time range.
    bool exportCsv(const QString& path);

    // A panel at the side of the plot, in a dock of its own.
    QDockWidget* addSidePanel(QWidget* panel, const QString& title);

    TemperaturePlot& plot() { return *m_plot; }
    RunSeries& series() { return m_series; }
    const std::vector<LogHeader>& headers() const { return m_headers; }
    HeaderPanel& headerPanel() { return *m_headerPanel; }
    ReadoutPanel& readout() { return *m_readout; }
    QString shownFile() const { return QString::fromStdString(m_data.path()); }
    bool loading() const { return m_data.loading(); }
    qint64 badLineCount() const { return m_badLineCount; }
    QString statusMessage() const { return m_status.message(); }
    // Other panels' outcomes, in the status bar.
    void tell(const QString& message, bool problem) { say(message, problem); }
    QString ageText() const { return m_status.ageText(); }
    bool ageIsLate() const { return m_late; }
    QAction* followAction() const { return m_followAction; }
    QAction* autoScaleAction() const { return m_autoYAction; }
    DecimalSpinBox& lowerLimitField() { return *m_yLower; }
    DecimalSpinBox& upperLimitField() { return *m_yUpper; }

signals:
    // After every update of the shown data (for the reduction and the tests).
    void dataUpdated();
    // Each update as read, before dataUpdated (the reduction takes its records from it).
    void updateApplied(const FollowUpdate& update);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void apply(const FollowUpdate& update);
    void showFile(const std::string& path);
    void refreshStatus();
    void refreshTitle();
    void say(const QString& message, bool problem = false);
    void chooseFile();
    void chooseEventLog();
    void exportDialog(const QString& kind);
    void applyFixedY();

    const Clock& m_clock;
    RunSeries m_series;
    std::vector<LogHeader> m_headers;
    TemperaturePlot* m_plot;
    HeaderPanel* m_headerPanel;
    ReadoutPanel* m_readout;
    QtFileWatcher m_dataWatcher;
    QtFileWatcher m_eventWatcher;
    DataFollower m_data;
    EventLogFollower m_events;
    ViewerStatusBar m_status;
    QTimer m_statusTimer;
    QElapsedTimer m_sinceReplot;
    qint64 m_badLineCount = 0;
    bool m_late = false;
    bool m_wasLoading = false;
    QString m_lastBadLine;

    QAction* m_followAction = nullptr;
    QAction* m_followProgramAction = nullptr;
    QAction* m_autoYAction = nullptr;
    QAction* m_elapsedAction = nullptr;
    DecimalSpinBox* m_yLower = nullptr;
    DecimalSpinBox* m_yUpper = nullptr;
};

} // namespace quorvane
