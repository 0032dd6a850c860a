#include "StationFixtures.h"

#include "station/AddToTable.h"
#include "station/CruiseColumns.h"
#include "station/CruiseTable.h"
#include "station/CsvText.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::station {
namespace {

using C = CruiseColumns;
using testing::entries;
using testing::readBytes;
using testing::writeBytes;

CruiseRow row(const QString& station, int penetration, const QString& utc, double heatFlow = 67.4) {
    QJsonObject results = testing::knownResults();
    results["penetration_utc"] = utc;
    results["heat_flow_mw_per_m2"] = heatFlow;
    StationDescription d = testing::knownDescription();
    d.station = station;
    d.penetrationNumber = penetration;
    return CruiseRow::fromResults(results, d, QStringLiteral("/data/run1.log"));
}

QList<QStringList> csvRows(const QString& path) {
    QString error;
    const auto table = CsvText::parse(readBytes(path), error);
    return table ? table->rows : QList<QStringList>{};
}

TEST(CruiseTable, RowFromTheResultsAndTheDescription) {
    const CruiseRow r = CruiseRow::fromResults(testing::knownResults(), testing::knownDescription(),
                                               "/data/run1.log", "/data/run1.report.pdf");
    const std::pair<const QString&, const char*> cells[] = {
        {C::cruise, "SO-280"},
        {C::station, "HF-12"},
        {C::penetration, "2"}, // no number entered: the station index
        {C::utc, "2026-12-08T13:00:05Z"},
        {C::latitude, "-23.5"},
        {C::longitude, "170.25"},
        {C::waterDepth, "3512.5"},
        {C::bottomWater, "2.1234"},
        {C::gradient, "64.123"}, // K/m to K/km
        {C::gradientErr, "1.2"},
        {C::meanK, "1.052"},
        {C::meanKErr, "0.006"},
        {C::heatFlow, "67.4"},
        {C::heatFlowErr, "1.9"},
        {C::heatFlowBullard, "67.2"},
        {C::heatFlowBullardErr, "2"},
        {C::relativeUncertainty, "0.028"},
        {C::quality, "excellent"},
        {C::gradientSensors, "TTop T2 T3 T4"},
        {C::gradientSensorCount, "4"},
        {C::kSensors, "TTop T2 T3 T4 TBot"},
        {C::kSensorCount, "5"},
        {C::kMethods, "pulse-F"},
        {C::tilt, "10"},
        {C::probeType, "Violin-Bow probe (Lister)"},
        {C::probeLength, "6"},
        {C::topThermistorDepth, "0.8"},
        {C::bottomThermistorDepth, "2.77"}, // 0.8 + 2 m × cos 10°
        {C::probeSerial, "0417"},
        {C::run, "1"},
        {C::stationIndex, "2"},
        {C::flags, "thermistor stuck"},
        {C::comment, "soft mud, ship drifting"},
        {C::dataFile, "/data/run1.log"},
        {C::reportFile, "/data/run1.report.pdf"},
    };
    ASSERT_EQ(std::size(cells), static_cast<std::size_t>(C::all().size()));
    for (const auto& [column, text] : cells) {
        EXPECT_EQ(r.text(column).toStdString(), text) << column.toStdString();
    }
    EXPECT_TRUE(r.problem().isEmpty());
    EXPECT_EQ(r.label(), "SO-280 HF-12 penetration 2");

    StationDescription nameless = testing::knownDescription();
    nameless.station.reset();
    EXPECT_EQ(CruiseRow::fromResults(testing::knownResults(), nameless, {}).problem(),
              "the station has no name: enter it in the Station dialog");
}

TEST(CruiseTable, AddsReplacesAndKeepsRowsInTimeOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    struct Step {
        CruiseRow row;
        int added;
        int replaced;
    };
    const Step steps[] = {
        {row("HF-14", 1, "2026-12-10T08:00:00Z"), 1, 0},
        {row("HF-12", 1, "2026-12-08T13:00:05Z"), 1, 0},
        {row("HF-13", 1, ""), 1, 0}, // no time: last
        {row("HF-12", 2, "2026-12-08T13:40:00Z"), 1, 0},
        {row("HF-12", 1, "2026-12-08T13:00:05Z", 70.5), 0, 1}, // the same penetration again
    };
    for (const Step& s : steps) {
        const auto outcome = AddToTable::add(path, {s.row});
        ASSERT_TRUE(outcome.ok) << outcome.reason.toStdString();
        EXPECT_EQ(outcome.added, s.added);
        EXPECT_EQ(outcome.replaced, s.replaced);
    }
    const auto lines = csvRows(path);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], C::all());
    const qsizetype station = C::all().indexOf(C::station);
    const qsizetype penetration = C::all().indexOf(C::penetration);
    const qsizetype heatFlow = C::all().indexOf(C::heatFlow);
    const QStringList order = {
        lines[1][station] + lines[1][penetration], lines[2][station] + lines[2][penetration],
        lines[3][station] + lines[3][penetration], lines[4][station] + lines[4][penetration]};
    EXPECT_EQ(order, (QStringList{"HF-121", "HF-122", "HF-141", "HF-131"}));
    EXPECT_EQ(lines[1][heatFlow], "70.5");
    EXPECT_FALSE(readBytes(path).contains('\r'));
    EXPECT_EQ(entries(dir.path()), QStringList{"cruise.csv"});

    // Written from the results JSON and the description in one call.
    const auto outcome = AddToTable::add(path, testing::knownResults(), testing::knownDescription(),
                                         "/data/run1.log");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.replaced, 1); // HF-12's penetration 2 by its station index
    EXPECT_EQ(csvRows(path).size(), 5);
}

