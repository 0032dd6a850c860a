#pragma once

#include "platform/TextField.h"

#include <QObject>
#include <QPalette>

class QLineEdit;

namespace quorvane {

// A single-line entry field. The change reaction runs whenever the text really changes,
// from code or by the operator. Focus changes caused by another window taking over (a
// message box opening, a menu popping up) are not reported: a box opened by the lost-focus
// check must not run that check again. The focus the program gives back behind such a box
// is reported when it arrives.
class QtTextField : public QObject, public TextField {
    Q_OBJECT
public:
    explicit QtTextField(QLineEdit* edit);

    std::string text() const override;
    void setText(const std::string& text) override;
    void setSelection(int start, int length) override;
    void setBackground(Color color) override;
    void setForeground(Color color) override;
    void setFocus() override;

    void onChanged(std::function<void()> reaction) override { m_changed = std::move(reaction); }
    void onGotFocus(std::function<void()> reaction) override { m_gotFocus = std::move(reaction); }
    void onLostFocus(std::function<void()> reaction) override { m_lostFocus = std::move(reaction); }

    QLineEdit* widget() const { return m_edit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleTextChanged(const QString& text);
    void reportGotFocus();
    QColor toQColor(Color color, QPalette::ColorRole faceRole) const;

    QLineEdit* m_edit;
    QPalette m_defaultPalette;
    std::string m_lastText;
    bool m_focusAsked = false; // setFocus() was called and the focus has not come yet
    std::function<void()> m_changed;
    std::function<void()> m_gotFocus;
    std::function<void()> m_lostFocus;
};

} // namespace quorvane
