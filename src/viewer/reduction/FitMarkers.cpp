#include "viewer/reduction/FitMarkers.h"

#include "viewer/reduction/ReductionController.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace quorvane {

namespace {

constexpr double kGrabPixels = 6.0;
const QString kMarkLayer = QStringLiteral("reductionMarks");

QCPItemStraightLine* verticalLine(QCustomPlot& plot, const QColor& color, Qt::PenStyle style) {
    auto* line = new QCPItemStraightLine(&plot);
    line->setLayer(kMarkLayer);
    line->point1->setTypeY(QCPItemPosition::ptAxisRectRatio);
    line->point2->setTypeY(QCPItemPosition::ptAxisRectRatio);
    line->setPen(QPen(color, 1.6, style));
    line->setSelectable(false);
    line->setVisible(false);
    return line;
}

QCPItemText* label(QCustomPlot& plot, const QString& text, const QColor& color) {
    auto* item = new QCPItemText(&plot);
    item->setLayer(kMarkLayer);
    item->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    // Upright along the line, on its left, where the curves leave room.
    item->setRotation(-90);
    item->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    item->setBrush(QColor(255, 255, 255, 200));
    item->setText(text);
    item->setColor(color);
    item->setPadding(QMargins(3, 2, 3, 2));
    item->setSelectable(false);
    item->setVisible(false);
    return item;
}

QCPItemRect* span(QCustomPlot& plot, const QColor& color) {
    auto* rect = new QCPItemRect(&plot);
    rect->setLayer(kMarkLayer);
    rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    QColor fill = color;
    fill.setAlpha(40);
    QColor edge = color;
    edge.setAlpha(160);
    rect->setBrush(fill);
    rect->setPen(QPen(edge, 1.2, Qt::DashLine));
    rect->setSelectable(false);
    rect->setVisible(false);
    return rect;
}

} // namespace

FitMarkers::FitMarkers(QCustomPlot& plot, ReductionController& controller, QObject* parent)
    : QObject(parent), m_plot(plot), m_plotAlive(&plot), m_controller(controller) {
    if (!m_plot.layer(kMarkLayer)) {
        m_plot.addLayer(kMarkLayer, m_plot.layer(QStringLiteral("main")), QCustomPlot::limAbove);
    }
    m_decay = span(plot, QColor(40, 110, 220));
    m_heating = span(plot, QColor(30, 150, 60));
    // The penetration shown, when the file holds more than one: a strip along the bottom.
    m_shownSpan = span(plot, QColor(60, 60, 60));
    m_shownSpan->setBrush(QColor(60, 60, 60, 110));
    m_shownSpan->setPen(Qt::NoPen);
    m_penetration = verticalLine(plot, QColor(30, 30, 30), Qt::SolidLine);
    m_on = verticalLine(plot, QColor(200, 40, 40), Qt::DashLine);
    m_off = verticalLine(plot, QColor(200, 40, 40), Qt::DotLine);
    m_penetrationLabel = label(plot, QStringLiteral("penetration"), QColor(30, 30, 30));
    m_onLabel = label(plot, QStringLiteral("heater on"), QColor(200, 40, 40));
    m_offLabel = label(plot, QStringLiteral("heater off"), QColor(200, 40, 40));
    m_decayLabel = label(plot, QStringLiteral("decay fit"), QColor(30, 80, 170));
    m_heatingLabel = label(plot, QStringLiteral("heating fit"), QColor(20, 110, 40));
    for (QCPItemText* text : {m_decayLabel, m_heatingLabel}) {
        text->setRotation(0);
        text->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }
    m_plot.installEventFilter(this);
    m_plot.setMouseTracking(true);
    connect(&m_plot, &QCustomPlot::afterLayout, this, &FitMarkers::placeSpanLabels);
    connect(&m_controller, &ReductionController::reduced, this, &FitMarkers::refresh);
    refresh();
}

FitMarkers::~FitMarkers() {
    // The window may have deleted its plot first (its children go in the order made).
    if (m_plotAlive) {
        m_plot.removeEventFilter(this);
    }
}

