#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>

namespace quorvane::analysis {

// `--analyze FILE …` (see usage()): reduces the penetrations of a data log file, each with the
// choices its station file keeps and the options given over them, and prints the results as
// JSON: the last penetration, one (--station N) or all in an array (--stations); and adds
// their rows to a cruise table (--add-to-table). Exit status 0; 1 when some lines of the file
// were bad; 2 when the file cannot be read, is no data log file, holds no records, the profile
// or the station file cannot be used, the table refuses the rows, or the options are wrong
// (the reason on `err`).
class AnalyzeCommand {
public:
    // `settingsFolder`: where probes/<serial>.json are looked up when no --probe is given
    // (empty: nowhere, the default profile).
    explicit AnalyzeCommand(QString settingsFolder = {})
        : m_settingsFolder(std::move(settingsFolder)) {}

    // `args`: the program's arguments, with or without the program's name first.
    int run(const QStringList& args, std::ostream& out, std::ostream& err) const;

    static QString usage();

private:
    QString m_settingsFolder;
};

} // namespace quorvane::analysis
