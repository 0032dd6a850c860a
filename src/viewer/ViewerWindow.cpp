#include "viewer/ViewerWindow.h"

#include "viewer/CsvExport.h"
#include "viewer/HeaderPanel.h"
#include "viewer/ReadoutPanel.h"
#include "viewer/RecordAge.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/UpdateMessage.h"
#include "viewer/reduction/DecimalSpinBox.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <malloc.h>

namespace quorvane {

namespace {

// A long file is read 1 MiB (about 15,000 records) per event-loop turn: the window stays
// responsive and the records waiting to be plotted take little room.
constexpr std::size_t kReadChunk = 1024 * 1024;
// During a long first reading the plot is redrawn at most this often.
constexpr int kLoadingReplotMs = 400;

QString fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

} // namespace

ViewerWindow::ViewerWindow(const Clock& clock, QWidget* parent)
    : QMainWindow(parent), m_clock(clock), m_plot(new TemperaturePlot(m_series, this)),
      m_headerPanel(new HeaderPanel(this)), m_readout(new ReadoutPanel(m_series, this)),
      m_data(
          m_dataWatcher, clock, [this](const FollowUpdate& update) { apply(update); }, kReadChunk),
      m_events(m_eventWatcher, {[this](const std::string& file) { showFile(file); },
                                [this](bool) { refreshStatus(); }}),
      m_status(*statusBar()) {
    setObjectName(QStringLiteral("quorvaneViewer"));
    setCentralWidget(m_plot);
    setAcceptDrops(true);
    resize(1200, 720);
    addSidePanel(m_headerPanel, QStringLiteral("Run header"));
    addSidePanel(m_readout, QStringLiteral("Read-out"));
    buildMenus();
    connect(m_plot, &TemperaturePlot::cursorMoved, m_readout, &ReadoutPanel::showCursor);
    connect(m_plot, &TemperaturePlot::pointPicked, m_readout, &ReadoutPanel::pick);
    connect(m_readout, &ReadoutPanel::picksChanged, m_plot, &TemperaturePlot::showPicks);
    connect(m_plot, &TemperaturePlot::followChanged, m_followAction, &QAction::setChecked);
    m_statusTimer.setInterval(1000);
    connect(&m_statusTimer, &QTimer::timeout, this, &ViewerWindow::refreshStatus);
    m_statusTimer.start();
    m_sinceReplot.start();
    refreshTitle();
    refreshStatus();
}

ViewerWindow::~ViewerWindow() {
    // Windows of its own (a cruise table) close, and this one hides, while the records are
    // still here: a window that closes moves the focus, and the plot redraws when it gets it.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            delete child;
        }
    }
    hide();
    m_events.stop();
    m_data.close();
}

QDockWidget* ViewerWindow::addSidePanel(QWidget* panel, const QString& title) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(title);
    dock->setWidget(panel);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                      QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    return dock;
}

void ViewerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this,
                    &ViewerWindow::chooseFile);
    m_followProgramAction = file->addAction(QStringLiteral("Follow the &program..."));
    m_followProgramAction->setCheckable(true);
    connect(m_followProgramAction, &QAction::triggered, this, [this](bool on) {
        if (on) {
            chooseEventLog();
        } else {
            stopFollowingProgram();
        }
    });
    QMenu* exports = file->addMenu(QStringLiteral("&Export"));
    exports->addAction(QStringLiteral("Plot as &PNG..."), this, [this] { exportDialog("png"); });
    exports->addAction(QStringLiteral("Plot as &SVG..."), this, [this] { exportDialog("svg"); });
    exports->addAction(QStringLiteral("Visible records as &CSV..."), this,
                       [this] { exportDialog("csv"); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    m_followAction = view->addAction(QStringLiteral("&Follow the newest data"));
    m_followAction->setCheckable(true);
    m_followAction->setChecked(true);
    m_followAction->setShortcut(QKeySequence(Qt::Key_F));
    connect(m_followAction, &QAction::toggled, m_plot, &TemperaturePlot::setFollow);
    m_autoYAction = view->addAction(QStringLiteral("&Auto-scale temperatures"));
    m_autoYAction->setCheckable(true);
    m_autoYAction->setChecked(true);
    m_elapsedAction = view->addAction(QStringLiteral("Time as &seconds since the first record"));
    m_elapsedAction->setCheckable(true);
    connect(m_elapsedAction, &QAction::toggled, this, [this](bool on) {
        m_plot->setTimeAxis(on ? TemperaturePlot::TimeAxis::SecondsSinceFirst
                               : TemperaturePlot::TimeAxis::Utc);
    });

    QToolBar* tools = addToolBar(QStringLiteral("View"));
    tools->setObjectName(QStringLiteral("viewToolBar"));
    tools->addAction(m_followAction);
    tools->addSeparator();
    tools->addAction(m_autoYAction);
    m_yLower = new DecimalSpinBox(tools);
    m_yUpper = new DecimalSpinBox(tools);
    m_yLower->setAccessibleName(QStringLiteral("Lowest temperature shown"));
    m_yUpper->setAccessibleName(QStringLiteral("Highest temperature shown"));
    for (QDoubleSpinBox* box : {m_yLower, m_yUpper}) {
        box->setRange(-100, 400);
        box->setDecimals(2);
        box->setSingleStep(0.5);
        box->setSuffix(QStringLiteral(" °C"));
        box->setEnabled(false);
        connect(box, &QDoubleSpinBox::editingFinished, this, &ViewerWindow::applyFixedY);
    }
    tools->addWidget(new QLabel(QStringLiteral(" from "), tools));
    tools->addWidget(m_yLower);
    tools->addWidget(new QLabel(QStringLiteral(" to "), tools));
    tools->addWidget(m_yUpper);
    tools->addSeparator();
    tools->addAction(m_elapsedAction);
    // While auto-scaled the limit fields show the limits in use, ready to be fixed.
    connect(m_plot->customPlot().yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& range) {
                if (m_autoYAction->isChecked()) {
                    m_yLower->setValue(range.lower);
                    m_yUpper->setValue(range.upper);
                }
            });
    connect(m_autoYAction, &QAction::toggled, this, [this](bool on) {
        m_yLower->setEnabled(!on);
        m_yUpper->setEnabled(!on);
        if (on) {
            m_plot->setAutoY(true);
        } else {
            const QCPRange now = m_plot->customPlot().yAxis->range();
            m_yLower->setValue(now.lower);
            m_yUpper->setValue(now.upper);
            applyFixedY();
        }
    });
}

void ViewerWindow::applyFixedY() {
    if (m_autoYAction->isChecked()) {
        return;
    }
    const double lower = m_yLower->value();
    const double upper = m_yUpper->value();
    if (!(lower < upper)) {
        const QCPRange now = m_plot->customPlot().yAxis->range();
        say(QStringLiteral("The temperature limits must rise from the first field to the "
                           "second: %1 to %2 °C is not taken; the plot keeps %3 to %4 °C.")
                .arg(QString::number(lower, 'f', 2), QString::number(upper, 'f', 2),
                     QString::number(now.lower, 'f', 2), QString::number(now.upper, 'f', 2)),
            true);
        return;
    }
    m_plot->setFixedY(lower, upper);
}

void ViewerWindow::openFile(const QString& path) {
    stopFollowingProgram();
    showFile(path.toStdString());
}

void ViewerWindow::showFile(const std::string& path) {
    if (path.empty()) {
        say(QStringLiteral("The event log names no data log file for this run."), true);
        return;
    }
    m_readout->clear();
    m_data.open(path);
    refreshTitle();
}

void ViewerWindow::followProgram(const QString& eventLogPath) {
    m_followProgramAction->setChecked(true);
    m_events.start(eventLogPath.toStdString());
    if (!m_events.exists()) {
        say(QStringLiteral("Waiting for the program's event log %1 to appear.").arg(eventLogPath));
    } else if (!m_data.isOpen()) {
        say(QStringLiteral("Following the program: no run started yet in %1.")
                .arg(QFileInfo(eventLogPath).fileName()));
    }
    refreshTitle();
}

void ViewerWindow::stopFollowingProgram() {
    m_events.stop();
    m_followProgramAction->setChecked(false);
    refreshTitle();
}

void ViewerWindow::apply(const FollowUpdate& update) {
    const QString name = fileName(m_data.path());
    if (update.restarted) {
        m_series.clear();
        m_headers.clear();
        m_badLineCount = 0;
        m_lastBadLine.clear();
        m_readout->clear();
        if (update.bytesRead == 0 && !update.headersChanged) {
            say(QStringLiteral("%1 started over (emptied or replaced): reading it again.")
                    .arg(name));
        }
    }
    if (update.headersChanged) {
        m_headers = update.headers;
        m_headerPanel->showHeaders(m_headers);
    }
    m_series.append(update.records, m_headers);
    m_badLineCount = update.badLineCount;
    if (!update.badLines.empty()) {
        const BadLine& bad = update.badLines.back();
        m_lastBadLine = QStringLiteral("line %1: %2")
                            .arg(bad.lineNumber)
                            .arg(QString::fromStdString(bad.reason));
    }

    const UpdateMessage::Said said = UpdateMessage::describe(
        update, {QString::fromStdString(m_data.path()), m_series.recordCount(), !m_headers.empty(),
                 m_lastBadLine});
    say(said.text, said.problem);

    if (update.more && !m_wasLoading && update.bytesRead > 0) {
        // A long reading: room for the whole file at once (from the first chunk's records per
        // byte), so that the lists never grow by copying. Room never written takes no memory.
        const double perByte =
            static_cast<double>(update.recordCount) / static_cast<double>(update.bytesRead);
        m_series.reserve(
            static_cast<std::size_t>(static_cast<double>(update.fileSize) * perByte * 1.05) + 64);
    }
    if (!update.more && m_wasLoading) {
        // The chunks' records are gone; their room goes back to the system (glibc keeps
        // freed heap otherwise, 20-30 MB after a million records).
        malloc_trim(0);
    }
    m_wasLoading = update.more;
    // A long first reading is drawn now and then, not at every chunk.
    if (!update.more || m_sinceReplot.elapsed() >= kLoadingReplotMs) {
        m_plot->dataChanged();
        m_sinceReplot.restart();
    }
    refreshStatus();
    emit updateApplied(update);
    emit dataUpdated();
}

