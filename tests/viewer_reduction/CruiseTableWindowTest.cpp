#include "viewer/reduction/CruiseTableWindow.h"
#include "station/CruiseColumns.h"
#include "viewer/reduction/CruiseTableModel.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace quorvane::test {
namespace {

using station::CruiseColumns;

class CruiseTableWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Stations in time order; one without a heat flow, one whose data file is gone.
        const struct {
            const char* station;
            const char* heatFlow;
            const char* error;
            bool fileThere;
        } rows[] = {
            {"HF-1", "67.4", "1.9", true},
            {"HF-2", "120", "9.5", true},
            {"HF-3", "", "", true},
            {"HF-4", "9.5", "0.8", false},
        };
        QStringList lines{CruiseColumns::all().join(QLatin1Char(','))};
        for (const auto& r : rows) {
            const QString data =
                m_dir.filePath(QString::fromLatin1(r.station) + QStringLiteral(".log"));
            if (r.fileThere) {
                QFile file(data);
                EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            }
            QStringList cells;
            for (const QString& column : CruiseColumns::all()) {
                QString cell;
                if (column == CruiseColumns::cruise) {
                    cell = QStringLiteral("SO-280");
                } else if (column == CruiseColumns::station) {
                    cell = QString::fromLatin1(r.station);
                } else if (column == CruiseColumns::penetration) {
                    cell = QStringLiteral("1");
                } else if (column == CruiseColumns::heatFlow) {
                    cell = QString::fromLatin1(r.heatFlow);
                } else if (column == CruiseColumns::heatFlowErr) {
                    cell = QString::fromLatin1(r.error);
                } else if (column == CruiseColumns::dataFile) {
                    cell = data;
                }
                cells << cell;
            }
            lines << cells.join(QLatin1Char(','));
        }
        QFile table(tablePath());
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

    QString tablePath() const { return m_dir.filePath(QStringLiteral("cruise.csv")); }

    QStringList column(CruiseTableWindow& window, const QString& name) const {
        QStringList out;
        const int c = window.model().column(name);
        for (int r = 0; r < window.model().rowCount(); ++r) {
            out << window.model().index(r, c).data().toString();
        }
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(CruiseTableWindowTest, AHeaderClickSortsNumbersAsNumbersEmptyCellsLast) {
    CruiseTableWindow window;
    QString error;
    ASSERT_TRUE(window.load(tablePath(), error)) << error.toStdString();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(column(window, CruiseColumns::station),
              (QStringList{"HF-1", "HF-2", "HF-3", "HF-4"}));

    QHeaderView* header = window.view().horizontalHeader();
    const int section = window.model().column(CruiseColumns::heatFlow);
    window.view().scrollTo(window.model().index(0, section));
    const auto click = [&] {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    click();
    EXPECT_EQ(column(window, CruiseColumns::heatFlow), (QStringList{"9.5", "67.4", "120", ""}));
    click();
    EXPECT_EQ(column(window, CruiseColumns::heatFlow), (QStringList{"120", "67.4", "9.5", ""}));

    // The scatter keeps the table's order: a point per station with a heat flow.
    const auto* points = window.scatter().graph(0);
    ASSERT_EQ(points->dataCount(), 3);
    const QList<std::pair<double, double>> expected = {{1, 67.4}, {2, 120}, {4, 9.5}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(points->data()->at(i)->key, expected[i].first);
        EXPECT_EQ(points->data()->at(i)->value, expected[i].second);
    }
}

TEST_F(CruiseTableWindowTest, ADoubleClickAsksForTheStationsDataFile) {
    CruiseTableWindow window;
    QString error;
    ASSERT_TRUE(window.load(tablePath(), error)) << error.toStdString();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.view().sortByColumn(window.model().column(CruiseColumns::heatFlow), Qt::DescendingOrder);
    QSignalSpy asked(&window, &CruiseTableWindow::openDataFileRequested);

    QTableView& view = window.view();
    const QRect cell = view.visualRect(window.model().index(0, 0));
    // A double-click follows a click, as a hand's does.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.front().front().toString(), m_dir.filePath(QStringLiteral("HF-2.log")));

    // A station whose file is gone says so and asks for nothing.
    view.setCurrentIndex(window.model().index(2, 0));
    EXPECT_EQ(window.model().row(2).text(CruiseColumns::station), QStringLiteral("HF-4"));
    QTest::mouseClick(&window.openButton(), Qt::LeftButton);
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(window.messageLabel().text().contains(QStringLiteral("is not there")))
        << window.messageLabel().text().toStdString();
}

TEST_F(CruiseTableWindowTest, AFileThatIsNoCruiseTableIsSaidSo) {
    QFile other(m_dir.filePath(QStringLiteral("other.csv")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("a,b\n1,2\n");
    other.close();
    CruiseTableWindow window;
    QString error;
    EXPECT_FALSE(window.load(other.fileName(), error));
    EXPECT_TRUE(error.contains(QStringLiteral("is not a cruise table"))) << error.toStdString();
    EXPECT_EQ(window.messageLabel().text(), error);
    EXPECT_EQ(window.model().rowCount(), 0);
}

} // namespace
} // namespace quorvane::test
