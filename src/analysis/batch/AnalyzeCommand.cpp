#include "analysis/batch/AnalyzeCommand.h"

#include "analysis/ProbeProfileStore.h"
#include "analysis/ResultsJson.h"
#include "analysis/batch/FileStations.h"
#include "datafile/DataFileReader.h"
#include "station/AddToTable.h"
#include "station/StationFileStore.h"

#include <QFileInfo>
#include <QJsonArray>

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

// One k for all five thermistors, or five.
std::optional<std::array<std::optional<double>, 5>> conductivities(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != 5) {
        return std::nullopt;
    }
    std::array<std::optional<double>, 5> k{};
    for (std::size_t i = 0; i < 5; ++i) {
        bool ok = false;
        const double v =
            parts[parts.size() == 1 ? 0 : static_cast<qsizetype>(i)].trimmed().toDouble(&ok);
        if (!ok || !(v > 0.0) || v > 20.0) {
            return std::nullopt;
        }
        k[i] = v;
    }
    return k;
}

struct Arguments {
    QString file;
    QString probe;
    ReductionOptions options;
    bool calibrate = false;
    bool stations = false;
    std::optional<int> station;
    bool ignoreStationFile = false;
    QString table;
};

std::optional<Arguments> parse(QStringList args, QString& error) {
    if (!args.isEmpty() && !args.front().startsWith(QLatin1Char('-'))) {
        args.removeFirst(); // the program's name
    }
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--stations")) {
            a.stations = true;
            continue;
        }
        if (option == QLatin1String("--calibrate-bottom-water")) {
            a.calibrate = true;
            continue;
        }
        if (option == QLatin1String("--ignore-station-file")) {
            a.ignoreStationFile = true;
            continue;
        }
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
                   option == QLatin1String("--heating-window") ||
                   option == QLatin1String("--pulse-window")) {
            const auto w = window(value);
            if (!w) {
                error = QStringLiteral("%1 needs two numbers of seconds, A,B, not \"%2\"")
                            .arg(option, value);
                return std::nullopt;
            }
            (option == QLatin1String("--decay-window")     ? a.options.decayWindowS
             : option == QLatin1String("--heating-window") ? a.options.heatingWindowS
                                                           : a.options.pulseWindowS) = w;
        } else if (option == QLatin1String("--conductivity")) {
            const auto k = conductivities(value);
            if (!k) {
                error = QStringLiteral("--conductivity needs one k or five, k1,k2,k3,k4,k5, in "
                                       "W/(m K) above 0 and up to 20, not \"%1\"")
                            .arg(value);
                return std::nullopt;
            }
            a.options.enteredK = *k;
        } else if (option == QLatin1String("--station")) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < 1) {
                error = QStringLiteral("--station needs a penetration's number from 1, not \"%1\"")
                            .arg(value);
                return std::nullopt;
            }
            a.station = n;
        } else if (option == QLatin1String("--add-to-table")) {
            a.table = value;
        } else {
            error = QStringLiteral("unknown option %1").arg(option);
            return std::nullopt;
        }
    }
    if (a.file.isEmpty()) {
        error = QStringLiteral("--analyze needs a data log file");
        return std::nullopt;
    }
    if (a.stations && a.station) {
        error = QStringLiteral("--stations and --station cannot go together");
        return std::nullopt;
    }
    return a;
}

// What the command line gave, over the station file's choices.
void overrideWith(const Arguments& a, ReductionOptions& o) {
    const ReductionOptions& g = a.options;
    if (g.penetrationS) {
        o.penetrationS = g.penetrationS;
    }
    if (g.decayWindowS) {
        o.decayWindowS = g.decayWindowS;
    }
    if (g.heatingWindowS) {
        o.heatingWindowS = g.heatingWindowS;
    }
    if (g.pulseWindowS) {
        o.pulseWindowS = g.pulseWindowS;
    }
    if (a.calibrate) {
        o.calibrateBottomWater = true;
    }
    if (g.enteredK[0]) {
        o.enteredK = g.enteredK;
    }
}

} // namespace