std::optional<double> FitMarkers::handleKey(Handle handle) const {
    const auto& r = m_controller.results();
    const auto decay = [&]() -> std::optional<analysis::FitWindow> {
        for (const auto& s : r.sensors) {
            if (s.decayWindow) {
                return s.decayWindow;
            }
        }
        return std::nullopt;
    };
    const auto heating = [&]() -> std::optional<analysis::FitWindow> {
        for (const auto& s : r.sensors) {
            if (s.kWindow) {
                return s.kWindow;
            }
        }
        return std::nullopt;
    };
    switch (handle) {
    case Handle::Penetration:
        return r.records > 0 ? r.penetrationS : std::nullopt;
    case Handle::DecayFrom:
        if (const auto w = decay()) {
            return w->fromS;
        }
        break;
    case Handle::DecayTo:
        if (const auto w = decay()) {
            return w->toS;
        }
        break;
    case Handle::HeatingFrom:
        if (const auto w = heating()) {
            return w->fromS;
        }
        break;
    case Handle::HeatingTo:
        if (const auto w = heating()) {
            return w->toS;
        }
        break;
    case Handle::None:
        break;
    }
    return std::nullopt;
}

std::optional<double> FitMarkers::heaterOnKey() const {
    return m_controller.results().heater.onS;
}

std::optional<double> FitMarkers::heaterOffKey() const {
    return m_controller.results().heater.offS;
}

FitMarkers::Handle FitMarkers::handleAt(const QPointF& pixel) const {
    QCPAxisRect* rect = m_plot.axisRect();
    if (!rect || !rect->rect().contains(pixel.toPoint())) {
        return Handle::None;
    }
    Handle best = Handle::None;
    double nearest = kGrabPixels;
    // The penetration first: it wins over a window edge under it.
    for (Handle h : {Handle::Penetration, Handle::DecayFrom, Handle::DecayTo, Handle::HeatingFrom,
                     Handle::HeatingTo}) {
        const auto key = handleKey(h);
        if (!key) {
            continue;
        }
        const double distance = std::abs(m_plot.xAxis->coordToPixel(*key) - pixel.x());
        if (distance < nearest) {
            nearest = distance;
            best = h;
        }
    }
    return best;
}

void FitMarkers::moveHandle(Handle handle, double key) {
    const auto& r = m_controller.results();
    const double tp = r.penetrationS.value_or(0.0);
    const double on = r.heater.onS.value_or(0.0);
    switch (handle) {
    case Handle::Penetration:
        m_controller.setPenetration(key);
        break;
    case Handle::DecayFrom:
    case Handle::DecayTo: {
        double from = handleKey(Handle::DecayFrom).value_or(key) - tp;
        double to = handleKey(Handle::DecayTo).value_or(key) - tp;
        (handle == Handle::DecayFrom ? from : to) = key - tp;
        m_controller.setDecayWindow(
            ReductionController::Window{std::min(from, to), std::max(from, to)});
        break;
    }
    case Handle::HeatingFrom:
    case Handle::HeatingTo: {
        // A pulse's window counts from the pulse's middle, a heating's from the switch-on.
        const double origin = r.heater.pulse && r.heater.offS ? (on + *r.heater.offS) / 2.0 : on;
        double from = handleKey(Handle::HeatingFrom).value_or(key) - origin;
        double to = handleKey(Handle::HeatingTo).value_or(key) - origin;
        (handle == Handle::HeatingFrom ? from : to) = key - origin;
        const ReductionController::Window w{std::min(from, to), std::max(from, to)};
        if (r.heater.pulse) {
            m_controller.setPulseWindow(w);
        } else {
            m_controller.setHeatingWindow(w);
        }
        break;
    }
    case Handle::None:
        break;
    }
}

