#include "station/StationFile.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace quorvane::station {

namespace {

const QString kFormat = QStringLiteral("format");
const QString kFormatName = QStringLiteral("quorvane-station");
const QString kVersion = QStringLiteral("version");
const QString kDescription = QStringLiteral("description");
const QString kPenetrations = QStringLiteral("penetrations");
const QString kRun = QStringLiteral("run");
const QString kPenetration = QStringLiteral("penetration");
const QString kChoices = QStringLiteral("choices");

QString nameOf(const PenetrationKey& key) {
    return QStringLiteral("penetration %1 of run %2").arg(key.penetration).arg(key.run);
}

std::optional<int> count(const QJsonValue& v) {
    if (!v.isDouble() || v.toDouble() != std::trunc(v.toDouble()) || v.toDouble() < 1.0 ||
        v.toDouble() > 1e9) {
        return std::nullopt;
    }
    return static_cast<int>(v.toDouble());
}

} // namespace

QString StationFile::pathFor(const QString& dataFilePath) {
    return dataFilePath + QStringLiteral(".station.json");
}

StationDescription StationFile::ownDescription(const PenetrationKey& key) const {
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? StationDescription{} : it->second.description;
}

void StationFile::setOwnDescription(const PenetrationKey& key,
                                    const StationDescription& description) {
    m_entries[key].description = description;
    dropIfEmpty(key);
}

StationDescription StationFile::descriptionFor(const PenetrationKey& key) const {
    return m_common.inheritedBy(ownDescription(key));
}

StationChoices StationFile::choicesFor(const PenetrationKey& key) const {
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? StationChoices{} : it->second.choices;
}

void StationFile::setChoices(const PenetrationKey& key, const StationChoices& choices) {
    m_entries[key].choices = choices;
    dropIfEmpty(key);
}

void StationFile::dropIfEmpty(const PenetrationKey& key) {
    const auto it = m_entries.find(key);
    if (it != m_entries.end() && it->second.description.isEmpty() &&
        it->second.choices.isDefault() && it->second.otherKeys.isEmpty()) {
        m_entries.erase(it);
    }
}

QList<PenetrationKey> StationFile::penetrations() const {
    QList<PenetrationKey> keys;
    for (const auto& [key, entry] : m_entries) {
        keys << key;
    }
    return keys;
}

QString StationFile::problem() const {
    QString why = m_common.problem();
    if (!why.isEmpty()) {
        return QStringLiteral("station description: ") + why;
    }
    for (const auto& [key, entry] : m_entries) {
        if (key.run < 1 || key.penetration < 1) {
            return QStringLiteral("%1: runs and penetrations count from 1").arg(nameOf(key));
        }
        why = entry.description.problem();
        if (why.isEmpty()) {
            why = entry.choices.problem();
        }
        if (!why.isEmpty()) {
            return nameOf(key) + QStringLiteral(": ") + why;
        }
    }
    return {};
}

QByteArray StationFile::toJson() const {
    QJsonObject o = m_otherKeys;
    o.insert(kFormat, kFormatName);
    o.insert(kVersion, kFormatVersion);
    o.insert(kDescription, m_common.toJson());
    QJsonArray penetrations;
    for (const auto& [key, entry] : m_entries) {
        QJsonObject p = entry.otherKeys;
        p.insert(kRun, key.run);
        p.insert(kPenetration, key.penetration);
        p.insert(kDescription, entry.description.toJson());
        p.insert(kChoices, entry.choices.toJson());
        penetrations.append(p);
    }
    o.insert(kPenetrations, penetrations);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<StationFile> StationFile::fromJson(const QByteArray& json, QString& error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at byte %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    if (!doc.isObject() || o.value(kFormat) != QJsonValue(kFormatName)) {
        error = QStringLiteral("not a station file (no \"format\": \"%1\")").arg(kFormatName);
        return std::nullopt;
    }
    const auto version = count(o.value(kVersion));
    if (!version) {
        error = QStringLiteral("\"version\" must be a whole number from 1");
        return std::nullopt;
    }
    if (*version > kFormatVersion) {
        error = QStringLiteral("written by a newer program (format %1; this one reads %2)")
                    .arg(*version)
                    .arg(kFormatVersion);
        return std::nullopt;
    }

    StationFile file;
    file.m_otherKeys = o;
    for (const QString& key : {kFormat, kVersion, kDescription, kPenetrations}) {
        file.m_otherKeys.remove(key);
    }
    const QJsonValue description = o.value(kDescription);
    if (!description.isUndefined() && !description.isObject()) {
        error = QStringLiteral("\"description\" must be an object");
        return std::nullopt;
    }
    QString why;
    const auto common = StationDescription::fromJson(description.toObject(), why);
    if (!common) {
        error = QStringLiteral("station description: ") + why;
        return std::nullopt;
    }
    file.m_common = *common;

    const QJsonValue penetrations = o.value(kPenetrations);
    if (!penetrations.isUndefined() && !penetrations.isArray()) {
        error = QStringLiteral("\"penetrations\" must be a list");
        return std::nullopt;
    }
    for (const QJsonValue& value : penetrations.toArray()) {
        const QJsonObject p = value.toObject();
        const auto run = count(p.value(kRun));
        const auto penetration = count(p.value(kPenetration));
        if (!value.isObject() || !run || !penetration) {
            error = QStringLiteral("each penetration needs a \"run\" and a \"penetration\", "
                                   "whole numbers from 1");
            return std::nullopt;
        }
        const PenetrationKey key{*run, *penetration};
        if (file.m_entries.count(key) != 0) {
            error = nameOf(key) + QStringLiteral(" appears twice");
            return std::nullopt;
        }
        const QJsonValue ownDescription = p.value(kDescription);
        const QJsonValue choices = p.value(kChoices);
        if ((!ownDescription.isUndefined() && !ownDescription.isObject()) ||
            (!choices.isUndefined() && !choices.isObject())) {
            error = nameOf(key) + QStringLiteral(": \"description\" and \"choices\" must be "
                                                 "objects");
            return std::nullopt;
        }
        Entry entry;
        const auto d = StationDescription::fromJson(ownDescription.toObject(), why);
        const auto c = d ? StationChoices::fromJson(choices.toObject(), why) : std::nullopt;
        if (!d || !c) {
            error = nameOf(key) + QStringLiteral(": ") + why;
            return std::nullopt;
        }
        entry.description = *d;
        entry.choices = *c;
        entry.otherKeys = p;
        for (const QString& k : {kRun, kPenetration, kDescription, kChoices}) {
            entry.otherKeys.remove(k);
        }
        file.m_entries[key] = entry;
    }
    return file;
}

} // namespace quorvane::station
