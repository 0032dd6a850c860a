#include "analysis/batch/AnalyzeCommand.h"

#include "analysis/ProbeProfileStore.h"
#include "analysis/Reduction.h"
#include "analysis/ResultsJson.h"
#include "analysis/batch/DataFileRecords.h"
#include "datafile/DataFileReader.h"

#include <QFileInfo>

#include <optional>
#include <ostream>
#include <string>

namespace quorvane::analysis {

namespace {

std::optional<ReductionOptions::Window> window(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool okA = false;
    bool okB = false;
    // QString::toDouble reads the C locale's numbers whatever the user's locale.
    const double a = parts[0].trimmed().toDouble(&okA);
    const double b = parts[1].trimmed().toDouble(&okB);
    if (!okA || !okB) {
        return std::nullopt;
    }
    return ReductionOptions::Window{a, b};
}

struct Arguments {
    QString file;
    QString probe;
    ReductionOptions options;
};

std::optional<Arguments> parse(QStringList args, QString& error) {
    if (!args.isEmpty() && !args.front().startsWith(QLatin1Char('-'))) {
        args.removeFirst(); // the program's name
    }
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& option = args[i];
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs a value").arg(option);
            return std::nullopt;
        }
        const QString value = args[++i];
        if (option == QLatin1String("--analyze")) {
            a.file = value;
        } else if (option == QLatin1String("--probe")) {
            a.probe = value;
        } else if (option == QLatin1String("--penetration")) {
            a.options.penetrationS = ResultsJson::parseUtc(value);
            if (!a.options.penetrationS) {
                error = QStringLiteral("--penetration needs an ISO 8601 UTC time, not \"%1\"")
                            .arg(value);
                return std::nullopt;
            }
        } else if (option == QLatin1String("--decay-window") ||
                   option == QLatin1String("--heating-window")) {
            const auto w = window(value);
            if (!w) {
                error = QStringLiteral("%1 needs two numbers of seconds, A,B, not \"%2\"")
                            .arg(option, value);
                return std::nullopt;
            }
            (option == QLatin1String("--decay-window") ? a.options.decayWindowS
                                                       : a.options.heatingWindowS) = w;
        } else {
            error = QStringLiteral("unknown option %1").arg(option);
            return std::nullopt;
        }
    }
    if (a.file.isEmpty()) {
        error = QStringLiteral("--analyze needs a data log file");
        return std::nullopt;
    }
    return a;
}

} // namespace

QString AnalyzeCommand::usage() {
    return QStringLiteral("usage: quorvane-view --analyze FILE [--probe PROFILE] "
                          "[--penetration ISO-UTC] [--decay-window A,B] [--heating-window A,B]");
}

int AnalyzeCommand::run(const QStringList& args, std::ostream& out, std::ostream& err) const {
    QString error;
    const auto arguments = parse(args, error);
    if (!arguments) {
        err << error.toStdString() << '\n' << usage().toStdString() << '\n';
        return 2;
    }
    // A profile asked for by name is used or nothing is: a typo must not give a heat flow
    // from the default profile.
    std::optional<ProbeProfile> given;
    if (!arguments->probe.isEmpty()) {
        QString why;
        given = ProbeProfileStore::readFile(arguments->probe, why);
        if (!given) {
            err << "--probe: " << why.toStdString() << '\n';
            return 2;
        }
    }
    std::string readError;
    const auto content = DataFileReader::readFile(arguments->file.toStdString(), &readError);
    if (!content) {
        err << "cannot read " << arguments->file.toStdString() << ": " << readError << '\n';
        return 2;
    }
    if (!content->isDataLogFile()) {
        err << arguments->file.toStdString() << " is not a data log file ("
            << (content->lineCount == 0 ? std::string("it is empty")
                                        : "no header line and no record in " +
                                              std::to_string(content->lineCount) + " lines")
            << ")\n";
        return 2;
    }
    QStringList notes;
    StationRecords records =
        DataFileRecords::station(*content, QFileInfo(arguments->file).fileName(), notes);
    if (records.empty()) {
        err << arguments->file.toStdString() << " holds no records\n";
        return 2;
    }

    ProbeProfile profile = ProbeProfile::defaultProfile();
    if (given) {
        profile = *given;
    } else if (!m_settingsFolder.isEmpty()) {
        QString note;
        profile = ProbeProfileStore(m_settingsFolder).profileFor(records.serial, note);
        if (!note.isEmpty() && profile.isDefault) {
            notes << note;
        }
    }

    Reduction reduction(profile, arguments->options);
    reduction.setRecords(std::move(records));
    ReductionResults results = reduction.results();
    results.flags = notes + results.flags;
    out << ResultsJson::toJson(results).toStdString();
    out.flush();
    return content->badLineCount > 0 ? 1 : 0;
}

} // namespace quorvane::analysis
