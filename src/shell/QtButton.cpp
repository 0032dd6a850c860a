#include "shell/QtButton.h"

#include "shell/QtStrings.h"

#include <QPushButton>

namespace quorvane {

QtButton::QtButton(QPushButton* button) : m_button(button), m_facePalette(button->palette()) {
    connect(m_button, &QPushButton::clicked, this, &QtButton::handleClicked);
}

std::string QtButton::caption() const {
    return toStdString(m_button->text());
}

void QtButton::setCaption(const std::string& caption) {
    m_button->setText(toQString(caption));
}

// The button's own flag, not the effect of a disabled parent.
bool QtButton::isEnabled() const {
    return !m_button->testAttribute(Qt::WA_ForceDisabled);
}

void QtButton::setEnabled(bool enabled) {
    m_button->setEnabled(enabled);
}

void QtButton::setBackground(Color color) {
    m_background = color;
    if (color.systemFace) {
        m_button->setPalette(m_facePalette);
        m_button->setAutoFillBackground(false);
        return;
    }
    const QColor rgb(color.red, color.green, color.blue);
    QPalette palette = m_facePalette;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Button, rgb);
    }
    // Dark text on light colours (green), light text on dark ones (red).
    const int luma = (299 * color.red + 587 * color.green + 114 * color.blue) / 1000;
    const QColor text = luma >= 128 ? QColor(Qt::black) : QColor(Qt::white);
    palette.setColor(QPalette::Active, QPalette::ButtonText, text);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, text);
    m_button->setPalette(palette);
}

void QtButton::setFocus() {
    m_button->setFocus(Qt::OtherFocusReason);
}

void QtButton::handleClicked() {
    if (m_clicked) {
        m_clicked();
    }
}

} // namespace quorvane
