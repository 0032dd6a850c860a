#include "viewer/reduction/CruiseTableWindow.h"

#include "station/CruiseColumns.h"
#include "station/CruiseTable.h"
#include "viewer/reduction/CruiseTableModel.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace quorvane {

using station::CruiseColumns;

CruiseTableWindow::CruiseTableWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(new CruiseTableModel(this)), m_view(new QTableView),
      m_plot(new QCustomPlot), m_message(new QLabel),
      m_open(new QPushButton(QStringLiteral("Open data file"))) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1100, 700);
    m_view->setModel(m_model);
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    // The file's own order until a header is clicked.
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false);
    m_view->setAccessibleName(QStringLiteral("Stations of the cruise table"));
    m_plot->setAccessibleName(QStringLiteral("Heat flow against station order"));
    m_open->setAccessibleName(QStringLiteral("Open the chosen station's data file"));

    m_plot->setLocale(QLocale::c());
    m_plot->setMinimumHeight(220);
    m_points = m_plot->addGraph();
    m_points->setLineStyle(QCPGraph::lsNone);
    QCPScatterStyle style(QCPScatterStyle::ssCircle, 7);
    style.setPen(QPen(QColor(30, 90, 200), 1.5));
    style.setBrush(QColor(30, 90, 200));
    m_points->setScatterStyle(style);
    m_errors = new QCPErrorBars(m_plot->xAxis, m_plot->yAxis);
    m_errors->setDataPlottable(m_points);
    m_errors->setPen(QPen(QColor(30, 90, 200), 1));
    m_plot->xAxis->setLabel(QStringLiteral("station, in the table's order"));
    m_plot->yAxis->setLabel(QStringLiteral("heat flow  [mW/m²]"));

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_view);
    splitter->addWidget(m_plot);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* bottom = new QHBoxLayout;
    m_message->setWordWrap(true);
    bottom->addWidget(m_message, 1);
    bottom->addWidget(m_open);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);

    connect(m_view, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    connect(m_open, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_view->currentIndex();
        if (!current.isValid()) {
            say(QStringLiteral("Choose a station in the list first."), true);
            return;
        }
        openRow(current.row());
    });
}

bool CruiseTableWindow::load(const QString& path, QString& error) {
    m_path = path;
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" – cruise table"));
    const auto table = station::CruiseTable::read(path, error);
    if (!table) {
        m_model->setTable({}, {});
        showScatter();
        say(error, true);
        return false;
    }
    m_model->setTable(table->columns(), table->rows());
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->resizeColumnsToContents();
    showScatter();
    say(QStringLiteral("%1: %2 stations. Double-click one to show its data file.")
            .arg(QFileInfo(path).fileName())
            .arg(table->rows().size()),
        false);
    return true;
}

void CruiseTableWindow::showScatter() {
    QVector<double> x, y, err;
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    // The table's own order (by time), whatever the list is sorted by.
    const QList<station::CruiseRow>& rows = m_model->fileRows();
    const int n = static_cast<int>(rows.size());
    for (int i = 0; i < n; ++i) {
        const station::CruiseRow& row = rows[i];
        const auto q = row.number(CruiseColumns::heatFlow);
        if (q) {
            x << i + 1;
            y << *q;
            err << row.number(CruiseColumns::heatFlowErr).value_or(0.0);
        }
        if (n <= 40) {
            ticker->addTick(i + 1, row.text(CruiseColumns::station) + QLatin1Char('/') +
                                       row.text(CruiseColumns::penetration));
        }
    }
    if (n <= 40) {
        m_plot->xAxis->setTicker(ticker);
        m_plot->xAxis->setTickLabelRotation(n > 10 ? 45 : 0);
    } else {
        m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    m_points->setData(x, y, true);
    m_errors->setData(err);
    m_plot->xAxis->setRange(0.5, std::max(n, 1) + 0.5);
    if (!y.isEmpty()) {
        double lo = y.front();
        double hi = lo;
        for (int i = 0; i < y.size(); ++i) {
            lo = std::min(lo, y[i] - err[i]);
            hi = std::max(hi, y[i] + err[i]);
        }
        const double pad = std::max({(hi - lo) * 0.1, std::abs(hi) * 0.1, 1.0});
        m_plot->yAxis->setRange(std::min(0.0, lo - pad), hi + pad);
    } else {
        m_plot->yAxis->setRange(0, 100);
    }
    m_plot->replot();
}

bool CruiseTableWindow::openRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        return false;
    }
    const station::CruiseRow& r = m_model->row(row);
    const QString file = r.text(CruiseColumns::dataFile);
    if (file.isEmpty()) {
        say(QStringLiteral("%1 names no data file.").arg(r.label()), true);
        return false;
    }
    if (!QFileInfo::exists(file)) {
        say(QStringLiteral("The data file of %1, %2, is not there (moved or on another "
                           "computer?).")
                .arg(r.label(), file),
            true);
        return false;
    }
    say(QStringLiteral("Showing %1 (%2) in the viewer.").arg(QFileInfo(file).fileName(), r.label()),
        false);
    emit openDataFileRequested(file);
    return true;
}

void CruiseTableWindow::say(const QString& text, bool problem) {
    m_message->setText(text);
    m_message->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
}

} // namespace quorvane
