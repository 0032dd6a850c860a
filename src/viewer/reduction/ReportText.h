#pragma once

#include "viewer/reduction/StationSnapshot.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace quorvane {

// The words and numbers of one report page: everything a reader needs to redo the reduction.
// Numbers are those of the results JSON, as rounded there, written with a point under any
// locale; the windows and the fits' misfits, which the JSON leaves out, come from the results.
class ReportText {
public:
    // `profileSource`: where the probe profile came from ("from …/0417.json").
    ReportText(const StationSnapshot& station, QString profileSource);

    // "SO-280 HF-12, penetration 2", else the data file's name.
    QString title() const;
    QString description() const;
    QString probe() const;
    QString penetration() const;
    QString heater() const;
    QStringList windows() const;
    QString calibration() const;
    QString exclusions() const;
    QString uncertainty() const;

    static QStringList sensorHeads();
    QList<QStringList> sensorRows() const;
    QList<QPair<QString, QString>> resultRows() const;
    // Every flag of the station and its thermistors, and the quality's cap, in words.
    QStringList flags() const;

    // A number of the JSON as the JSON writes it; a dash for null.
    static QString number(const QJsonValue& value);
    static QString number(double value);
    // "4.1234 ± 0.00041", or the value alone without an error.
    static QString withError(const QJsonValue& value, const QJsonValue& error);

private:
    const analysis::ReductionResults& results() const { return m_station.results; }

    const StationSnapshot& m_station;
    QJsonObject m_json;
    QString m_profileSource;
};

} // namespace quorvane