QString AnalyzeCommand::usage() {
    return QStringLiteral(
        "usage: quorvane-view --analyze FILE [--probe PROFILE] [--stations | --station N] "
        "[--penetration ISO-UTC] [--decay-window A,B] [--heating-window A,B] "
        "[--pulse-window A,B] [--calibrate-bottom-water] [--conductivity K[,K,K,K,K]] "
        "[--ignore-station-file] [--add-to-table CRUISE.csv]");
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
    if (content->records.empty()) {
        err << arguments->file.toStdString() << " holds no records\n";
        return 2;
    }

    QString serial;
    for (const LogHeader& h : content->headers) {
        serial = QString::fromStdString(h.instrument).trimmed();
    }
    QStringList notes;
    ProbeProfile profile = ProbeProfile::defaultProfile();
    if (given) {
        profile = *given;
    } else if (!m_settingsFolder.isEmpty()) {
        QString note;
        profile = ProbeProfileStore(m_settingsFolder).profileFor(serial, note);
        if (!note.isEmpty() && profile.isDefault) {
            notes << note;
        }
    }

    std::optional<station::StationFile> stationFile;
    const QString stationPath = station::StationFile::pathFor(arguments->file);
    if (!arguments->ignoreStationFile) {
        const auto loaded = station::StationFileStore::load(stationPath);
        if (loaded.state == station::StationFileStore::State::Refused) {
            err << stationPath.toStdString() << " cannot be used: " << loaded.reason.toStdString()
                << " (--ignore-station-file reduces without it)\n";
            return 2;
        }
        if (loaded.state == station::StationFileStore::State::Read) {
            stationFile = loaded.file;
            notes << QStringLiteral("choices from the station file");
        }
    }

    const auto reduced =
        FileStations::reduce(*content, QFileInfo(arguments->file).fileName(), stationFile, profile,
                             [&](ReductionOptions& o) { overrideWith(*arguments, o); });
    std::vector<const FileStations::Reduced*> chosen;
    if (arguments->stations) {
        for (const auto& r : reduced) {
            chosen.push_back(&r);
        }
    } else if (arguments->station) {
        if (*arguments->station > static_cast<int>(reduced.size())) {
            err << arguments->file.toStdString() << " holds " << reduced.size()
                << " penetration(s): there is no penetration " << *arguments->station << '\n';
            return 2;
        }
        chosen.push_back(&reduced[static_cast<std::size_t>(*arguments->station - 1)]);
    } else {
        chosen.push_back(&reduced.back());
        const int runs = reduced.back().station.run;
        if (runs > 1) {
            notes << QStringLiteral("file holds %1 runs: the last one is reduced").arg(runs);
        }
        if (reduced.back().station.penetration > 1) {
            notes << QStringLiteral("run holds %1 penetrations: the last one is reduced "
                                    "(--stations lists them all)")
                         .arg(reduced.back().station.penetration);
        }
    }

    QJsonArray all;
    QList<station::CruiseRow> rows;
    for (const auto* r : chosen) {
        QJsonObject o = r->json();
        if (!notes.isEmpty()) {
            QJsonArray flags = QJsonArray::fromStringList(notes);
            for (const auto& f : o.value(QStringLiteral("flags")).toArray()) {
                flags.append(f);
            }
            o.insert(QStringLiteral("flags"), flags);
        }
        all.append(o);
        rows << station::CruiseRow::fromResults(o, r->description,
                                                QFileInfo(arguments->file).absoluteFilePath());
    }
    out << ResultsJson::toJson(arguments->stations ? QJsonValue(all) : all.first()).toStdString();
    out.flush();

    if (!arguments->table.isEmpty()) {
        const auto added = station::AddToTable::add(arguments->table, rows);
        if (!added.ok) {
            err << arguments->table.toStdString() << ": " << added.reason.toStdString() << '\n';
            return 2;
        }
        err << arguments->table.toStdString() << ": " << added.added << " row(s) added, "
            << added.replaced << " replaced\n";
    }
    return content->badLineCount > 0 ? 1 : 0;
}

} // namespace quorvane::analysis