void ViewerWindow::refreshStatus() {
    m_status.showCounts(m_series.recordCount(), m_badLineCount);
    m_status.showLastRecord(m_data.lastRecordUtc());
    const std::optional<double> interval =
        m_headers.empty() ? std::nullopt : m_headers.back().logIntervalSeconds;
    // A file opened by hand is being written while it grows; long after it stopped, the run
    // is taken to be over (not late for ever).
    const bool running = m_events.isFollowing()
                             ? m_events.runRunning()
                             : RecordAge::stillWritten(m_data.secondsSinceGrowth(), interval);
    const RecordAge::Text age = RecordAge::describe(m_data.secondsSinceLastRecord(), interval,
                                                    running && !m_data.loading());
    m_late = age.late;
    m_status.showAge(age);
}

void ViewerWindow::refreshTitle() {
    QString title = QStringLiteral("Quorvane Viewer");
    if (m_data.isOpen()) {
        title += QStringLiteral(" - ") + QString::fromStdString(m_data.path());
    }
    if (m_events.isFollowing()) {
        title += QStringLiteral(" (following the program)");
    }
    setWindowTitle(title);
}

void ViewerWindow::say(const QString& message, bool problem) {
    m_status.say(message, problem);
}

bool ViewerWindow::exportPng(const QString& path, QSize size) {
    if (!size.isValid()) {
        size = m_plot->size();
    }
    const bool ok = m_plot->savePng(path, size.width(), size.height());
    say(ok ? QStringLiteral("Plot written to %1").arg(path)
           : QStringLiteral("Cannot write %1").arg(path),
        !ok);
    return ok;
}

bool ViewerWindow::exportSvg(const QString& path, QSize size) {
    if (!size.isValid()) {
        size = m_plot->size();
    }
    const bool ok = m_plot->saveSvg(path, size.width(), size.height());
    say(ok ? QStringLiteral("Plot written to %1").arg(path)
           : QStringLiteral("Cannot write %1").arg(path),
        !ok);
    return ok;
}

bool ViewerWindow::exportCsv(const QString& path) {
    const QCPRange range = m_plot->visibleRange();
    QString error;
    const bool ok = CsvExport::write(m_series, range.lower, range.upper, path, &error);
    say(ok ? QStringLiteral("Visible records written to %1").arg(path)
           : QStringLiteral("Cannot write %1: %2").arg(path, error),
        !ok);
    return ok;
}

void ViewerWindow::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open a data log file"), QString(),
        QStringLiteral("Data log files (*.log *.txt *.dat);;All files (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ViewerWindow::chooseEventLog() {
    const QString start = QCoreApplication::applicationDirPath() + "/QuorvaneEvents.log";
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("The program's event log"), start,
        QStringLiteral("Event log (QuorvaneEvents.log);;All files (*)"));
    if (path.isEmpty()) {
        m_followProgramAction->setChecked(m_events.isFollowing());
        return;
    }
    followProgram(path);
}

void ViewerWindow::exportDialog(const QString& kind) {
    const QString base = QFileInfo(shownFile()).completeBaseName();
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export"),
        (base.isEmpty() ? QStringLiteral("plot") : base) + "." + kind,
        kind.toUpper() + QStringLiteral(" (*.") + kind + QStringLiteral(")"));
    if (path.isEmpty()) {
        return;
    }
    if (kind == QLatin1String("png")) {
        exportPng(path);
    } else if (kind == QLatin1String("svg")) {
        exportSvg(path);
    } else {
        exportCsv(path);
    }
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void ViewerWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        openFile(urls.first().toLocalFile());
        event->acceptProposedAction();
    }
}

} // namespace quorvane
