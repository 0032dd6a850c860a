#include "shell/QtButton.h"

#include "shell/FocusParking.h"
#include "shell/QtStrings.h"

#include <QFontMetrics>
#include <QPushButton>

namespace quorvane {

namespace {

// Room for the caption inside the button's frame and margins.
constexpr int kCaptionMargin = 8;

} // namespace

QtButton::QtButton(QPushButton* button)
    : m_button(button), m_facePalette(button->palette()), m_caption(toStdString(button->text())) {
    m_button->setText(wrapped(button->text()));
    connect(m_button, &QPushButton::clicked, this, &QtButton::handleClicked);
}

std::string QtButton::caption() const {
    return m_caption;
}

void QtButton::setCaption(const std::string& caption) {
    m_caption = caption;
    m_button->setText(wrapped(toQString(caption)));
}

// A caption too wide for the button goes on two lines, broken at the last blank that lets
// the first line fit, as command buttons have always done.
QString QtButton::wrapped(const QString& caption) const {
    const QFontMetrics metrics(m_button->font());
    const int room = m_button->width() - kCaptionMargin;
    if (metrics.horizontalAdvance(caption) <= room) {
        return caption;
    }
    qsizetype cut = -1;
    for (qsizetype i = caption.indexOf(u' '); i >= 0; i = caption.indexOf(u' ', i + 1)) {
        if (cut < 0 || metrics.horizontalAdvance(caption.left(i)) <= room) {
            cut = i;
        }
    }
    if (cut < 0) {
        return caption;
    }
    return caption.left(cut) + u'\n' + caption.mid(cut + 1);
}

// The button's own flag, not the effect of a disabled parent.
bool QtButton::isEnabled() const {
    return !m_button->testAttribute(Qt::WA_ForceDisabled);
}

void QtButton::setEnabled(bool enabled) {
    if (!enabled) {
        FocusParking::beforeDisabling(m_button);
    }
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
