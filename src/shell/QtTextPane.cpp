#include "shell/QtTextPane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace quorvane {

QtTextPane::QtTextPane(QPlainTextEdit* edit, Encoding encoding)
    : m_edit(edit), m_encoding(encoding) {
    m_edit->setReadOnly(true);
    // An undo history would hold a second copy of everything that was ever shown.
    m_edit->setUndoRedoEnabled(false);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QString QtTextPane::decode(const std::string& text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    if (m_encoding == Encoding::Latin1) {
        return QString::fromLatin1(bytes);
    }
    // Stateful, so that a character split between two appends is shown whole.
    return m_utf8.decode(bytes);
}

int QtTextPane::ShownState::step(QChar ch) {
    if (ch == u'\n' && afterReturn) {
        afterReturn = false;
        return 0;
    }
    afterReturn = ch == u'\r';
    if (ch == u'\r' || ch == u'\n') {
        column = 0;
        return 1;
    }
    if (column >= kDisplayLineLimit) {
        column = 1;
        return 2;
    }
    ++column;
    return 1;
}

QString QtTextPane::toShown(const QString& decoded) {
    QString shown;
    shown.reserve(decoded.size() + decoded.size() / kDisplayLineLimit + 1);
    for (const QChar ch : decoded) {
        const int count = m_end.step(ch);
        if (count == 0) {
            continue;
        }
        if (ch == u'\r' || ch == u'\n') {
            shown.append(u'\n');
            continue;
        }
        if (count == 2) {
            shown.append(u'\n');
        }
        shown.append(ch);
    }
    return shown;
}

void QtTextPane::append(const std::string& text) {
    if (text.empty()) {
        return;
    }
    m_text += text;
    const QString shown = toShown(decode(text));
    if (!shown.isEmpty()) {
        QTextCursor end(m_edit->document());
        end.movePosition(QTextCursor::End);
        end.insertText(shown);
    }
    moveCaretToEnd();
}

void QtTextPane::setText(const std::string& text) {
    m_text = text;
    m_utf8 = QStringDecoder(QStringDecoder::Utf8);
    m_end = ShownState{};
    m_start = ShownState{};
    m_shownAhead = 0;
    m_edit->setPlainText(toShown(decode(text)));
    moveCaretToEnd();
}

void QtTextPane::keepLast(std::size_t count) {
    if (count >= m_text.size()) {
        return;
    }
    const std::size_t drop = m_text.size() - count;
    // The shown document loses whole characters only: a UTF-8 character cut in two by the
    // drop leaves the screen with its front.
    std::size_t shownEnd = drop;
    if (m_encoding == Encoding::Utf8) {
        while (shownEnd < m_text.size() &&
               (static_cast<unsigned char>(m_text[shownEnd]) & 0xC0) == 0x80) {
            ++shownEnd;
        }
    }
    const std::size_t shownFrom = std::min(m_shownAhead, shownEnd);
    m_shownAhead = shownEnd - drop;
    const QByteArrayView dropped(m_text.data() + shownFrom,
                                 static_cast<qsizetype>(shownEnd - shownFrom));
    const QString droppedText =
        m_encoding == Encoding::Latin1 ? QString::fromLatin1(dropped) : QString::fromUtf8(dropped);
    // Replay the line breaking over the dropped text to find where it ends on screen.
    int shownDropped = 0;
    for (const QChar ch : droppedText) {
        shownDropped += m_start.step(ch);
    }
    m_text.erase(0, drop);
    QTextCursor cut(m_edit->document());
    cut.setPosition(std::min(shownDropped, m_edit->document()->characterCount() - 1),
                    QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    moveCaretToEnd();
}

void QtTextPane::setWrapping(bool wrap) {
    m_edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void QtTextPane::moveCaretToEnd() {
    QTextCursor caret = m_edit->textCursor();
    caret.movePosition(QTextCursor::End);
    m_edit->setTextCursor(caret);
    m_edit->ensureCursorVisible();
}

} // namespace quorvane
