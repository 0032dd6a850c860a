#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>

namespace quorvane::analysis {

// `--analyze FILE [--probe PROFILE] [--penetration ISO-UTC] [--decay-window A,B]
// [--heating-window A,B]`: reduces a data log file and prints the results as JSON.
// Exit status 0; 1 when some lines of the file were bad; 2 when the file cannot be read, is
// no data log file, holds no records, or the options are wrong, a --probe profile that is
// missing or refused included (the reason on `err`).
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
