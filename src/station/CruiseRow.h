#pragma once

#include "station/StationDescription.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace quorvane::station {

// One penetration's row of the cruise table: cells by column name (CruiseColumns), as text.
class CruiseRow {
public:
    struct Key {
        QString cruise;
        QString station;
        QString penetration;
        bool operator==(const Key&) const = default;
    };

    // The row for one penetration: `results` is one object of the results JSON, `description`
    // what the operator told about the station. The penetration is the description's number,
    // else the results' "station_index". `dataFilePath` is kept absolute.
    static CruiseRow fromResults(const QJsonObject& results, const StationDescription& description,
                                 const QString& dataFilePath, const QString& reportPath = {});

    QString text(const QString& column) const { return m_cells.value(column); }
    // The cell as a number; nothing when it is empty or not a number.
    std::optional<double> number(const QString& column) const;
    void set(const QString& column, const QString& text) { m_cells.insert(column, text); }

    Key key() const;
    // Why the row cannot go into a cruise table (no station name, no penetration number);
    // empty when it can.
    QString problem() const;
    // "SO-280 HF-12 penetration 2", for messages.
    QString label() const;

    bool operator==(const CruiseRow&) const = default;

private:
    QHash<QString, QString> m_cells;
};

} // namespace quorvane::station
