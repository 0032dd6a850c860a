#pragma once

#include "analysis/ReductionResults.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QCustomPlot;
class QPainter;
class QRect;

namespace quorvane {

// The exports of a reduction: the results as JSON (the same bytes as --analyze prints), and
// a one-page report with the plots and the numbers, as PDF or PNG.
class ReportExporter {
public:
    struct Plots {
        QCustomPlot* temperatures = nullptr; // may be null
        QCustomPlot* decay = nullptr;
        QCustomPlot* heating = nullptr;
    };

    ReportExporter(const analysis::ReductionResults& results, QString profileText, Plots plots,
                   int sensor);

    static bool writeJson(const QString& path, const analysis::ReductionResults& results,
                          QString& error);
    // PDF when the name ends in .pdf, else PNG.
    bool writeReport(const QString& path, QString& error) const;
    bool writePdf(const QString& path, QString& error) const;
    bool writePng(const QString& path, QString& error) const;

    // The numbers the report writes: the station's (name, value) and a row per thermistor.
    QList<QPair<QString, QString>> stationRows() const;
    QList<QStringList> sensorRows() const;

    // One A4 page, portrait, of this many pixels.
    static constexpr int kPageWidth = 1240;
    static constexpr int kPageHeight = 1754;

private:
    void paint(QPainter& painter, const QRect& page) const;

    const analysis::ReductionResults& m_results;
    QString m_profileText;
    Plots m_plots;
    int m_sensor;
};

} // namespace quorvane
