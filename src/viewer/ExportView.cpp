#include "viewer/ExportView.h"

#include <qcustomplot.h>

namespace quorvane {

ExportView::ExportView(QCustomPlot& plot, const QList<QCPAbstractItem*>& screenOnly)
    : m_plot(plot) {
    const auto hide = [&](QCPAbstractItem* item) {
        if (item->visible()) {
            item->setVisible(false);
            m_hidden.push_back(item);
        }
    };
    for (QCPAbstractItem* item : screenOnly) {
        hide(item);
    }
    const QCPRange view = plot.xAxis->range();
    const auto inView = [&](double key) { return key >= view.lower && key <= view.upper; };
    for (int i = 0; i < plot.itemCount(); ++i) {
        QCPAbstractItem* item = plot.item(i);
        if (!item->visible() || !item->clipToAxisRect()) {
            continue;
        }
        if (auto* rect = qobject_cast<QCPItemRect*>(item)) {
            QCPItemPosition* a = rect->topLeft;
            QCPItemPosition* b = rect->bottomRight;
            if (a->typeX() != QCPItemPosition::ptPlotCoords ||
                b->typeX() != QCPItemPosition::ptPlotCoords) {
                continue;
            }
            const double from = std::min(a->key(), b->key());
            const double to = std::max(a->key(), b->key());
            if (to < view.lower || from > view.upper) {
                hide(item);
                continue;
            }
            for (QCPItemPosition* p : {a, b}) {
                const double key = std::clamp(p->key(), view.lower, view.upper);
                if (key != p->key()) {
                    m_moved.push_back({p, p->coords()});
                    p->setCoords(key, p->value());
                }
            }
        } else if (auto* text = qobject_cast<QCPItemText*>(item)) {
            if (text->position->typeX() == QCPItemPosition::ptPlotCoords &&
                !inView(text->position->key())) {
                hide(item);
            }
        }
    }
}

ExportView::~ExportView() {
    for (const Moved& m : m_moved) {
        m.position->setCoords(m.coords);
    }
    for (QCPAbstractItem* item : m_hidden) {
        item->setVisible(true);
    }
}

} // namespace quorvane
