#pragma once

#include <qcustomplot.h>

namespace quorvane {

// Tick labels in seconds since an origin (the first record), for keys in UTC seconds.
class ElapsedTicker : public QCPAxisTicker {
public:
    void setOrigin(double origin) { m_origin = origin; }

protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    double m_origin = 0;
};

} // namespace quorvane
