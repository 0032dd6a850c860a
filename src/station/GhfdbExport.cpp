#include "station/GhfdbExport.h"

#include "station/AtomicFile.h"
#include "station/CruiseColumns.h"
#include "station/CsvText.h"
#include "station/GhfdbVocabulary.h"
#include "station/NumberText.h"

#include <cmath>

namespace quorvane::station {

namespace {

using C = CruiseColumns;

// Reads the cruise table's numbers, naming those that are not.
class Numbers {
public:
    Numbers(const CruiseRow& row, QStringList& warnings) : m_row(row), m_warnings(warnings) {}

    std::optional<double> get(const QString& column, const char* ghfdbColumn) const {
        const QString text = m_row.text(column).trimmed();
        const auto value = NumberText::parse(text);
        if (!text.isEmpty() && !value) {
            m_warnings << QStringLiteral("%1: %2 \"%3\" is not a number; %4 is left empty")
                              .arg(m_row.label(), column, text, QLatin1String(ghfdbColumn));
        }
        return value;
    }
    QString cell(const QString& column, const char* ghfdbColumn, double scale = 1.0) const {
        const auto value = get(column, ghfdbColumn);
        return value ? NumberText::format(*value * scale) : QString();
    }

private:
    const CruiseRow& m_row;
    QStringList& m_warnings;
};

struct Conductivity {
    QString source;
    QString location;
    QString method;
    QString comment;
};

// From the k methods of the thermistors the mean k used. Terms are written only when the
// probe measured every one of them.
Conductivity conductivity(const QString& methods) {
    const QStringList list = methods.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Conductivity c;
    if (list.isEmpty()) {
        return c;
    }
    const auto entered = list.count(QStringLiteral("entered"));
    if (entered == list.size()) {
        c.comment = QStringLiteral("conductivity entered by the operator");
        return c;
    }
    if (entered > 0) {
        c.comment = QStringLiteral("conductivity partly entered by the operator");
        return c;
    }
    c.source = GhfdbVocabulary::actualLocation;
    c.location = GhfdbVocabulary::inSituProbe;
    const bool allPulses = std::all_of(list.begin(), list.end(), [](const QString& m) {
        return m.startsWith(QLatin1String("pulse"));
    });
    if (allPulses) {
        c.method = GhfdbVocabulary::probePulse;
    } else {
        c.comment = QStringLiteral("conductivity in situ from the probe's heater (%1)")
                        .arg(list.join(QStringLiteral(", ")));
    }
    return c;
}

} // namespace

const QStringList& GhfdbExport::columns() {
    static const QStringList names = {QStringLiteral("name"),
                                      QStringLiteral("lat_NS"),
                                      QStringLiteral("lon_EW"),
                                      QStringLiteral("elevation"),
                                      QStringLiteral("qc"),
                                      QStringLiteral("qc_uncertainty"),
                                      QStringLiteral("q_method"),
                                      QStringLiteral("probe_penetration"),
                                      QStringLiteral("probe_type"),
                                      QStringLiteral("probe_length"),
                                      QStringLiteral("probe_tilt"),
                                      QStringLiteral("water_temperature"),
                                      QStringLiteral("expedition"),
                                      QStringLiteral("T_grad_mean"),
                                      QStringLiteral("T_grad_uncertainty"),
                                      QStringLiteral("T_number"),
                                      QStringLiteral("tc_mean"),
                                      QStringLiteral("tc_uncertainty"),
                                      QStringLiteral("tc_source"),
                                      QStringLiteral("tc_location"),
                                      QStringLiteral("tc_method"),
                                      QStringLiteral("tc_number"),
                                      QStringLiteral("relevant_child"),
                                      QStringLiteral("c_comment"),
                                      QStringLiteral("U_score")};
    return names;
}

QString GhfdbExport::uScore(std::optional<double> relativeUncertainty) {
    if (!relativeUncertainty || !std::isfinite(*relativeUncertainty) ||
        *relativeUncertainty < 0.0) {
        return QStringLiteral("Ux");
    }
    // The same edges as the reduction's quality words.
    const double u = *relativeUncertainty;
    return u < 0.05   ? QStringLiteral("U1")
           : u < 0.15 ? QStringLiteral("U2")
           : u < 0.25 ? QStringLiteral("U3")
                      : QStringLiteral("U4");
}

QStringList GhfdbExport::cells(const CruiseRow& row, QStringList& warnings) {
    const Numbers n(row, warnings);
    const auto heatFlow = n.get(C::heatFlow, "qc");
    const auto heatFlowErr = n.get(C::heatFlowErr, "qc_uncertainty");
    std::optional<double> relative = n.get(C::relativeUncertainty, "U_score");
    if (!relative && heatFlow && heatFlowErr && *heatFlow != 0.0) {
        relative = *heatFlowErr / std::abs(*heatFlow);
    }
    const auto depth = n.get(C::waterDepth, "elevation");
    const Conductivity k = conductivity(row.text(C::kMethods));

    QStringList comment;
    if (!row.text(C::comment).trimmed().isEmpty()) {
        comment << row.text(C::comment).trimmed();
    }
    comment << QStringLiteral("penetration ") + row.text(C::penetration).trimmed();
    const auto bullard = n.get(C::heatFlowBullard, "c_comment");
    if (bullard) {
        const auto err = n.get(C::heatFlowBullardErr, "c_comment");
        comment << QStringLiteral("Bullard method %1%2 mW/m²")
                       .arg(NumberText::format(*bullard),
                            err ? QStringLiteral(" ± ") + NumberText::format(*err) : QString());
    }
    if (!k.comment.isEmpty()) {
        comment << k.comment;
    }

    return {
        row.text(C::station).trimmed(),
        n.cell(C::latitude, "lat_NS"),
        n.cell(C::longitude, "lon_EW"),
        depth ? NumberText::format(-*depth) : QString(), // below sea level: negative
        heatFlow ? NumberText::format(*heatFlow) : QString(),
        heatFlowErr ? NumberText::format(*heatFlowErr) : QString(),
        heatFlow ? GhfdbVocabulary::intervalMethod : QString(),
        n.cell(C::bottomThermistorDepth, "probe_penetration"),
        row.text(C::probeType).trimmed(),
        n.cell(C::probeLength, "probe_length"),
        n.cell(C::tilt, "probe_tilt"),
        n.cell(C::bottomWater, "water_temperature"),
        row.text(C::cruise).trimmed(),
        n.cell(C::gradient, "T_grad_mean"), // the table has K/km already
        n.cell(C::gradientErr, "T_grad_uncertainty"),
        n.cell(C::gradientSensorCount, "T_number"),
        n.cell(C::meanK, "tc_mean"),
        n.cell(C::meanKErr, "tc_uncertainty"),
        k.source,
        k.location,
        k.method,
        n.cell(C::kSensorCount, "tc_number"),
        QString(), // relevant_child: the database's compiler decides
        comment.join(QStringLiteral("; ")),
        uScore(relative),
    };
}

QByteArray GhfdbExport::csv(const QList<CruiseRow>& rows, QStringList& warnings) {
    QList<QStringList> lines;
    lines << columns();
    for (const CruiseRow& row : rows) {
        lines << cells(row, warnings);
    }
    return CsvText::format(lines);
}

bool GhfdbExport::write(const QString& path, const QList<CruiseRow>& rows, QString& error,
                        QStringList& warnings) {
    return AtomicFile::write(path, csv(rows, warnings), error);
}

} // namespace quorvane::station