TEST(CruiseTable, KeepsTheOperatorsColumnsAndLineEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    QStringList header = C::all();
    header.insert(3, QStringLiteral("notes"));
    QStringList old;
    for (const QString& column : header) {
        old << (column == "notes"          ? QStringLiteral("core taken, see log 7")
                : column == C::station     ? QStringLiteral("HF-01")
                : column == C::penetration ? QStringLiteral("1")
                : column == C::utc         ? QStringLiteral("2026-12-01T00:00:00Z")
                                           : QString());
    }
    writeBytes(path, CsvText::format({header, old.mid(0, 8)}, true)); // short row: padded
    ASSERT_TRUE(AddToTable::add(path, {row("HF-12", 1, "2026-12-08T13:00:05Z")}).ok);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("\r\n"));
    const auto lines = csvRows(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1], old);
    EXPECT_EQ(lines[2][3], "");
    EXPECT_EQ(lines[2][header.indexOf(C::station)], "HF-12");
}

TEST(CruiseTable, RefusesAFileThatIsNotACruiseTable) {
    const std::pair<QByteArray, const char*> cases[] = {
        {"station,heat flow\nHF-1,60\n", "is not a cruise table: its first line lacks the "
                                         "columns cruise, penetration"},
        {CsvText::format({C::all() + QStringList{"cruise"}}), "has two columns \"cruise\""},
        {CsvText::format({C::all(), C::all() + QStringList{"x"}}),
         "row 2 has 36 cells, more than its 35 columns"},
        {"\"open", "is not a cruise table: it line 1: a quoted cell is never closed"},
    };
    for (const auto& [bytes, reason] : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("cruise.csv");
        writeBytes(path, bytes);
        const auto outcome = AddToTable::add(path, {row("HF-12", 1, "2026-12-08T13:00:05Z")});
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.reason.contains(reason)) << outcome.reason.toStdString();
        EXPECT_EQ(readBytes(path), bytes);
    }
    QString error;
    EXPECT_FALSE(CruiseTable::read("/nonexistent/cruise.csv", error));
    EXPECT_EQ(error, "/nonexistent/cruise.csv does not exist");
}

TEST(CruiseTable, RefusesATableThatChangedSinceItWasRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    ASSERT_TRUE(AddToTable::add(path, {row("HF-12", 1, "2026-12-08T13:00:05Z")}).ok);
    QString error;

    // Changed between reading and saving.
    auto table = CruiseTable::read(path, error);
    ASSERT_TRUE(table);
    const QByteArray edited = readBytes(path) + "SO-280,HF-99,1\n";
    writeBytes(path, edited);
    table->put(row("HF-13", 1, "2026-12-09T00:00:00Z"));
    EXPECT_FALSE(table->save(error));
    EXPECT_TRUE(error.startsWith("the cruise table changed since it was read: its size went "
                                 "from "))
        << error.toStdString();
    EXPECT_EQ(readBytes(path), edited);

    // Changed while the new table was being written: looked at again before the rename.
    table = CruiseTable::read(path, error);
    ASSERT_TRUE(table);
    table->put(row("HF-13", 1, "2026-12-09T00:00:00Z"));
    QByteArray sameSize = edited;
    sameSize.replace("HF-99", "HF-98");
    EXPECT_FALSE(table->save(error, [&](qint64, qint64) { writeBytes(path, sameSize); }));
    EXPECT_TRUE(error.contains("its content is not what was read")) << error.toStdString();
    EXPECT_EQ(readBytes(path), sameSize);

    // Removed, or made by another program, since it was read.
    table = CruiseTable::read(path, error);
    QFile::remove(path);
    EXPECT_FALSE(table->save(error));
    EXPECT_TRUE(error.contains("it was removed or renamed")) << error.toStdString();
    table = CruiseTable::read(path, error, true);
    writeBytes(path, sameSize);
    EXPECT_FALSE(table->save(error));
    EXPECT_TRUE(error.contains("another program made it")) << error.toStdString();
    EXPECT_EQ(readBytes(path), sameSize);

    // Saved twice by the same reader: its own write is no change.
    table = CruiseTable::read(path, error);
    ASSERT_TRUE(table->save(error));
    table->put(row("HF-13", 1, "2026-12-09T00:00:00Z"));
    EXPECT_TRUE(table->save(error)) << error.toStdString();
}

