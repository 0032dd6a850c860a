#include "viewer/reduction/StationSnapshot.h"

#include "analysis/ResultsJson.h"

namespace quorvane {

QJsonObject StationSnapshot::json() const {
    QJsonObject o = analysis::ResultsJson::toObject(results);
    if (!description.isEmpty()) {
        o.insert(QStringLiteral("station"), description.toJson());
    }
    return o;
}

} // namespace quorvane
