#include "datafile/DataFileParser.h"
#include "datafile/DataFileReader.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::string kRawHexHeader =
    "# Instrument: 0417\r\n"
    "# Firmware: Ver 2.31\r\n"
    "# Delay: 60\r\n"
    "# HeatDuration: 600\r\n"
    "# PowerLevel: 120\r\n"
    "# HeaterEnabled: Yes\r\n"
    "# DataType: RawHex\r\n"
    "# PowerLevel: 120\r\n"
    "# LogInterval: 1\r\n"
    "# Logfile: /data/run1.log\r\n"
    "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr\r\n";
const std::string kRawHexLine =
    "07-Dec-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 0\r\n";
const std::string kRawHexHeated =
    "07-Dec-2026 13:51:11  0A1C 6000 2000 5000 3000 2001 6000 2000 120\r\n";
const std::string kTemperatureHeader =
    "# Instrument: \r\n"
    "# Firmware: \r\n"
    "# Delay: 5\r\n"
    "# HeatDuration: 2.5\r\n"
    "# PowerLevel: 80\r\n"
    "# HeaterEnabled: No\r\n"
    "# DataType: Temperature\r\n"
    "# PowerLevel: 80\r\n"
    "# LogInterval: 10\r\n"
    "# Logfile: /data/run2.log\r\n"
    "# Date        Time     TTop    T2     T3     T4    TBot Htr\r\n";
const std::string kTemperatureLine =
    "08-Dec-2026 00:00:05  3.472 18.393 134.640 -1.076 0.000 80\r\n";
const char kBinary[] = "\x7f"
                       "ELF\x02\x01\x01\0\0\0\n\0\0\xff\xfe\n";
constexpr qint64 k0751 = 1796651470; // 07-Dec-2026 13:51:10 UTC

// What a whole text gives, in a few words per line, to compare readings.
std::string summary(const DataFileContent& content) {
    std::string out;
    for (const LogRecord& r : content.records) {
        out += "R" + std::to_string(r.lineNumber) + "h" + std::to_string(r.headerIndex) + "@" +
               std::to_string(r.utcSeconds - k0751) + ":" + std::to_string(r.heater) + " ";
    }
    for (const BadLine& b : content.badLines) {
        out += "B" + std::to_string(b.lineNumber) + " ";
    }
    out += "H" + std::to_string(content.headers.size()) + " L" + std::to_string(content.lineCount);
    return out;
}

TEST(DataFileParser, RawHexLinesAreDecodedByTheProgramsDecoder) {
    const DataFileContent c = DataFileReader::readText(kRawHexHeader + kRawHexLine + kRawHexHeated);
    ASSERT_EQ(c.records.size(), 2u);
    EXPECT_EQ(c.badLineCount, 0);
    const LogRecord& r = c.records[0];
    EXPECT_EQ(r.utcSeconds, k0751);
    EXPECT_EQ(r.lineNumber, 12);
    EXPECT_EQ(r.headerIndex, 0);
    EXPECT_EQ(r.heater, 0);
    const std::array<double, 5> ohms = {80000, 40000, 20005, 100000, 20000};
    const std::array<double, 5> celsius = {3.472, 18.393, 34.640, -1.076, 34.646};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(r.resistanceOhms[i], ohms[i]) << i;
        EXPECT_NEAR(r.temperatureC[i], celsius[i], 0.0005) << i;
    }
    EXPECT_EQ(c.records[1].heater, 120);
    EXPECT_EQ(c.records[1].utcSeconds, k0751 + 1);
}

TEST(DataFileParser, TemperatureLinesAreReadAsWritten) {
    const DataFileContent c = DataFileReader::readText(kTemperatureHeader + kTemperatureLine);
    ASSERT_EQ(c.records.size(), 1u);
    const LogRecord& r = c.records[0];
    EXPECT_EQ(r.utcSeconds, k0751 + 10 * 3600 + 8 * 60 + 55);
    const std::array<double, 5> celsius = {3.472, 18.393, 134.640, -1.076, 0.0};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(r.temperatureC[i], celsius[i]) << i;
        EXPECT_TRUE(std::isnan(r.resistanceOhms[i])) << i;
    }
    EXPECT_EQ(r.heater, 80);
}