bool FitMarkers::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_plot) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return false;
        }
        m_dragging = handleAt(mouse->position());
        return m_dragging != Handle::None;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging != Handle::None) {
            moveHandle(m_dragging, m_plot.xAxis->pixelToCoord(mouse->position().x()));
            return true;
        }
        if (mouse->buttons() == Qt::NoButton) {
            if (handleAt(mouse->position()) != Handle::None) {
                m_plot.setCursor(Qt::SizeHorCursor);
            } else {
                m_plot.unsetCursor();
            }
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragging != Handle::None) {
            m_dragging = Handle::None;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void FitMarkers::place(QCPItemStraightLine* line, QCPItemText* text, std::optional<double> key) {
    line->setVisible(key.has_value());
    text->setVisible(key.has_value());
    if (key) {
        line->point1->setCoords(*key, 0.0);
        line->point2->setCoords(*key, 1.0);
        text->position->setCoords(*key, 0.62);
    }
}

void FitMarkers::placeSpan(QCPItemRect* rect, QCPItemText* text, std::optional<double> from,
                           std::optional<double> to) {
    rect->setVisible(from && to);
    text->setVisible(from && to);
    if (from && to) {
        rect->topLeft->setCoords(*from, 0.0);
        rect->bottomRight->setCoords(*to, 1.0);
        text->position->setCoords((*from + *to) / 2.0, 0.99);
    }
}

void FitMarkers::placeSpanLabels() {
    // Each label in the middle of what is in view of its span, and wholly inside the plot:
    // in the middle of a span cut by the edge it was cut too ("ating fit").
    QCPAxisRect* area = m_plot.axisRect();
    const QCPRange view = m_plot.xAxis->range();
    for (const auto& [rect, text] :
         {std::pair{m_decay, m_decayLabel}, std::pair{m_heating, m_heatingLabel}}) {
        if (!rect->visible()) {
            continue;
        }
        const double from = std::max(view.lower, rect->topLeft->key());
        const double to = std::min(view.upper, rect->bottomRight->key());
        text->setVisible(from < to);
        if (from >= to) {
            continue;
        }
        const QMargins pad = text->padding();
        const double half = (QFontMetricsF(text->font()).horizontalAdvance(text->text()) +
                             pad.left() + pad.right()) /
                            2.0;
        // A pixel or two to spare beyond half the label's width.
        const double left = area->left() + half + 2.0;
        const double right = area->right() - half - 2.0;
        const double middle = m_plot.xAxis->coordToPixel((from + to) / 2.0);
        const double at = left < right ? std::clamp(middle, left, right) : middle;
        text->position->setCoords(m_plot.xAxis->pixelToCoord(at), 0.99);
    }
}

void FitMarkers::refresh() {
    if (m_shown != m_controller.generation()) {
        // A drag begun on another penetration does not move the marks of the one shown now.
        m_shown = m_controller.generation();
        m_dragging = Handle::None;
    }
    place(m_penetration, m_penetrationLabel, handleKey(Handle::Penetration));
    place(m_on, m_onLabel, heaterOnKey());
    place(m_off, m_offLabel, heaterOffKey());
    placeSpan(m_decay, m_decayLabel, handleKey(Handle::DecayFrom), handleKey(Handle::DecayTo));
    m_heatingLabel->setText(m_controller.results().heater.pulse ? QStringLiteral("pulse fit")
                                                                : QStringLiteral("heating fit"));
    placeSpan(m_heating, m_heatingLabel, handleKey(Handle::HeatingFrom),
              handleKey(Handle::HeatingTo));
    const auto& times = m_controller.records().timeS();
    m_shownSpan->setVisible(m_controller.penetrations().size() > 1 && !times.empty());
    if (m_shownSpan->visible()) {
        m_shownSpan->topLeft->setCoords(times.front(), 0.985);
        m_shownSpan->bottomRight->setCoords(times.back(), 1.0);
    }
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

std::optional<std::pair<double, double>> FitMarkers::shownSpan() const {
    if (!m_shownSpan->visible()) {
        return std::nullopt;
    }
    return std::pair{m_shownSpan->topLeft->key(), m_shownSpan->bottomRight->key()};
}

} // namespace quorvane
