#include "logging/DisplayPanes.h"
#include "shell/QtTextPane.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace quorvane;

namespace {

class TextPaneTest : public ::testing::Test {
protected:
    QPlainTextEdit edit;
    QtTextPane pane{&edit};

    int caret() const { return edit.textCursor().position(); }
    int documentEnd() const { return edit.document()->characterCount() - 1; }
};

} // namespace

TEST_F(TextPaneTest, TextIsExactlyWhatWasAppendedWithCrLfShownAsOneBreak) {
    const std::string parts[] = {
        "Program loaded.\r\n",        "partial ", "line\r", "\n", "next\r\n",
        std::string("\x03T 00FF\r\n")};
    std::string all;
    for (const auto& p : parts) {
        pane.append(p);
        all += p;
        EXPECT_EQ(pane.text(), all);
        EXPECT_EQ(pane.length(), all.size());
        EXPECT_EQ(caret(), documentEnd()); // the newest line is in view
    }
    // A CR split from its LF across two appends still makes one shown break.
    EXPECT_EQ(edit.toPlainText(),
              QString::fromLatin1("Program loaded.\npartial line\nnext\n\x03T 00FF\n"));
    EXPECT_EQ(edit.document()->blockCount(), 5);
}

TEST_F(TextPaneTest, LoneCarriageReturnAndLineFeedEachBreakOnce) {
    pane.append("a\rb\nc\r\rd");
    EXPECT_EQ(pane.text(), "a\rb\nc\r\rd");
    EXPECT_EQ(edit.toPlainText(), "a\nb\nc\n\nd");
}

TEST_F(TextPaneTest, LongLinesGetDisplayBreaksOnlyOnScreen) {
    const int limit = QtTextPane::kDisplayLineLimit;
    const std::string line(static_cast<std::size_t>(limit) * 3 + 10, 'x');
    pane.append(line.substr(0, 1500));
    pane.append(line.substr(1500));
    EXPECT_EQ(pane.text(), line);
    EXPECT_EQ(pane.length(), line.size());
    // Shown as blocks of at most kDisplayLineLimit characters.
    EXPECT_EQ(edit.document()->blockCount(), 4);
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) {
        EXPECT_LE(b.length() - 1, limit);
    }
    // A real line end starts the count again.
    pane.append("\r\n" + std::string(static_cast<std::size_t>(limit), 'y'));
    EXPECT_EQ(edit.document()->blockCount(), 5);
    EXPECT_EQ(edit.document()->lastBlock().text(), QString(limit, u'y'));
}

TEST_F(TextPaneTest, SetTextReplacesEverythingAndClearEmpties) {
    pane.append("old text\r\n");
    pane.setText("new\r\nlines");
    EXPECT_EQ(pane.text(), "new\r\nlines");
    EXPECT_EQ(edit.toPlainText(), "new\nlines");
    EXPECT_EQ(caret(), documentEnd());
    clearPane(pane);
    EXPECT_EQ(pane.text(), "");
    EXPECT_EQ(pane.length(), 0u);
    EXPECT_EQ(edit.toPlainText(), "");
}

TEST_F(TextPaneTest, SerialPaneIsCutAboveAMillionCharacters) {
    QPlainTextEdit serialEdit;
    QtTextPane serial(&serialEdit, QtTextPane::Encoding::Latin1);
    std::string content;
    content.reserve(kPaneLimit + 64);
    for (std::size_t i = 0; content.size() < kPaneLimit - 43; ++i) {
        content += ":\x03T 1234 5678 9ABC DEF0 1111 2222 3333 4444\r\n"; // 45 characters
    }
    content.resize(kPaneLimit - 1, 'z');
    appendToPane(serial, content);
    appendToPane(serial, "A"); // exactly 1000000: kept
    ASSERT_EQ(serial.length(), kPaneLimit);
    EXPECT_EQ(serial.text().back(), 'A');

    appendToPane(serial, "B"); // 1000001: the last 800000 stay
    const std::string expected = (content + "AB").substr(kPaneLimit + 1 - kPaneKeep);
    EXPECT_EQ(serial.length(), kPaneKeep);
    EXPECT_EQ(serial.text(), expected);
    EXPECT_EQ(serialEdit.textCursor().position(), serialEdit.document()->characterCount() - 1);
    // The shown document lost the same front: its lines are shorter than the display limit.
    EXPECT_EQ(serialEdit.toPlainText(), QString::fromLatin1(expected).replace("\r\n", "\n"));

    appendToPane(serial, "\r\n");
    EXPECT_EQ(serial.text(), expected + "\r\n");
}

