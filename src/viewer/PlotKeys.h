#pragma once

#include <QObject>
#include <QString>

namespace quorvane {

class TemperaturePlot;

// The temperature plot from the keyboard: the arrows pan, + and - zoom, Home shows the whole
// run, F follows the newest data; Shift + arrows move the cursor from record to record and
// Enter picks the record at the cursor. The plot takes the focus by Tab or a click and shows
// it with a frame.
class PlotKeys : public QObject {
    Q_OBJECT
public:
    PlotKeys(TemperaturePlot& plot, QObject* parent = nullptr);

    // The keys in words, for the plot's accessible description.
    static QString help();

    // A pan moves the view by this share of its width; a zoom step changes it by this factor.
    static constexpr double kPanShare = 0.1;
    static constexpr double kZoomFactor = 0.8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool key(int key, Qt::KeyboardModifiers modifiers);
    double cursorOrCentre() const;
    void cursorToRecordNear(double key);
    void stepCursor(int step);

    TemperaturePlot& m_plot;
};

} // namespace quorvane
