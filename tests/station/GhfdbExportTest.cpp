#include "StationFixtures.h"

#include "station/AddToTable.h"
#include "station/CruiseColumns.h"
#include "station/CruiseTable.h"
#include "station/CsvText.h"
#include "station/GhfdbExport.h"
#include "station/GhfdbExportCommand.h"
#include "support/GermanLocale.h"

#include <QJsonArray>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace quorvane::station {
namespace {

using C = CruiseColumns;
using testing::readBytes;
using testing::writeBytes;

// The export's cells by column name, read back from its CSV.
QHash<QString, QString> exported(const QByteArray& csv, int row = 1) {
    QString error;
    const auto table = CsvText::parse(csv, error);
    QHash<QString, QString> cells;
    if (!table || table->rows.size() <= row) {
        return cells;
    }
    for (qsizetype i = 0; i < table->rows[0].size(); ++i) {
        cells.insert(table->rows[0][i], table->rows[row].value(i));
    }
    return cells;
}

TEST(GhfdbExport, ColumnsUnitsAndTermsFromTheResults) {
    QTemporaryDir dir;
    const QString table = dir.filePath("cruise.csv");
    const QString out = dir.filePath("ghfdb.csv");
    ASSERT_TRUE(AddToTable::add(table, testing::knownResults(), testing::knownDescription(),
                                "/data/run1.log")
                    .ok);
    std::ostringstream stdOut;
    std::ostringstream stdErr;
    EXPECT_EQ(
        GhfdbExportCommand().run({"quorvane-view", "--export-ghfdb", table, out}, stdOut, stdErr),
        0)
        << stdErr.str();
    EXPECT_EQ(stdOut.str(), "1 row written to " + out.toStdString() + "\n");

    const QByteArray csv = readBytes(out);
    EXPECT_TRUE(csv.startsWith("name,lat_NS,lon_EW,elevation,qc,qc_uncertainty,q_method,"
                               "probe_penetration,probe_type,probe_length,probe_tilt,"
                               "water_temperature,expedition,T_grad_mean,T_grad_uncertainty,"
                               "T_number,tc_mean,tc_uncertainty,tc_source,tc_location,"
                               "tc_method,tc_number,relevant_child,c_comment,U_score\n"))
        << csv.toStdString();
    const auto cells = exported(csv);
    const std::pair<const char*, const char*> expected[] = {
        {"name", "HF-12"},
        {"lat_NS", "-23.5"},
        {"lon_EW", "170.25"},
        {"elevation", "-3512.5"}, // metres, below sea level negative
        {"qc", "67.4"},           // mW/m²
        {"qc_uncertainty", "1.9"},
        {"q_method", "Interval method"},
        {"probe_penetration", "2.77"}, // the lowest thermistor below the sea floor
        {"probe_type", "Violin-Bow probe (Lister)"},
        {"probe_length", "6"},
        {"probe_tilt", "10"},
        {"water_temperature", "2.1234"},
        {"expedition", "SO-280"},
        {"T_grad_mean", "64.123"}, // K/km from 0.064123 K/m
        {"T_grad_uncertainty", "1.2"},
        {"T_number", "4"},
        {"tc_mean", "1.052"},
        {"tc_uncertainty", "0.006"},
        {"tc_source", "Actual heat-flow location"},
        {"tc_location", "In-situ probe"},
        {"tc_method", "Probe - pulse technique"},
        {"tc_number", "5"},
        {"relevant_child", ""},
        {"c_comment", "soft mud, ship drifting; penetration 2; Bullard method 67.2 ± 2 mW/m²"},
        {"U_score", "U1"}, // 2.8 %
    };
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(GhfdbExport::columns().size()));
    for (const auto& [column, value] : expected) {
        EXPECT_EQ(cells.value(column).toStdString(), value) << column;
    }
}

TEST(GhfdbExport, UScoreAtItsEdges) {
    const std::pair<std::optional<double>, const char*> cases[] = {
        {0.0, "U1"},          {0.0499, "U1"},
        {0.05, "U2"},         {0.1499, "U2"},
        {0.15, "U3"},         {0.2499, "U3"},
        {0.25, "U4"},         {3.0, "U4"},
        {std::nullopt, "Ux"}, {std::numeric_limits<double>::quiet_NaN(), "Ux"},
    };
    for (const auto& [relative, score] : cases) {
        EXPECT_EQ(GhfdbExport::uScore(relative).toStdString(), score)
            << (relative ? *relative : -1.0);
    }
}