TEST(DataFileParser, HeaderFieldsAreTyped) {
    const DataFileContent c = DataFileReader::readText(kRawHexHeader + kTemperatureHeader);
    ASSERT_EQ(c.headers.size(), 2u) << "a second Instrument line begins a new block";
    const LogHeader& a = c.headers[0];
    EXPECT_EQ(a.firstLine, 1);
    EXPECT_EQ(a.instrument, "0417");
    EXPECT_EQ(a.firmware, "Ver 2.31");
    EXPECT_EQ(a.delaySeconds, 60.0);
    EXPECT_EQ(a.heatDurationSeconds, 600.0);
    EXPECT_EQ(a.powerLevel, 120.0);
    EXPECT_EQ(a.heaterEnabled, true);
    EXPECT_EQ(a.layout, DataLayout::RawHex);
    EXPECT_EQ(a.logIntervalSeconds, 1.0);
    EXPECT_EQ(a.logfile, "/data/run1.log");
    EXPECT_EQ(a.columnLine, "Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr");
    const LogHeader& b = c.headers[1];
    EXPECT_EQ(b.firstLine, 12);
    EXPECT_EQ(b.instrument, "");
    EXPECT_EQ(b.heatDurationSeconds, 2.5);
    EXPECT_EQ(b.heaterEnabled, false);
    EXPECT_EQ(b.layout, DataLayout::Temperature);
    EXPECT_EQ(b.logIntervalSeconds, 10.0);
    EXPECT_TRUE(c.records.empty());
}

TEST(DataFileParser, HeaderValuesThatAreNotNumbersStayEmpty) {
    const DataFileContent c = DataFileReader::readText(
        "# Instrument: 12 34\r\n# Delay: ten\r\n# LogInterval: \r\n# HeaterEnabled: maybe\r\n"
        "# DataType: Binary\r\n# Comment of someone\r\n");
    ASSERT_EQ(c.headers.size(), 1u);
    const LogHeader& h = c.headers[0];
    EXPECT_EQ(h.instrument, "12 34");
    EXPECT_FALSE(h.delaySeconds);
    EXPECT_FALSE(h.logIntervalSeconds);
    EXPECT_FALSE(h.heaterEnabled);
    EXPECT_EQ(h.layout, DataLayout::Unknown);
    EXPECT_EQ(h.otherLines, std::vector<std::string>{"Comment of someone"});
    EXPECT_EQ(c.badLineCount, 0);
}

// Whole files: which lines become records (line, header block, seconds after 13:51:10,
// heater), which are bad, how many header blocks and lines.
TEST(DataFileParser, FilesTable) {
    const std::string rawLine2 = "07-Dec-2026 13:51:12  0A1B 6000 2000 5000 3000 2001 6000 2000 0";
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"empty", "", "H0 L0"},
        {"header without data", kRawHexHeader, "H1 L11"},
        {"data without header", kRawHexLine + kTemperatureLine, "R1h-1@0:0 R2h-1@36535:80 H0 L2"},
        {"two runs in one file", kRawHexHeader + kRawHexLine + kRawHexHeader + kRawHexHeated,
         "R12h0@0:0 R24h1@1:120 H2 L24"},
        {"a header line amid the data begins a block",
         kRawHexLine + "# Instrument: 9\r\n" + kRawHexHeated, "R1h-1@0:0 R3h0@1:120 H1 L3"},
        {"layout changed without a new header", kRawHexHeader + kTemperatureLine + kRawHexLine,
         "R12h0@36535:80 R13h0@0:0 H1 L13"},
        {"CR LF only lines are skipped but counted", "\r\n\r\n" + kRawHexLine + "\r\n",
         "R3h-1@0:0 H0 L4"},
        {"LF without CR ends a line too", rawLine2 + "\n" + rawLine2 + "\n",
         "R1h-1@2:0 R2h-1@2:0 H0 L2"},
        {"last line without line end read at the end", kRawHexLine + rawLine2,
         "R1h-1@0:0 R2h-1@2:0 H0 L2"},
        {"lone CR inside a line",
         "07-Dec-2026 13:51:12  0A1B 6000\r2000 5000 3000 2001 6000 "
         "2000 0\r\n",
         "B1 H0 L1"},
        {"binary", std::string(kBinary, sizeof kBinary - 1), "B1 B2 H0 L2"},
        {"text that is not a data log", "Dear operator,\nplease log.\n", "B1 B2 H0 L2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(summary(DataFileReader::readText(c.text)), c.expected) << c.name;
    }
}

