#pragma once

#include <QObject>
#include <QPointer>
#include <optional>

class QCustomPlot;
class QCPItemRect;
class QCPItemStraightLine;
class QCPItemText;

namespace quorvane {

class ReductionController;

// The reduction's marks on the temperature plot (keys in UTC seconds): lines at the
// penetration, the heater's switch-on and switch-off, and the decay and heating windows as
// shaded spans. The penetration line and the windows' edges can be dragged with the mouse;
// the reduction follows.
class FitMarkers : public QObject {
    Q_OBJECT
public:
    enum class Handle { None, Penetration, DecayFrom, DecayTo, HeatingFrom, HeatingTo };

    FitMarkers(QCustomPlot& plot, ReductionController& controller, QObject* parent = nullptr);
    ~FitMarkers() override;

    // What a press at this pixel would drag.
    Handle handleAt(const QPointF& pixel) const;
    // The labels of the decay and heating windows.
    const QCPItemText& decayLabel() const { return *m_decayLabel; }
    const QCPItemText& heatingLabel() const { return *m_heatingLabel; }
    // Moves a handle to a key, as a drag there does.
    void moveHandle(Handle handle, double key);
    std::optional<double> handleKey(Handle handle) const;
    std::optional<double> heaterOnKey() const;
    std::optional<double> heaterOffKey() const;
    // The first and last record of the penetration shown, marked when the file holds several.
    std::optional<std::pair<double, double>> shownSpan() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void place(QCPItemStraightLine* line, QCPItemText* label, std::optional<double> key);
    void placeSpan(QCPItemRect* rect, QCPItemText* label, std::optional<double> from,
                   std::optional<double> to);
    void placeSpanLabels();

    QCustomPlot& m_plot;
    QPointer<QCustomPlot> m_plotAlive;
    ReductionController& m_controller;
    QCPItemStraightLine* m_penetration;
    QCPItemStraightLine* m_on;
    QCPItemStraightLine* m_off;
    QCPItemText* m_penetrationLabel;
    QCPItemText* m_onLabel;
    QCPItemText* m_offLabel;
    QCPItemRect* m_decay;
    QCPItemRect* m_heating;
    QCPItemRect* m_shownSpan;
    QCPItemText* m_decayLabel;
    QCPItemText* m_heatingLabel;
    Handle m_dragging = Handle::None;
    int m_shown = -1; // the controller's generation the marks show
};

} // namespace quorvane