TEST(GhfdbExport, WhatTheProgramCannotKnowStaysEmpty) {
    QJsonObject results = testing::knownResults();
    for (const char* key :
         {"heat_flow_mw_per_m2", "heat_flow_err_mw_per_m2", "relative_uncertainty", "tilt_deg",
          "bottom_water_c", "heat_flow_bullard_mw_per_m2"}) {
        results[key] = QJsonValue::Null;
    }
    StationDescription d;
    d.station = QStringLiteral("HF-20");
    QStringList warnings;
    const auto cells = exported(
        GhfdbExport::csv({CruiseRow::fromResults(results, d, "/data/run2.log")}, warnings));
    EXPECT_TRUE(warnings.isEmpty());
    for (const char* empty : {"lat_NS", "lon_EW", "elevation", "qc", "qc_uncertainty", "q_method",
                              "probe_penetration", "probe_type", "probe_length", "probe_tilt",
                              "water_temperature", "expedition", "relevant_child"}) {
        EXPECT_EQ(cells.value(empty).toStdString(), "") << empty;
    }
    EXPECT_EQ(cells.value("name"), "HF-20");
    EXPECT_EQ(cells.value("c_comment"), "penetration 2");
    EXPECT_EQ(cells.value("U_score"), "Ux");

    // Conductivities the operator entered: not the probe's, so no terms for them.
    QJsonArray entered;
    for (const QJsonValue& s : results["sensors"].toArray()) {
        QJsonObject o = s.toObject();
        o["k_method"] = "entered";
        entered.append(o);
    }
    results["sensors"] = entered;
    const auto enteredCells = exported(
        GhfdbExport::csv({CruiseRow::fromResults(results, d, "/data/run2.log")}, warnings));
    for (const char* empty : {"tc_source", "tc_location", "tc_method"}) {
        EXPECT_EQ(enteredCells.value(empty).toStdString(), "") << empty;
    }
    EXPECT_EQ(enteredCells.value("tc_mean"), "1.052");
    EXPECT_EQ(enteredCells.value("c_comment"),
              "penetration 2; conductivity entered by the operator");
}

TEST(GhfdbExport, CommandRefusalsAndCellsThatAreNotNumbers) {
    QTemporaryDir dir;
    const QString table = dir.filePath("cruise.csv");
    const QString out = dir.filePath("ghfdb.csv");
    auto run = [](const QStringList& args, std::string* errText = nullptr) {
        std::ostringstream o;
        std::ostringstream e;
        const int status = GhfdbExportCommand().run(args, o, e);
        if (errText != nullptr) {
            *errText = e.str();
        }
        return status;
    };
    std::string err;
    EXPECT_EQ(run({"--export-ghfdb", table}, &err), 2);
    EXPECT_EQ(err, "usage: quorvane-view --export-ghfdb CRUISE.csv OUT.csv\n");
    EXPECT_EQ(run({"--export-ghfdb", table, out}, &err), 2);
    EXPECT_EQ(err, table.toStdString() + " does not exist\n");

    ASSERT_TRUE(AddToTable::add(table, testing::knownResults(), testing::knownDescription(),
                                "/data/run1.log")
                    .ok);
    const QByteArray tableBytes = readBytes(table);
    EXPECT_EQ(run({"--export-ghfdb", table, table}, &err), 2);
    EXPECT_TRUE(err.find("would replace the cruise table") != std::string::npos) << err;
    // Another cruise table given as the output is not overwritten either.
    const QString other = dir.filePath("other.csv");
    writeBytes(other, tableBytes);
    EXPECT_EQ(run({"--export-ghfdb", table, other}, &err), 2);
    EXPECT_EQ(err, other.toStdString() + " is a cruise table: give another file\n");
    EXPECT_EQ(readBytes(other), tableBytes);
    // The wrong way round: the export is not a cruise table.
    writeBytes(out, "name,qc\n");
    EXPECT_EQ(run({"--export-ghfdb", out, table}, &err), 2);
    EXPECT_EQ(readBytes(table), tableBytes);

    // Re-saved by a spreadsheet under a German locale: a decimal comma.
    QByteArray german = tableBytes;
    german.replace(",64.123,", ",\"64,123\",");
    writeBytes(table, german);
    EXPECT_EQ(run({"--export-ghfdb", table, out}, &err), 1);
    EXPECT_EQ(err, "SO-280 HF-12 penetration 2: gradient_k_per_km \"64,123\" is not a number; "
                   "T_grad_mean is left empty\n");
    EXPECT_EQ(exported(readBytes(out)).value("T_grad_mean"), "");
    EXPECT_EQ(exported(readBytes(out)).value("qc"), "67.4");
}

class GhfdbExportGermanLocale : public quorvane::testing::UnderGermanLocale<> {};

TEST_F(GhfdbExportGermanLocale, NumbersKeepTheirDecimalPoint) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    const QString table = dir.filePath("cruise.csv");
    const auto outcome = AddToTable::add(table, testing::knownResults(),
                                         testing::knownDescription(), "/data/run1.log");
    QString error;
    const auto read = CruiseTable::read(table, error);
    QStringList warnings;
    const QByteArray csv = read ? GhfdbExport::csv(read->rows(), warnings) : QByteArray();
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(warnings.isEmpty());
    const auto cells = exported(csv);
    EXPECT_EQ(cells.value("T_grad_mean"), "64.123");
    EXPECT_EQ(cells.value("elevation"), "-3512.5");
    EXPECT_TRUE(readBytes(table).contains(",64.123,"));
}

} // namespace
} // namespace quorvane::station
