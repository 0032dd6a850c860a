#pragma once

#include "analysis/ReductionResults.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace quorvane::analysis {

// The results as JSON: keys, units and nulls as `quorvane-view --analyze` prints them.
// Values are rounded to what the measurement can tell; errors to two significant digits.
class ResultsJson {
public:
    static QJsonObject toObject(const ReductionResults& results);
    static QByteArray toJson(const ReductionResults& results);
    // Any results object or array of them, keys in the documented order.
    static QByteArray toJson(const QJsonValue& value);

    // UTC seconds since 1970 as ISO 8601 ("…T13:00:05Z", with milliseconds when not whole).
    static QString utc(double timeS);
    // ISO 8601 UTC back to seconds; nullopt when it is not such a time.
    static std::optional<double> parseUtc(const QString& text);
};

} // namespace quorvane::analysis
