#pragma once

#include "station/PenetrationKey.h"
#include "station/StationChoices.h"
#include "station/StationDescription.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <map>
#include <optional>

namespace quorvane::station {

// What the operator chose and told about the stations of one data log file, kept beside it
// as <file>.station.json:
//
//   {"format": "quorvane-station", "version": 1,
//    "description": {…what all its penetrations share…},
//    "penetrations": [{"run": 1, "penetration": 1,
//                      "description": {…this penetration's own values…},
//                      "choices": {…StationChoices…}}, …]}
//
// One lowering is one station: cruise, station, position and probe are entered once for the
// file, and a penetration's own description overrides them where it holds a value; the
// penetration number is a penetration's own only. Keys are written in alphabetical order
// and penetrations by run and penetration, so the same choices give the same bytes.
class StationFile {
public:
    static constexpr int kFormatVersion = 1;

    // <data file path>.station.json
    static QString pathFor(const QString& dataFilePath);

    const StationDescription& common() const { return m_common; }
    void setCommon(const StationDescription& description) { m_common = description; }

    // The penetration's own description (what it overrides), and the one that holds for it.
    StationDescription ownDescription(const PenetrationKey& key) const;
    void setOwnDescription(const PenetrationKey& key, const StationDescription& description);
    StationDescription descriptionFor(const PenetrationKey& key) const;

    // The reduction's defaults when nothing was chosen for the penetration.
    StationChoices choicesFor(const PenetrationKey& key) const;
    void setChoices(const PenetrationKey& key, const StationChoices& choices);

    // Penetrations something was chosen or told for, in order.
    QList<PenetrationKey> penetrations() const;

    // Why the file cannot be written as it stands; empty when it can.
    QString problem() const;

    QByteArray toJson() const;
    // Refuses what is not a station file or holds a refused value, with the reason. Keys
    // this program does not know are kept.
    static std::optional<StationFile> fromJson(const QByteArray& json, QString& error);

    bool operator==(const StationFile&) const = default;

private:
    struct Entry {
        StationDescription description;
        StationChoices choices;
        QJsonObject otherKeys;
        bool operator==(const Entry&) const = default;
    };
    void dropIfEmpty(const PenetrationKey& key);

    StationDescription m_common;
    std::map<PenetrationKey, Entry> m_entries;
    QJsonObject m_otherKeys;
};

} // namespace quorvane::station