TEST(CruiseTable, RefusesATableOpenInASpreadsheet) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    ASSERT_TRUE(AddToTable::add(path, {row("HF-12", 1, "2026-12-08T13:00:05Z")}).ok);
    const QByteArray before = readBytes(path);
    EXPECT_EQ(CruiseTable::lockFileFor(path), dir.filePath(".~lock.cruise.csv#"));
    writeBytes(dir.filePath(".~lock.cruise.csv#"), ",operator,ship-pc,08.12.2026 13:10,operator;");
    const auto outcome = AddToTable::add(path, {row("HF-13", 1, "2026-12-09T00:00:00Z")});
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.reason.contains("is open in another program"))
        << outcome.reason.toStdString();
    EXPECT_EQ(readBytes(path), before);
}

TEST(CruiseTable, KeepsTheFilesPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    ASSERT_TRUE(AddToTable::add(path, {row("HF-12", 1, "2026-12-08T13:00:05Z")}).ok);
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    ASSERT_TRUE(AddToTable::add(path, {row("HF-13", 1, "2026-12-09T00:00:00Z")}).ok);
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), mode);
}

constexpr int kBigTableRows = 4000;

// A writer killed halfway through a big table leaves the old table whole and no temporary
// file beside it.
TEST(CruiseTable, SurvivesAKillInTheMiddleOfTheWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cruise.csv");
    QList<QStringList> lines = {C::all()};
    const CruiseRow one = row("HF-1", 1, "2026-12-08T13:00:05Z");
    for (int i = 1; i <= kBigTableRows; ++i) {
        QStringList cells;
        for (const QString& column : C::all()) {
            cells << (column == C::station ? QStringLiteral("HF-%1").arg(i) : one.text(column));
        }
        lines << cells;
    }
    writeBytes(path, CsvText::format(lines));
    const QByteArray before = readBytes(path);
    ASSERT_GT(before.size(), 1024 * 1024); // several chunks of the write

    int halfway[2];
    ASSERT_EQ(::pipe(halfway), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(halfway[0]);
        bool told = false;
        AddToTable::add(path, {row("HF-9999", 1, "2026-12-31T00:00:00Z")},
                        [&](qint64 written, qint64 total) {
                            if (!told && written >= total / 2) {
                                told = ::write(halfway[1], "h", 1) == 1;
                                for (;;) {
                                    ::pause(); // until killed
                                }
                            }
                        });
        ::_exit(3); // never here
    }
    ::close(halfway[1]);
    pollfd wait{halfway[0], POLLIN, 0};
    ASSERT_EQ(::poll(&wait, 1, 60000), 1);
    char byte = 0;
    ASSERT_EQ(::read(halfway[0], &byte, 1), 1);
    ::close(halfway[0]);
    // Half the new table is written; the old one is all anyone sees.
    EXPECT_TRUE(readBytes(path) == before); // not printed: megabytes
    EXPECT_EQ(entries(dir.path()), QStringList{"cruise.csv"});

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_TRUE(readBytes(path) == before); // not printed: megabytes
    EXPECT_EQ(entries(dir.path()), QStringList{"cruise.csv"});
    QString error;
    const auto table = CruiseTable::read(path, error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(table->rows().size(), kBigTableRows);
    EXPECT_TRUE(AddToTable::add(path, {row("HF-9999", 1, "2026-12-31T00:00:00Z")}).ok);
}

} // namespace
} // namespace quorvane::station
