#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::station {

// Terms of the IHFC Global Heat Flow Database's controlled vocabulary that the export writes,
// as given in Fuchs et al. (2021), "A new database structure for the IHFC Global Heat Flow
// Database", and the database's 2023 release. They are kept here, in one place, to be checked
// against the template in use.
struct GhfdbVocabulary {
    // q_method: the heat flow written (qc) is the interval method's.
    static inline const QString intervalMethod = QStringLiteral("Interval method");
    // tc_source: the conductivity was measured where the heat flow was.
    static inline const QString actualLocation = QStringLiteral("Actual heat-flow location");
    // tc_location: measured in the sediment by the probe itself.
    static inline const QString inSituProbe = QStringLiteral("In-situ probe");
    // tc_method: the heat-pulse method of marine probes.
    static inline const QString probePulse = QStringLiteral("Probe - pulse technique");

    // Probe types (probe_type), offered to the operator; the export writes what was entered.
    static const QStringList& probeTypes() {
        static const QStringList types = {
            QStringLiteral("Single Steel probe (Bullard)"),
            QStringLiteral("Single Steel probe (Bullard) in-situ TC"),
            QStringLiteral("Violin-Bow probe (Lister)"),
            QStringLiteral("Outrigger probe (Von Herzen) in-situ TC"),
            QStringLiteral("Outrigger probe (Ewing) with in-situ TC"),
            QStringLiteral("Outrigger probe (Ewing) without in-situ TC"),
            QStringLiteral("Outrigger probe (Lister) with in-situ TC"),
            QStringLiteral("Outrigger probe (Lister) without in-situ TC"),
            QStringLiteral("Other"),
        };
        return types;
    }
};

} // namespace quorvane::station
