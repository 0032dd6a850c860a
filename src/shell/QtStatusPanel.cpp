#include "shell/QtStatusPanel.h"

#include "shell/QtStrings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace quorvane {

QtStatusPanel::QtStatusPanel(QWidget* parent, int widthPx)
    : m_frame(new QFrame(parent)), m_picture(new QLabel(m_frame)),
      m_textLabel(new QLabel(m_frame)) {
    m_frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_frame->setFixedWidth(widthPx);
    auto* layout = new QHBoxLayout(m_frame);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(3);
    layout->addWidget(m_picture);
    layout->addWidget(m_textLabel, 1);
    m_picture->hide();
    m_textLabel->setTextFormat(Qt::PlainText);
}

void QtStatusPanel::setText(const std::string& text) {
    m_text = text;
    m_textLabel->setText(toQString(text));
}

bool QtStatusPanel::setPicture(const std::string& path) {
    QPixmap picture;
    if (!picture.load(toQString(path))) {
        m_picture->clear();
        m_picture->hide();
        return false;
    }
    m_picture->setPixmap(picture);
    m_picture->show();
    return true;
}

bool QtStatusPanel::hasPicture() const {
    return !m_picture->pixmap().isNull();
}

} // namespace quorvane
