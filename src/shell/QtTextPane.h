#pragma once

#include "platform/TextPane.h"

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
    void setWrapping(bool wrap) override;

    QPlainTextEdit* widget() const { return m_edit; }

private:
    QString decode(const std::string& text);
    QString toShown(const QString& decoded);
    void moveCaretToEnd();

    QPlainTextEdit* m_edit;
    Encoding m_encoding;
    QStringDecoder m_utf8{QStringDecoder::Utf8};
    std::string m_text;
    int m_shownColumn = 0;      // characters since the last shown line break
    bool m_afterReturn = false; // the last character was CR: a following LF is the same break
};

} // namespace quorvane
