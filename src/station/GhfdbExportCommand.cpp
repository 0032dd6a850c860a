#include "station/GhfdbExportCommand.h"

#include "station/CruiseTable.h"
#include "station/GhfdbExport.h"

#include <QFileInfo>

#include <ostream>

namespace quorvane::station {

namespace {
bool sameFile(const QString& a, const QString& b) {
    const QFileInfo ia(a);
    const QFileInfo ib(b);
    if (ia.exists() && ib.exists()) {
        return ia.canonicalFilePath() == ib.canonicalFilePath();
    }
    return ia.absoluteFilePath() == ib.absoluteFilePath();
}
} // namespace

QString GhfdbExportCommand::usage() {
    return QStringLiteral("usage: quorvane-view --export-ghfdb CRUISE.csv OUT.csv");
}

int GhfdbExportCommand::run(const QStringList& arguments, std::ostream& out,
                            std::ostream& err) const {
    QStringList args = arguments;
    if (!args.isEmpty() && !args.front().startsWith(QLatin1Char('-'))) {
        args.removeFirst(); // the program's name
    }
    if (args.size() != 3 || args[0] != QLatin1String("--export-ghfdb")) {
        err << usage().toStdString() << '\n';
        return 2;
    }
    const QString tablePath = args[1];
    const QString outPath = args[2];
    if (sameFile(tablePath, outPath)) {
        err << "the export would replace the cruise table " << tablePath.toStdString()
            << ": give another file\n";
        return 2;
    }
    QString error;
    const auto table = CruiseTable::read(tablePath, error);
    if (!table) {
        err << error.toStdString() << '\n';
        return 2;
    }
    if (table->rows().isEmpty()) {
        err << tablePath.toStdString() << " holds no stations: nothing was written\n";
        return 2;
    }
    // Arguments given the wrong way round must not cost a cruise table.
    QString notATable;
    if (QFileInfo::exists(outPath) && CruiseTable::read(outPath, notATable)) {
        err << outPath.toStdString() << " is a cruise table: give another file\n";
        return 2;
    }
    QStringList warnings;
    if (!GhfdbExport::write(outPath, table->rows(), error, warnings)) {
        err << error.toStdString() << '\n';
        return 2;
    }
    for (const QString& warning : warnings) {
        err << warning.toStdString() << '\n';
    }
    const auto n = table->rows().size();
    out << n << (n == 1 ? " row" : " rows") << " written to " << outPath.toStdString() << '\n';
    out.flush();
    return warnings.isEmpty() ? 0 : 1;
}

} // namespace quorvane::station
