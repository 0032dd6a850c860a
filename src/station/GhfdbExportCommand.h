#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>

namespace quorvane::station {

// `--export-ghfdb CRUISE.csv OUT.csv`: one row of OUT.csv per row of the cruise table, for the
// IHFC Global Heat Flow Database. Exit status 0; 1 when some cells that should hold numbers
// did not (named on `err`, left empty); 2 when the table cannot be read or holds no rows,
// OUT.csv cannot be written, or the arguments are wrong (the reason on `err`).
class GhfdbExportCommand {
public:
    // `args`: the program's arguments, with or without the program's name first.
    int run(const QStringList& args, std::ostream& out, std::ostream& err) const;

    static QString usage();
};

} // namespace quorvane::station
