#pragma once

#include "analysis/ReductionResults.h"
#include "viewer/reduction/StationSnapshot.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class QPainter;

namespace quorvane {

// The exports of a reduction: the results as JSON (the same bytes as --analyze prints), and a
// report of one A4 page per penetration, as one PDF or as PNG files (the first at the name
// given, the others at name-2.png, name-3.png, …). A page holds what a reader needs to redo
// the reduction: the program's version, the data file's name and SHA-256, the probe profile,
// the station description, the penetration, windows, exclusions and calibration, the numbers
// per thermistor and for the station, the whole run's plot with the penetration's marks, the
// temperature-depth and Bullard plots, every thermistor's two fits, and every flag in words.
class ReportExporter {
public:
    struct Input {
        QString dataFilePath;
        QString profileSource; // where the probe profile came from
        // A page each; a station without records goes without the plots of records.
        QList<StationSnapshot> stations;
    };

    explicit ReportExporter(Input input);

    // The penetration's results JSON as `--analyze --station N` prints it.
    static bool writeJson(const QString& path, const QJsonObject& results, QString& error);
    // PDF when the name ends in .pdf, else PNG.
    bool writeReport(const QString& path, QString& error) const;
    bool writePdf(const QString& path, QString& error) const;
    bool writePng(const QString& path, QString& error) const;
    // The files writePng writes for `path`, a page each.
    QStringList pngPaths(const QString& path) const;

    int pageCount() const { return static_cast<int>(m_input.stations.size()); }
    // The data file's SHA-256 in hex; empty with the reason when it cannot be read.
    static QString sha256(const QString& path, QString& error);
    // Quorvane's version, as the report names it.
    static QString programVersion();

    // One A4 page, portrait, at 150 dots per inch.
    static constexpr int kPageWidth = 1240;
    static constexpr int kPageHeight = 1754;

private:
    // `fileLine`: the data file's name and SHA-256; `plotScale`: how many pixels per page
    // pixel the plots are drawn with.
    void paintPage(QPainter& painter, int page, const QString& fileLine, double plotScale) const;
    QString fileLine() const;

    Input m_input;
};

} // namespace quorvane
