#pragma once

#include "platform/TextPane.h"

#include <QChar>
#include <QStringDecoder>
#include <cstddef>

class QPlainTextEdit;
class QString;

namespace quorvane {

// A display pane on a read-only QPlainTextEdit. The pane's text is kept exactly as the
// logic wrote it (CR LF and all); the document only shows it. Appends insert at the end of
// the document, so their cost follows the appended text, not the pane's length. The shown
// document breaks CR LF into one line, and breaks very long lines (a wrong line speed
// delivers text without any line end) every kDisplayLineLimit characters, because laying
// out a line of a million characters takes the toolkit seconds.
class QtTextPane : public TextPane {
public:
    // How the bytes of the text are shown: the serial pane receives raw bytes.
    enum class Encoding { Utf8, Latin1 };

    static constexpr int kDisplayLineLimit = 1000;

    explicit QtTextPane(QPlainTextEdit* edit, Encoding encoding = Encoding::Utf8);

    std::string text() const override { return m_text; }
    std::size_t length() const override { return m_text.size(); }
    void append(const std::string& text) override;
    void setText(const std::string& text) override;
    // Removes the front of the shown document too, character for character, without
    // laying out the rest again.
    void keepLast(std::size_t count) override;
    void setWrapping(bool wrap) override;

    QPlainTextEdit* widget() const { return m_edit; }

private:
    // Where the line breaking of the shown text stands.
    struct ShownState {
        int column = 0;           // characters since the last shown line break
        bool afterReturn = false; // the last character was CR: a following LF is the same break
        // How many characters the shown document gets for ch: 0 (LF after CR), 1, or 2
        // (a display break, then ch).
        int step(QChar ch);
    };

    QString decode(const std::string& text);
    QString toShown(const QString& decoded);
    void moveCaretToEnd();

    QPlainTextEdit* m_edit;
    Encoding m_encoding;
    QStringDecoder m_utf8{QStringDecoder::Utf8};
    std::string m_text;
    ShownState m_end;   // at the end of the document, for the next append
    ShownState m_start; // at the start of the document, for the next cut
    // Bytes at the front of m_text already gone from the screen (the rest of a character
    // that a cut split).
    std::size_t m_shownAhead = 0;
};

} // namespace quorvane
