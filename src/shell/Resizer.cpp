#include "shell/Resizer.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace quorvane {

Resizer::Resizer(QObject* parent) : QObject(parent) {}

void Resizer::add(QWidget* control, const QRectF& design, const QSizeF& parentDesignSize,
                  const QString& tag) {
    QWidget* parent = control->parentWidget();
    auto [it, isNew] = m_parents.try_emplace(parent, Parent{parentDesignSize, {}});
    if (isNew) {
        m_order.push_back(parent);
        parent->installEventFilter(this);
    }
    it->second.children.push_back(Entry{control, design, tag.toUpper()});
    control->setGeometry(design.toRect());
}

QString Resizer::tagOf(const QWidget* control) const {
    for (const auto& [parent, record] : m_parents) {
        for (const auto& entry : record.children) {
            if (entry.control == control) {
                return entry.tag;
            }
        }
    }
    return {};
}

void Resizer::layOut(QWidget* parent, const Parent& record) const {
    const double grownW = parent->width() - record.designSize.width();
    const double grownH = parent->height() - record.designSize.height();
    for (const auto& entry : record.children) {
        QRectF r = entry.design;
        if (entry.tag.contains(u'X')) {
            r.moveLeft(r.left() + grownW);
        }
        if (entry.tag.contains(u'Y')) {
            r.moveTop(r.top() + grownH);
        }
        if (entry.tag.contains(u'W')) {
            r.setWidth(std::max(0.0, r.width() + grownW));
        }
        if (entry.tag.contains(u'H')) {
            r.setHeight(std::max(0.0, r.height() + grownH));
        }
        const QRect placed(
            static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top())),
            static_cast<int>(std::lround(r.width())), static_cast<int>(std::lround(r.height())));
        if (entry.control->geometry() != placed) {
            entry.control->setGeometry(placed);
        }
    }
}

void Resizer::apply() {
    for (QWidget* parent : m_order) {
        layOut(parent, m_parents.at(parent));
    }
}

bool Resizer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        auto it = m_parents.find(static_cast<QWidget*>(watched));
        if (it != m_parents.end()) {
            layOut(it->first, it->second);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane
