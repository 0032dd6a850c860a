#include "station/CsvText.h"

#include <gtest/gtest.h>

namespace quorvane::station {
namespace {

TEST(CsvText, CellsComeBackAsTheyWent) {
    const QList<QStringList> rows = {
        {"plain", "with, comma", "with \"quotes\"", "two\nlines", " blank ends ", ""},
        {"Süd-Atlantik 23°", "-23.5", "", "x\r\ny", "\"", ","},
    };
    for (const bool crlf : {false, true}) {
        const QByteArray bytes = CsvText::format(rows, crlf);
        QString error;
        const auto table = CsvText::parse(bytes, error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(table->rows, rows);
        EXPECT_EQ(table->crlf, crlf);
    }
    EXPECT_EQ(CsvText::format({{"a", "b,c", "d\"e"}}), "a,\"b,c\",\"d\"\"e\"\n");
    // Found by the fuzzer: a first cell starting with a byte-order mark is quoted, or it would
    // be read back as the file's own mark and lost.
    // So is a row of one empty cell, which would be an empty line, skipped.
    const QList<QStringList> marked = {{QString(QChar(0xFEFF)) + "cruise", "x"}, {""}, {"y"}};
    QString error;
    const auto back = CsvText::parse(CsvText::format(marked), error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->rows, marked);
}

TEST(CsvText, ReadsWhatSpreadsheetsWrite) {
    QString error;
    // A byte-order mark, CRLF, blank lines, no line end at the end.
    const auto table = CsvText::parse("\xEF\xBB\xBF"
                                      "a,b\r\n\r\n1,\"x\"\r\n3,\r\n2,y,",
                                      error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(table->rows, (QList<QStringList>{{"a", "b"}, {"1", "x"}, {"3", ""}, {"2", "y", ""}}));
    EXPECT_TRUE(table->crlf);
}

TEST(CsvText, RefusesBrokenTextWithTheLine) {
    const std::pair<QByteArray, const char*> cases[] = {
        {"a,b\n1,\"open\n2,3\n", "line 2: a quoted cell is never closed"},
        {"a,b\n1,x\"y\n", "line 2: a quote inside a cell that does not begin with one"},
        {"a,b\n1,\"x\"y\n", "line 2: text after a quoted cell's closing quote"},
        {"a,b\nS\xFC"
         "d,1\n",
         "is not UTF-8 text"}, // Latin-1 from an old spreadsheet
    };
    for (const auto& [bytes, reason] : cases) {
        QString error;
        EXPECT_FALSE(CsvText::parse(bytes, error)) << reason;
        EXPECT_EQ(error.toStdString(), reason);
    }
}

} // namespace
} // namespace quorvane::station