TEST_F(TextPaneTest, KeepLastDropsTheSameFrontFromTheShownDocument) {
    const std::string longRun(2500, 'x');
    const struct {
        const char* name;
        std::string content;
        std::vector<std::size_t> keeps; // cuts made one after the other
        QString shown;
    } cases[] = {
        {"at a line start", "ab\r\ncd\r\n", {4}, "cd\n"},
        {"between CR and LF: the break went with the CR", "ab\r\ncd", {3}, "cd"},
        {"nothing to drop", "ab\r\ncd", {6, 99}, "ab\ncd"},
        {"inside a display-broken line",
         longRun + "\r\nend",
         {1600},
         QString(95, u'x') + u'\n' + QString(1000, u'x') + u'\n' + QString(500, u'x') + "\nend"},
        {"a second cut goes on from where the first stopped",
         longRun + "\r\nend",
         {1600, 3},
         "end"},
        {"everything", "ab\r\ncd", {0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QPlainTextEdit serialEdit;
        QtTextPane serial(&serialEdit, QtTextPane::Encoding::Latin1);
        serial.append(c.content);
        for (const std::size_t keep : c.keeps) {
            serial.keepLast(keep);
        }
        const std::size_t kept = std::min(c.content.size(), c.keeps.back());
        EXPECT_EQ(serial.text(), c.content.substr(c.content.size() - kept));
        EXPECT_EQ(serialEdit.toPlainText(), c.shown);
        EXPECT_EQ(serialEdit.textCursor().position(), serialEdit.document()->characterCount() - 1);
    }
}

TEST_F(TextPaneTest, CutPaneShowsTheTailOfWhatAnUncutPaneShows) {
    // Chunks that split CR from LF and run past the display limit, cut between appends.
    QPlainTextEdit cutEdit;
    QtTextPane cut(&cutEdit, QtTextPane::Encoding::Latin1);
    QPlainTextEdit wholeEdit;
    QtTextPane whole(&wholeEdit, QtTextPane::Encoding::Latin1);
    const std::string chunks[] = {"T 0001\r", "\nT 0002\r\n", std::string(1700, 'g'),
                                  "\r",       "\r\n",         std::string(900, 'h') + "\n"};
    for (int round = 0; round < 12; ++round) {
        const std::string& chunk = chunks[round % 6];
        cut.append(chunk);
        whole.append(chunk);
        cut.keepLast(cut.length() * 2 / 3);
        const QString shown = cutEdit.toPlainText();
        ASSERT_TRUE(wholeEdit.toPlainText().endsWith(shown)) << "round " << round;
        EXPECT_EQ(whole.text().substr(whole.length() - cut.length()), cut.text());
    }
    cut.append("end\r\n");
    EXPECT_TRUE(cutEdit.toPlainText().endsWith("h\nend\n"));
}

// The Events and logged-data panes are UTF-8: a cut drops the front of the shown document
// too (no rewrite), and a character cut in two leaves the screen whole.
TEST_F(TextPaneTest, KeepLastOnAUtf8PaneDropsWholeCharactersFromTheScreen) {
    const std::string degree = "\xc2\xb0";
    const struct {
        const char* name;
        std::string content;
        std::vector<std::size_t> keeps;
        QString shown;
    } cases[] = {
        {"inside a character", degree + "C\r\nnext", {8}, "C\nnext"},
        {"after a character", degree + "C\r\nnext", {7}, "C\nnext"},
        {"nothing to drop", degree + "C\r\nnext", {9}, QString::fromUtf8(degree) + "C\nnext"},
        {"a second cut inside what the first took from the screen",
         "a" + degree + degree + "b",
         {4, 3},
         QString::fromUtf8(degree) + "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QPlainTextEdit utf8Edit;
        QtTextPane utf8(&utf8Edit, QtTextPane::Encoding::Utf8);
        utf8.append(c.content);
        for (const std::size_t keep : c.keeps) {
            utf8.keepLast(keep);
        }
        EXPECT_EQ(utf8.text(), c.content.substr(c.content.size() - c.keeps.back()));
        EXPECT_EQ(utf8Edit.toPlainText(), c.shown);
        utf8.append("!\r\n");
        EXPECT_EQ(utf8Edit.toPlainText(), c.shown + "!\n");
    }
}

TEST_F(TextPaneTest, SerialBytesAreShownAsLatin1AndKeptAsBytes) {
    QPlainTextEdit serialEdit;
    QtTextPane serial(&serialEdit, QtTextPane::Encoding::Latin1);
    const std::string bytes("\xff\xfe\x80 \x00end", 8);
    serial.append(bytes);
    EXPECT_EQ(serial.text(), bytes);
    EXPECT_EQ(serial.length(), 8u);
    EXPECT_EQ(serialEdit.toPlainText().size(), 8);
    EXPECT_EQ(serialEdit.toPlainText().at(0), QChar(0xff));
}

TEST_F(TextPaneTest, Utf8SplitAcrossAppendsIsShownWhole) {
    pane.append("\xc2");
    pane.append("\xb0"
                "C");
    EXPECT_EQ(pane.text(), "\xc2\xb0"
                           "C");
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("\xc2\xb0"
                                                    "C"));
}

TEST_F(TextPaneTest, WrappingCanBeTurnedOff) {
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    pane.setWrapping(false);
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
    pane.setWrapping(true);
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(TextPaneTest, NewestLineIsInViewOnAShownPane) {
    edit.resize(300, 120);
    edit.show();
    for (int i = 0; i < 200; ++i) {
        pane.append("line " + std::to_string(i) + "\r\n");
    }
    QApplication::processEvents();
    EXPECT_GT(edit.verticalScrollBar()->value(), 0);
    const QTextBlock newest = edit.document()->findBlockByNumber(199);
    ASSERT_EQ(newest.text(), "line 199");
    EXPECT_TRUE(edit.viewport()->rect().contains(edit.cursorRect(QTextCursor(newest))));
}

TEST_F(TextPaneTest, OperatorCannotTypeIntoThePane) {
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_FALSE(edit.isUndoRedoEnabled());
}