// The reason given for each kind of bad line.
TEST(DataFileParser, BadLineReasons) {
    const struct {
        std::string line;
        const char* reason;
    } cases[] = {
        {"07-Dec-2026 13:51:12  0A1B 6000 2000 5G00 3000 2001 6000 2000 0",
         "record cannot be decoded: Invalid use of Null"},
        {"07-Dec-2026 13:51:12  0A1B 2000 2000 5000 3000 2001 6000 2000 0",
         "record cannot be decoded: Invalid use of Null"},
        {"07-Foo-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 0", "bad time stamp"},
        {"31-Nov-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 0", "bad time stamp"},
        {"07-Dec-2026 24:00:00  0A1B 6000 2000 5000 3000 2001 6000 2000 0", "bad time stamp"},
        {"07-Dec-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 x", "bad heater column"},
        {"07-Dec-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 -1", "bad heater column"},
        {"07-Dec-2026 13:51:10  3.472 18.393 34.640 -1.076 0", "not a Temperature data line "
                                                               "(five temperatures and the heater "
                                                               "column expected)"},
        {"07-Dec-2026 13:51:10  3.472 18.393 34.6.40 -1.076 2.0 0", "bad temperature \"34.6.40\""},
        {"07-Dec-2026 13:51:10  3.472 18.393 nan -1.076 2.0 0", "bad temperature \"nan\""},
        {"07-Dec-2026 13:51:10  3.472 18.393 1.0 -1.076 2.0 1.5", "bad heater column"},
        {"short line", "not a data line"},
    };
    for (const auto& c : cases) {
        const DataFileContent content = DataFileReader::readText(c.line + "\r\n");
        ASSERT_EQ(content.badLines.size(), 1u) << c.line;
        EXPECT_EQ(content.badLines[0].lineNumber, 1);
        EXPECT_EQ(content.badLines[0].reason, c.reason) << c.line;
        EXPECT_TRUE(content.records.empty());
    }
}

// A line cut anywhere by the writer reads as the whole line once the rest arrives.
TEST(DataFileParser, ALineCutAnywhereWaitsForItsRest) {
    const std::string text = kRawHexHeader + kRawHexLine + "\r\n" + "junk\r\n" + kTemperatureLine +
                             kRawHexHeader + kRawHexHeated;
    const std::string whole = summary(DataFileReader::readText(text));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        DataFileParser parser;
        parser.feed(text.substr(0, cut));
        const qint64 linesBefore = parser.lineCount();
        parser.feed(text.substr(cut));
        DataFileContent c;
        c.headers = parser.headers();
        c.records = parser.takeRecords();
        c.badLines = parser.takeBadLines();
        c.lineCount = parser.lineCount();
        EXPECT_EQ(summary(c), whole) << "cut at " << cut;
        EXPECT_EQ(parser.waitingCharacters(), 0u);
        EXPECT_LE(linesBefore, c.lineCount);
    }
}

TEST(DataFileParser, APartialLineIsNotReadUntilItsLineEnd) {
    DataFileParser parser;
    parser.feed(kRawHexLine.substr(0, 40));
    EXPECT_TRUE(parser.takeRecords().empty());
    EXPECT_EQ(parser.lineCount(), 0);
    EXPECT_EQ(parser.waitingCharacters(), 40u);
    parser.feed(kRawHexLine.substr(40, kRawHexLine.size() - 41)); // all but the LF
    EXPECT_TRUE(parser.takeRecords().empty());
    parser.feed("\n");
    EXPECT_EQ(parser.takeRecords().size(), 1u);
}

TEST(DataFileParser, ALineOfAnyLengthIsOneBadLine) {
    DataFileParser parser;
    const std::string piece(10000, 'x');
    for (int i = 0; i < 30; ++i) {
        parser.feed(piece); // 300,000 characters without a line end
    }
    EXPECT_EQ(parser.badLineCount(), 1);
    EXPECT_LE(parser.waitingCharacters(), DataFileParser::kMaxLineLength);
    parser.feed("tail of the long line\r\n" + kRawHexLine);
    const std::vector<LogRecord> records = parser.takeRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].lineNumber, 2);
    const std::vector<BadLine> bad = parser.takeBadLines();
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].lineNumber, 1);
    EXPECT_EQ(bad[0].reason, "line longer than 65536 characters");
}

TEST(DataFileParser, BadLinesAreAllCountedButOnlyTheFirstKept) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "?\r\n";
    }
    const DataFileContent c = DataFileReader::readText(text);
    EXPECT_EQ(c.badLineCount, 3000);
    EXPECT_EQ(c.badLines.size(), DataFileParser::kMaxKeptBadLines);
}

// A data log file has a line as the header block writes it, or a record: a line that merely
// starts with '#' does not make one.
TEST(DataFileParser, ADataLogFileHasAHeaderLineOrARecord) {
    const struct {
        const char* name;
        std::string text;
        bool dataLog;
        qint64 headerLines;
    } cases[] = {
        {"header block", kRawHexHeader, true, 11},
        {"temperature header and a record", kTemperatureHeader + kTemperatureLine, true, 11},
        {"records without a header", kRawHexLine + kRawHexHeated, true, 0},
        {"one header line", "# LogInterval: 1\r\n", true, 1},
        {"the column line alone", "# Date        Time     TTop    T2     T3     T4    TBot Htr\r\n",
         true, 1},
        {"a script", "#!/bin/sh\necho hello\n", false, 0},
        {"a heading", "# Notes\r\n\r\nThe probe went in at 13:00.\r\n", false, 0},
        {"an editor's line", "# -*- coding: utf-8 -*-\n# Date of the cruise: May\n", false, 0},
        {"a comment with a date", "# Date 2026-12-07 Time 13:00\n", false, 0},
        {"binary with a '#' line",
         std::string("\x7f"
                     "ELF\x02\n#\xff\xfe\0\n",
                     11),
         false, 0},
        {"empty", "", false, 0},
    };
    for (const auto& c : cases) {
        DataFileParser parser;
        parser.feed(c.text);
        parser.finish();
        EXPECT_EQ(parser.isDataLogFile(), c.dataLog) << c.name;
        EXPECT_EQ(parser.headerLineCount(), c.headerLines) << c.name;
        EXPECT_EQ(DataFileReader::readText(c.text).isDataLogFile(), c.dataLog) << c.name;
    }
}

TEST(DataFileParser, ResetStartsAnEmptyFile) {
    DataFileParser parser;
    parser.feed(kRawHexHeader + kRawHexLine + "07-Dec");
    parser.reset();
    EXPECT_FALSE(parser.isDataLogFile());
    parser.feed(kRawHexHeated);
    const std::vector<LogRecord> records = parser.takeRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].lineNumber, 1);
    EXPECT_EQ(records[0].headerIndex, -1);
    EXPECT_TRUE(parser.headers().empty());
}

} // namespace
} // namespace quorvane
