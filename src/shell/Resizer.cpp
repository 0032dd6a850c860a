#include "shell/Resizer.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

// What stays between a stretched control and the neighbour it grows towards.
constexpr double kKeepApart = 2.0;

struct Span {
    double start;
    double size;
};

// One axis of a control: its near edge and size in a parent whose length went from
// designLength to length. A tagged edge keeps its share of the parent's length.
Span onAxis(double start, double size, double designLength, double length, bool move,
            bool stretch) {
    const double share = designLength > 0 ? length / designLength : 1.0;
    const double from = move ? start * share : start;
    if (stretch) {
        return {from, std::max(0.0, (start + size) * share - from)};
    }
    return {from, size};
}

bool overlaps(double a, double aSize, double b, double bSize) {
    return a < b + bSize && b < a + aSize;
}

} // namespace

Resizer::Resizer(QObject* parent) : QObject(parent) {}

void Resizer::add(QWidget* control, const QRectF& design, const QSizeF& parentDesignSize,
                  const QString& tag) {
    QWidget* parent = control->parentWidget();
    auto [it, isNew] = m_parents.try_emplace(parent, Parent{parentDesignSize, {}, std::nullopt});
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

QRectF Resizer::inProportion(const Entry& entry, const QSizeF& designSize,
                             const QSizeF& size) const {
    const QRectF& d = entry.design;
    const Span x = onAxis(d.left(), d.width(), designSize.width(), size.width(),
                          entry.tag.contains(u'X'), entry.tag.contains(u'W'));
    const Span y = onAxis(d.top(), d.height(), designSize.height(), size.height(),
                          entry.tag.contains(u'Y'), entry.tag.contains(u'H'));
    return QRectF(x.start, y.start, x.size, y.size);
}

// The window's size as a share of its designed size: what a control in a frame that only
// moves stretches with.
QSizeF Resizer::windowShare() const {
    QWidget* root = m_order.front();
    const QSizeF design = m_parents.at(root).designSize;
    return QSizeF(design.width() > 0 ? root->width() / design.width() : 1.0,
                  design.height() > 0 ? root->height() / design.height() : 1.0);
}

// The largest share by which the stretching children of a parent of fixed size can grow
// without running into a neighbour or out of the parent.
QSizeF Resizer::stretchLimit(QWidget* parent, const Parent& record) const {
    auto designOf = [&](const QWidget* w) {
        for (const auto& entry : record.children) {
            if (entry.control == w) {
                return entry.design;
            }
        }
        return QRectF(w->geometry());
    };
    double limitW = std::numeric_limits<double>::max();
    double limitH = std::numeric_limits<double>::max();
    for (const auto& entry : record.children) {
        const QRectF& e = entry.design;
        double right = record.designSize.width();
        double bottom = record.designSize.height();
        for (const QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == entry.control) {
                continue;
            }
            const QRectF o = designOf(other);
            if (o.left() >= e.right() && overlaps(o.top(), o.height(), e.top(), e.height())) {
                right = std::min(right, o.left());
            }
            if (o.top() >= e.bottom() && overlaps(o.left(), o.width(), e.left(), e.width())) {
                bottom = std::min(bottom, o.top());
            }
        }
        if (entry.tag.contains(u'W') && e.width() > 0) {
            limitW = std::min(limitW, (right - kKeepApart - e.left()) / e.width());
        }
        if (entry.tag.contains(u'H') && e.height() > 0) {
            limitH = std::min(limitH, (bottom - kKeepApart - e.top()) / e.height());
        }
    }
    return QSizeF(std::max(1.0, limitW), std::max(1.0, limitH));
}

bool Resizer::stretches(const QWidget* parent) const {
    const QString tag = tagOf(parent);
    return tag.contains(u'W') || tag.contains(u'H');
}

void Resizer::layOut(QWidget* parent, Parent& record) {
    // A parent the resizer only moves keeps its size; one it does not know is sized by the
    // toolkit (the window's client area, a tab page).
    const bool fixedParent = !tagOf(parent).isEmpty() && !stretches(parent);
    if (fixedParent && !record.stretchLimit) {
        record.stretchLimit = stretchLimit(parent, record);
    }
    const QSizeF size(parent->width(), parent->height());
    for (const auto& entry : record.children) {
        QRectF r = inProportion(entry, record.designSize, size);
        if (fixedParent) {
            const QSizeF share = windowShare();
            if (entry.tag.contains(u'W')) {
                r.setWidth(entry.design.width() *
                           std::min(share.width(), record.stretchLimit->width()));
            }
            if (entry.tag.contains(u'H')) {
                r.setHeight(entry.design.height() *
                            std::min(share.height(), record.stretchLimit->height()));
            }
        }
        const QRect placed(
            static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top())),
            static_cast<int>(std::lround(r.width())), static_cast<int>(std::lround(r.height())));
        if (entry.control->geometry() != placed) {
            entry.control->setGeometry(placed);
        }
    }
}

void Resizer::layOutFixedParents() {
    for (QWidget* parent : m_order) {
        if (!tagOf(parent).isEmpty() && !stretches(parent)) {
            layOut(parent, m_parents.at(parent));
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
            // Frames that only move do not resize, but what stretches in them follows the
            // window.
            if (it->first == m_order.front()) {
                layOutFixedParents();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane
