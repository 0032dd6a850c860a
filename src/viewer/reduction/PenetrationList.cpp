#include "viewer/reduction/PenetrationList.h"

#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ResultsText.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace quorvane {

PenetrationList::PenetrationList(ReductionController& controller, QWidget* parent)
    : QTableWidget(0, ColumnCount, parent), m_controller(controller) {
    setHorizontalHeaderLabels({QStringLiteral("Run"), QStringLiteral("Pen."),
                               QStringLiteral("Penetration (UTC)"), QStringLiteral("Records"),
                               QStringLiteral("q mW/m²"), QStringLiteral("Quality")});
    setAccessibleName(QStringLiteral("Penetrations of the file"));
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Four rows in sight; more scroll.
    setFixedHeight(horizontalHeader()->sizeHint().height() +
                   4 * verticalHeader()->defaultSectionSize() + 2 * frameWidth());
    connect(this, &QTableWidget::itemSelectionChanged, this, &PenetrationList::chosen);
    connect(&m_controller, &ReductionController::penetrationsChanged, this,
            &PenetrationList::refresh);
    refresh();
}

void PenetrationList::refresh() {
    const QSignalBlocker quiet(this);
    const QList<PenetrationRow> rows = m_controller.penetrations();
    setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const PenetrationRow& p = rows[i];
        const QString texts[ColumnCount] = {
            QString::number(p.run),
            QString::number(p.penetration),
            ResultsText::utc(p.penetrationS),
            QString::number(p.records),
            ResultsText::number(p.heatFlowMWPerM2, 1),
            p.quality.isEmpty() ? QString::fromUtf8(ResultsText::kDash) : p.quality};
        for (int c = 0; c < ColumnCount; ++c) {
            QTableWidgetItem* cell = item(i, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                cell->setTextAlignment(c == Time || c == Quality
                                           ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignRight | Qt::AlignVCenter);
                setItem(i, c, cell);
            }
            cell->setText(texts[c]);
            cell->setData(Qt::UserRole, p.index);
        }
        if (p.index == m_controller.chosenIndex() && currentRow() != i) {
            setCurrentCell(i, 0);
        }
    }
    if (m_controller.chosenIndex() == 0) {
        clearSelection();
    }
}

void PenetrationList::chosen() {
    const QList<QTableWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty()) {
        m_controller.choosePenetration(selected.front()->data(Qt::UserRole).toInt());
    }
}

} // namespace quorvane
