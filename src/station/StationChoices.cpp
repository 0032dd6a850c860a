#include "station/StationChoices.h"

#include "station/NumberText.h"

#include <QDateTime>
#include <QJsonArray>
#include <QTimeZone>

#include <cmath>

namespace quorvane::station {

namespace {

const QString kPenetrationUtc = QStringLiteral("penetration_utc");
const QString kWindows = QStringLiteral("windows");
const QString kExcluded = QStringLiteral("excluded");
const QString kFrom = QStringLiteral("from");
const QString kReason = QStringLiteral("reason");
const QString kHidden = QStringLiteral("hidden");
const QString kEnteredK = QStringLiteral("entered_k_w_per_m_k");
const QString kCalibrate = QStringLiteral("calibrate_bottom_water");
const QString kGradient = QStringLiteral("gradient");
const QString kK = QStringLiteral("k");

// The largest k anyone would enter; more is a slip of the units.
constexpr double kMaxEnteredK = 10.0;

struct WindowSlot {
    const char* key;
    const char* words;
    std::optional<StationChoices::Window> StationChoices::*member;
};
const WindowSlot kWindowSlots[] = {
    {"decay_s", "decay window", &StationChoices::decayWindowS},
    {"heating_s", "heating window", &StationChoices::heatingWindowS},
    {"pulse_s", "pulse window", &StationChoices::pulseWindowS},
};

QJsonArray exclusionJson(StationChoices::Exclusion e) {
    using E = StationChoices::Exclusion;
    QJsonArray a;
    if (e == E::Gradient || e == E::Both) {
        a.append(kGradient);
    }
    if (e == E::K || e == E::Both) {
        a.append(kK);
    }
    return a;
}

} // namespace

const QStringList& StationChoices::sensorNames() {
    static const QStringList names = {QStringLiteral("TTop"), QStringLiteral("T2"),
                                      QStringLiteral("T3"), QStringLiteral("T4"),
                                      QStringLiteral("TBot")};
    return names;
}

QString StationChoices::problem() const {
    if (penetrationS && !std::isfinite(*penetrationS)) {
        return QStringLiteral("penetration time is not a number");
    }
    for (const WindowSlot& slot : kWindowSlots) {
        const auto& w = this->*slot.member;
        if (w && !(std::isfinite(w->fromS) && std::isfinite(w->toS) && w->fromS < w->toS)) {
            return QStringLiteral("%1 %2 to %3 s does not end after it starts")
                .arg(QLatin1String(slot.words), NumberText::format(w->fromS),
                     NumberText::format(w->toS));
        }
    }
    auto unknown = [](const QString& name) { return !sensorNames().contains(name); };
    for (const auto& [name, e] : excluded) {
        if (unknown(name)) {
            return QStringLiteral("no thermistor is called \"%1\"").arg(name);
        }
    }
    for (const QString& name : hidden) {
        if (unknown(name)) {
            return QStringLiteral("no thermistor is called \"%1\"").arg(name);
        }
    }
    for (const auto& [name, k] : enteredKWPerMK) {
        if (unknown(name)) {
            return QStringLiteral("no thermistor is called \"%1\"").arg(name);
        }
        if (!std::isfinite(k) || !(k > 0.0) || k > kMaxEnteredK) {
            return QStringLiteral("conductivity %1 W/(m·K) entered for %2 is outside 0 to %3")
                .arg(NumberText::format(k), name, NumberText::format(kMaxEnteredK));
        }
    }
    return {};
}

bool StationChoices::isDefault() const {
    return toJson().isEmpty();
}

QJsonObject StationChoices::toJson() const {
    QJsonObject o = otherKeys;
    if (penetrationS) {
        o.insert(kPenetrationUtc, utc(*penetrationS));
    }
    QJsonObject windows;
    for (const WindowSlot& slot : kWindowSlots) {
        if (const auto& w = this->*slot.member) {
            windows.insert(QLatin1String(slot.key), QJsonArray{w->fromS, w->toS});
        }
    }
    if (!windows.isEmpty()) {
        o.insert(kWindows, windows);
    }
    QJsonObject excludedJson;
    for (const auto& [name, e] : excluded) {
        if (e.from == Exclusion::None) {
            continue;
        }
        QJsonObject one{{kFrom, exclusionJson(e.from)}};
        if (!e.reason.trimmed().isEmpty()) {
            one.insert(kReason, e.reason);
        }
        excludedJson.insert(name, one);
    }
    if (!excludedJson.isEmpty()) {
        o.insert(kExcluded, excludedJson);
    }
    // Top to bottom, each once, whatever order they were hidden in.
    QJsonArray hiddenJson;
    for (const QString& name : sensorNames()) {
        if (hidden.contains(name)) {
            hiddenJson.append(name);
        }
    }
    if (!hiddenJson.isEmpty()) {
        o.insert(kHidden, hiddenJson);
    }
    QJsonObject k;
    for (const auto& [name, value] : enteredKWPerMK) {
        k.insert(name, value);
    }
    if (!k.isEmpty()) {
        o.insert(kEnteredK, k);
    }
    if (calibrateBottomWater) {
        o.insert(kCalibrate, true);
    }
    return o;
}

std::optional<StationChoices> StationChoices::fromJson(const QJsonObject& object, QString& error) {
    StationChoices c;
    c.otherKeys = object;
    for (const QString& key :
         {kPenetrationUtc, kWindows, kExcluded, kHidden, kEnteredK, kCalibrate}) {
        c.otherKeys.remove(key);
    }
    auto refuse = [&](const QString& why) {
        error = why;
        return std::nullopt;
    };
    const QJsonValue penetration = object.value(kPenetrationUtc);
    if (penetration.isString()) {
        c.penetrationS = parseUtc(penetration.toString());
        if (!c.penetrationS) {
            return refuse(QStringLiteral("penetration time \"%1\" is not an ISO 8601 UTC time")
                              .arg(penetration.toString()));
        }
    } else if (!penetration.isUndefined() && !penetration.isNull()) {
        return refuse(QStringLiteral("\"penetration_utc\" must be an ISO 8601 UTC time"));
    }

    const QJsonValue windows = object.value(kWindows);
    if (!windows.isUndefined() && !windows.isObject()) {
        return refuse(QStringLiteral("\"windows\" must be an object"));
    }
    for (const WindowSlot& slot : kWindowSlots) {
        const QJsonValue w = windows.toObject().value(QLatin1String(slot.key));
        if (w.isUndefined() || w.isNull()) {
            continue;
        }
        const QJsonArray pair = w.toArray();
        if (!w.isArray() || pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble()) {
            return refuse(
                QStringLiteral("%1 must be two numbers of seconds").arg(QLatin1String(slot.words)));
        }
        c.*slot.member = Window{pair[0].toDouble(), pair[1].toDouble()};
    }

    const QJsonValue excluded = object.value(kExcluded);
    if (!excluded.isUndefined() && !excluded.isObject()) {
        return refuse(QStringLiteral("\"excluded\" must be an object"));
    }
    const QJsonObject excludedObject = excluded.toObject();
    for (auto it = excludedObject.begin(); it != excludedObject.end(); ++it) {
        const QJsonObject one = it.value().toObject();
        const QJsonValue from = one.value(kFrom);
        const QJsonValue reason = one.value(kReason);
        if (!it.value().isObject() || !from.isArray() ||
            !(reason.isUndefined() || reason.isString())) {
            return refuse(
                QStringLiteral("exclusion of %1 must name what it is excluded from").arg(it.key()));
        }
        bool gradient = false;
        bool k = false;
        for (const QJsonValue& what : from.toArray()) {
            if (what == QJsonValue(kGradient)) {
                gradient = true;
            } else if (what == QJsonValue(kK)) {
                k = true;
            } else {
                return refuse(QStringLiteral("%1 can be excluded from \"gradient\" and \"k\" only")
                                  .arg(it.key()));
            }
        }
        const Exclusion e = gradient && k ? Exclusion::Both
                            : gradient    ? Exclusion::Gradient
                            : k           ? Exclusion::K
                                          : Exclusion::None;
        if (e != Exclusion::None) {
            c.excluded[it.key()] = Excluded{e, reason.toString()};
        }
    }

    const QJsonValue hidden = object.value(kHidden);
    if (!hidden.isUndefined() && !hidden.isArray()) {
        return refuse(QStringLiteral("\"hidden\" must be a list of thermistors"));
    }
    for (const QJsonValue& name : hidden.toArray()) {
        if (!name.isString()) {
            return refuse(QStringLiteral("\"hidden\" must be a list of thermistors"));
        }
        if (!c.hidden.contains(name.toString())) {
            c.hidden << name.toString();
        }
    }

    const QJsonValue enteredK = object.value(kEnteredK);
    if (!enteredK.isUndefined() && !enteredK.isObject()) {
        return refuse(QStringLiteral("\"entered_k_w_per_m_k\" must be an object"));
    }
    const QJsonObject kObject = enteredK.toObject();
    for (auto it = kObject.begin(); it != kObject.end(); ++it) {
        if (!it.value().isDouble()) {
            return refuse(
                QStringLiteral("conductivity entered for %1 must be a number").arg(it.key()));
        }
        c.enteredKWPerMK[it.key()] = it.value().toDouble();
    }

    const QJsonValue calibrate = object.value(kCalibrate);
    if (!calibrate.isUndefined() && !calibrate.isBool()) {
        return refuse(QStringLiteral("\"calibrate_bottom_water\" must be true or false"));
    }
    c.calibrateBottomWater = calibrate.toBool(false);

    error = c.problem();
    if (!error.isEmpty()) {
        return std::nullopt;
    }
    return c;
}

QString StationChoices::utc(double timeS) {
    const auto ms = static_cast<qint64>(std::llround(timeS * 1000.0));
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
    return t.toString(ms % 1000 == 0 ? QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")
                                     : QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

std::optional<double> StationChoices::parseUtc(const QString& text) {
    if (!text.endsWith(QLatin1Char('Z'))) {
        return std::nullopt;
    }
    const QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid()) {
        return std::nullopt;
    }
    return static_cast<double>(t.toMSecsSinceEpoch()) / 1000.0;
}

} // namespace quorvane::station
