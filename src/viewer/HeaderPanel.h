#pragma once

#include "datafile/LogHeader.h"

#include <QLabel>
#include <QWidget>
#include <array>
#include <vector>

namespace quorvane {

// The header block of the shown run: instrument S/N, firmware, delay, heat duration,
// power level, heater enabled, data type and log interval.
class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 9;

    explicit HeaderPanel(QWidget* parent = nullptr);

    // Shows the last block; empty headers say that the file has none (yet).
    void showHeaders(const std::vector<LogHeader>& headers);
    // The value shown in a row (0 instrument ... 7 log interval, 8 blocks), for tests.
    QString value(int row) const;

private:
    std::array<QLabel*, kRows> m_values{};
};

} // namespace quorvane
