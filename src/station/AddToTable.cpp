#include "station/AddToTable.h"

#include "station/CruiseTable.h"

namespace quorvane::station {

AddToTable::Outcome AddToTable::add(const QString& tablePath, const QList<CruiseRow>& rows,
                                    const AtomicFile::Progress& progress) {
    Outcome outcome;
    for (const CruiseRow& row : rows) {
        outcome.reason = row.problem();
        if (!outcome.reason.isEmpty()) {
            return outcome;
        }
    }
    auto table = CruiseTable::read(tablePath, outcome.reason, true);
    if (!table) {
        return outcome;
    }
    QList<CruiseRow::Key> before;
    for (const CruiseRow& row : table->rows()) {
        before << row.key();
    }
    QList<CruiseRow::Key> counted;
    for (const CruiseRow& row : rows) {
        table->put(row);
        // Two rows of this call with the same key: the later one stays, counted once.
        if (!counted.contains(row.key())) {
            counted << row.key();
            ++(before.contains(row.key()) ? outcome.replaced : outcome.added);
        }
    }
    if (!table->save(outcome.reason, progress)) {
        outcome.added = 0;
        outcome.replaced = 0;
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

AddToTable::Outcome AddToTable::add(const QString& tablePath, const QJsonObject& results,
                                    const StationDescription& description,
                                    const QString& dataFilePath, const QString& reportPath) {
    const QString why = description.problem();
    if (!why.isEmpty()) {
        Outcome refused;
        refused.reason = QStringLiteral("station description: ") + why;
        return refused;
    }
    return add(tablePath, {CruiseRow::fromResults(results, description, dataFilePath, reportPath)},
               {});
}

} // namespace quorvane::station
