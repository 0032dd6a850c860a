#include "viewer/StatusLabel.h"

#include <QPainter>
#include <algorithm>

namespace quorvane {

namespace {

constexpr int kNarrowest = 48;

} // namespace

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void StatusLabel::showText(const QString& text) {
    setText(text);
    setAccessibleName(text);
    setToolTip(text);
}

QSize StatusLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    return {std::min(full.width(), kNarrowest), full.height()};
}

bool StatusLabel::elided() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void StatusLabel::paintEvent(QPaintEvent* event) {
    if (!elided()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // background and frame (a style sheet's colours)
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect box = contentsRect();
    painter.drawText(box, static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, box.width()));
}

} // namespace quorvane
