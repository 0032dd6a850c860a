#include "viewer/PlotKeys.h"

#include "viewer/TemperaturePlot.h"

#include <QKeyEvent>

namespace quorvane {

PlotKeys::PlotKeys(TemperaturePlot& plot, QObject* parent) : QObject(parent), m_plot(plot) {
    QCustomPlot& canvas = plot.customPlot();
    canvas.setFocusPolicy(Qt::StrongFocus);
    canvas.installEventFilter(this);
}

QString PlotKeys::help() {
    return QStringLiteral("Left and Right pan the time axis, + and - zoom, Home shows the whole "
                          "run, F follows the newest data. Shift with Left or Right moves the "
                          "cursor from record to record, Enter picks the record at the cursor.");
}

bool PlotKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_plot.customPlot()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn: {
        m_plot.showFocusFrame(true);
        const QCPRange view = m_plot.visibleRange();
        const auto at = m_plot.cursorKey();
        if (!at || *at < view.lower || *at > view.upper) {
            cursorToRecordNear(view.center());
        }
        return false;
    }
    case QEvent::FocusOut:
        m_plot.showFocusFrame(false);
        return false;
    case QEvent::KeyPress: {
        const auto* press = static_cast<QKeyEvent*>(event);
        return key(press->key(), press->modifiers());
    }
    default:
        return false;
    }
}

bool PlotKeys::key(int key, Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int direction = key == Qt::Key_Left ? -1 : 1;
        if (shift) {
            stepCursor(direction);
            return true;
        }
        const double shift0 = m_plot.visibleRange().size() * kPanShare * direction;
        m_plot.panBy(kPanShare * direction);
        if (const auto at = m_plot.cursorKey()) {
            cursorToRecordNear(*at + shift0);
        }
        return true;
    }
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        m_plot.zoomBy(kZoomFactor, cursorOrCentre());
        return true;
    case Qt::Key_Minus:
        m_plot.zoomBy(1.0 / kZoomFactor, cursorOrCentre());
        return true;
    case Qt::Key_Home:
        m_plot.showWholeRun();
        return true;
    case Qt::Key_F:
        // The window's View > Follow takes F first; a plot on its own follows here.
        m_plot.setFollow(!m_plot.follow());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_plot.cursorKey()) {
            cursorToRecordNear(m_plot.visibleRange().center());
        }
        if (const auto at = m_plot.cursorKey()) {
            m_plot.pickAt(*at);
        }
        return true;
    default:
        return false;
    }
}

double PlotKeys::cursorOrCentre() const {
    const QCPRange view = m_plot.visibleRange();
    const auto at = m_plot.cursorKey();
    return at && *at >= view.lower && *at <= view.upper ? *at : view.center();
}

void PlotKeys::cursorToRecordNear(double key) {
    const RunSeries& series = m_plot.series();
    if (const auto index = series.nearest(key)) {
        m_plot.showCursor(series.keyAt(*index));
    }
}

void PlotKeys::stepCursor(int step) {
    const RunSeries& series = m_plot.series();
    const auto at = m_plot.cursorKey();
    const auto here = at ? series.nearest(*at) : std::nullopt;
    if (!here) {
        cursorToRecordNear(m_plot.visibleRange().center());
        return;
    }
    const auto next = series.nextRecord(*here, step);
    if (!next) {
        return;
    }
    const double key = series.keyAt(*next);
    const QCPRange view = m_plot.visibleRange();
    if (key < view.lower || key > view.upper) {
        // The view follows the cursor by half its width.
        m_plot.panBy(0.5 * step);
    }
    m_plot.showCursor(key);
}

} // namespace quorvane
