#include "shell/QtTextPane.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

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

QString QtTextPane::toShown(const QString& decoded) {
    QString shown;
    shown.reserve(decoded.size() + decoded.size() / kDisplayLineLimit + 1);
    for (const QChar ch : decoded) {
        if (ch == u'\n' && m_afterReturn) {
            m_afterReturn = false;
            continue;
        }
        m_afterReturn = false;
        if (ch == u'\r' || ch == u'\n') {
            shown.append(u'\n');
            m_shownColumn = 0;
            m_afterReturn = ch == u'\r';
            continue;
        }
        if (m_shownColumn >= kDisplayLineLimit) {
            shown.append(u'\n');
            m_shownColumn = 0;
        }
        shown.append(ch);
        ++m_shownColumn;
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
    m_shownColumn = 0;
    m_afterReturn = false;
    m_edit->setPlainText(toShown(decode(text)));
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
