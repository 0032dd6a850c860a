#include "shell/QtLabel.h"

#include "shell/QtStrings.h"

#include <QLabel>

namespace quorvane {

QtLabel::QtLabel(QLabel* label) : m_label(label), m_caption(toStdString(label->text())) {
    m_label->setTextFormat(Qt::PlainText);
}

void QtLabel::setCaption(const std::string& caption) {
    m_caption = caption;
    m_label->setText(toDisplayLines(caption));
}

} // namespace quorvane
