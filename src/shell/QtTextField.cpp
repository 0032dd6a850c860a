#include "shell/QtTextField.h"

#include "shell/QtStrings.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace quorvane {

namespace {

// Focus moving to or from another window is not a focus change within the form.
bool isWindowSwitch(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

QtTextField::QtTextField(QLineEdit* edit)
    : m_edit(edit), m_defaultPalette(edit->palette()), m_lastText(toStdString(edit->text())) {
    connect(m_edit, &QLineEdit::textChanged, this, &QtTextField::handleTextChanged);
    m_edit->installEventFilter(this);
}

std::string QtTextField::text() const {
    return toStdString(m_edit->text());
}

void QtTextField::setText(const std::string& text) {
    const QString next = toQString(text);
    if (next != m_edit->text()) {
        m_edit->setText(next);
    }
}

void QtTextField::setSelection(int start, int length) {
    m_edit->setSelection(start, length);
}

QColor QtTextField::toQColor(Color color, QPalette::ColorRole faceRole) const {
    if (color.systemFace) {
        return m_defaultPalette.color(QPalette::Active, faceRole);
    }
    return QColor(color.red, color.green, color.blue);
}

void QtTextField::setBackground(Color color) {
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, toQColor(color, QPalette::Button));
    m_edit->setPalette(palette);
}

void QtTextField::setForeground(Color color) {
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, toQColor(color, QPalette::Button));
    m_edit->setPalette(palette);
}

void QtTextField::setFocus() {
    // Asked for from behind a message box, the focus comes back only when the window is
    // active again, as a window switch; the got-focus reaction must run then all the same.
    m_focusAsked = !m_edit->hasFocus();
    m_edit->setFocus(Qt::OtherFocusReason);
}

bool QtTextField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            const auto* focus = static_cast<QFocusEvent*>(event);
            if (focus->reason() == Qt::MouseFocusReason) {
                // The press that gave the focus places the caret afterwards; react after it
                // so that a selection made by the reaction stays.
                QTimer::singleShot(0, this, &QtTextField::reportGotFocus);
            } else if (!isWindowSwitch(focus->reason()) || m_focusAsked) {
                reportGotFocus();
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto* focus = static_cast<QFocusEvent*>(event);
            if (!isWindowSwitch(focus->reason())) {
                m_focusAsked = false;
            }
            if (!isWindowSwitch(focus->reason()) && m_lostFocus) {
                m_lostFocus();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtTextField::reportGotFocus() {
    m_focusAsked = false;
    if (m_edit->hasFocus() && m_gotFocus) {
        m_gotFocus();
    }
}

void QtTextField::handleTextChanged(const QString& text) {
    std::string now = toStdString(text);
    if (now == m_lastText) {
        return;
    }
    m_lastText = std::move(now);
    if (m_changed) {
        m_changed();
    }
}

} // namespace quorvane
