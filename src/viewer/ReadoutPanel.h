#pragma once

#include "viewer/RunSeries.h"

#include <QLabel>
#include <QWidget>
#include <optional>

namespace quorvane {

// The values of the record under the cursor, two picked records and their difference. A
// cursor in a gap of the records says so, with how far the nearest record is.
class ReadoutPanel : public QWidget {
    Q_OBJECT
public:
    explicit ReadoutPanel(const RunSeries& series, QWidget* parent = nullptr);

    void showCursor(double utcSeconds);
    // A first pick, then a second; a third starts again.
    void pick(double utcSeconds);
    void clear();

    QString cursorText() const { return m_cursor->text(); }
    QString differenceText() const { return m_difference->text(); }

signals:
    // The picked records' keys (for the marks on the plot).
    void picksChanged(std::optional<double> a, std::optional<double> b);

private:
    QString describe(int index) const;
    void tellPicks();

    const RunSeries& m_series;
    QLabel* m_cursor;
    QLabel* m_pickA;
    QLabel* m_pickB;
    QLabel* m_difference;
    std::optional<int> m_a;
    std::optional<int> m_b;
};

} // namespace quorvane
