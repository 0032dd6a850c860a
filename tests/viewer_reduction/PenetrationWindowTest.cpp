#include "PenetrationFiles.h"
#include "logging/SystemClock.h"
#include "viewer/ChannelLegend.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/FitMarkers.h"
#include "viewer/reduction/PenetrationList.h"
#include "viewer/reduction/ReductionPanel.h"
#include "viewer/reduction/SensorVisibility.h"
#include "viewer/reduction/WindowChoices.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

namespace quorvane::test {
namespace {

// The viewer showing the three penetrations, reduced with the probe they were simulated with.
class PenetrationWindowTest : public PenetrationFiles {
protected:
    void SetUp() override {
        PenetrationFiles::SetUp();
        if (IsSkipped()) {
            return;
        }
        m_window = std::make_unique<ViewerWindow>(m_clock);
        m_attachment = new ReductionAttachment(*m_window, m_settings.path());
        QString error;
        ASSERT_TRUE(m_attachment->useProfileFile(profilePath(), error)) << error.toStdString();
        m_window->resize(1500, 1000);
        m_window->show();
        m_window->openFile(dataPath());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !controller().pending(); }, 5000));
        m_window->plot().customPlot().replot();
    }
    ReductionController& controller() { return m_attachment->controller(); }
    ReductionPanel& panel() { return m_attachment->panel(); }

    SystemClock m_clock;
    QTemporaryDir m_settings;
    std::unique_ptr<ViewerWindow> m_window;
    ReductionAttachment* m_attachment = nullptr;
};

// A click on a row shows that penetration: its numbers in the panel, its marks on the plot.
TEST_F(PenetrationWindowTest, ClickingARowShowsThatPenetration) {
    PenetrationList& list = panel().penetrationList();
    ASSERT_EQ(list.rowCount(), 3);
    // The newest is shown and selected; the others' numbers come when the window has time.
    EXPECT_EQ(controller().chosenIndex(), 3);
    EXPECT_EQ(list.currentRow(), 2);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return list.item(0, PenetrationList::HeatFlow)->text() != "—"; }, 5000));
    for (int row : {0, 1, 2, 1}) {
        const QRect cell = list.visualItemRect(list.item(row, PenetrationList::Time));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
        const int index = row + 1;
        EXPECT_EQ(controller().chosenIndex(), index);
        EXPECT_EQ(list.selectedItems().size(), PenetrationList::ColumnCount) << row;
        EXPECT_EQ(list.currentRow(), row);
        const analysis::ReductionResults& r = controller().results();
        EXPECT_EQ(r.stationIndex, index);
        EXPECT_EQ(m_attachment->markers().handleKey(FitMarkers::Handle::Penetration),
                  r.penetrationS);
        const auto& times = controller().records().timeS();
        const auto strip = m_attachment->markers().shownSpan();
        ASSERT_TRUE(strip) << row;
        EXPECT_EQ(strip->first, times.front());
        EXPECT_EQ(strip->second, times.back());
        EXPECT_EQ(controller().records().size(), controller().penetrations()[row].records);
        EXPECT_EQ(list.item(row, PenetrationList::HeatFlow)->text(),
                  QString::number(*r.heatFlowMWPerM2, 'f', 1));
        EXPECT_EQ(bytes(controller().jsonFor(index)), analyze(index)) << index;
    }
    EXPECT_FALSE(controller().followsNewest());
}

// On a pulse, the heating marks are the pulse fit's window: a drag sets the pulse window, in
// seconds after the pulse's middle, and the panel's pulse fields show it.
TEST_F(PenetrationWindowTest, DraggingThePulseFitsEdgeSetsThePulseWindow) {
    controller().choosePenetration(2);
    const analysis::ReductionResults before = controller().results();
    ASSERT_TRUE(before.heater.pulse);
    const double middle = (*before.heater.onS + *before.heater.offS) / 2.0;
    FitMarkers& marks = m_attachment->markers();
    const double from = *marks.handleKey(FitMarkers::Handle::HeatingFrom);
    marks.moveHandle(FitMarkers::Handle::HeatingTo, middle + 150.0);
    controller().reduceNow();
    ASSERT_TRUE(controller().options().pulseWindowS);
    EXPECT_NEAR(controller().options().pulseWindowS->first, from - middle, 1e-3);
    EXPECT_NEAR(controller().options().pulseWindowS->second, 150.0, 1e-3);
    EXPECT_FALSE(controller().options().heatingWindowS);
    EXPECT_EQ(marks.heatingLabel().text(), QStringLiteral("pulse fit"));
    EXPECT_NEAR(panel().windows().pulseToSpin().value(), 150.0, 0.05);
    EXPECT_FALSE(panel().windows().heatingToSpin().isEnabled());
}

// A click on a thermistor's legend entry hides it, as its menu entry does; once more shows it.
// The choice is the penetration's: kept in the station file.
TEST_F(PenetrationWindowTest, ALegendClickOrTheMenuHidesAThermistor) {
    ChannelLegend& legend = m_window->plot().legend();
    QCustomPlot& plot = m_window->plot().customPlot();
    SensorVisibility& visibility = m_attachment->visibility();
    struct Case {
        const char* name;
        std::function<void(int)> toggle;
    };
    const Case cases[] = {
        {"legend",
         [&](int s) {
             QTest::mouseClick(&plot, Qt::LeftButton, {}, legend.entryRect(s).center());
         }},
        {"menu", [&](int s) { visibility.action(s).trigger(); }},
    };
    for (int s = 0; s < 5; ++s) {
        ASSERT_TRUE(plot.rect().contains(legend.entryRect(s))) << s;
    }
    for (const Case& c : cases) {
        for (int s : {1, 4}) {
            const std::optional<double> pickBefore = m_window->plot().pickKey(0);
            c.toggle(s);
            EXPECT_TRUE(controller().hidden(s)) << c.name << s;
            EXPECT_FALSE(legend.shown(s)) << c.name << s;
            EXPECT_FALSE(visibility.action(s).isChecked()) << c.name << s;
            EXPECT_TRUE(legend.shown(0)) << c.name;
            // A click on the legend picks no record.
            EXPECT_EQ(m_window->plot().pickKey(0), pickBefore) << c.name;
            c.toggle(s);
            EXPECT_FALSE(controller().hidden(s)) << c.name << s;
            EXPECT_TRUE(legend.shown(s)) << c.name << s;
        }
    }
}

// A thermistor left out stays plotted, and the legend and the table say so; one hidden stays
// hidden when the file is opened again.
TEST_F(PenetrationWindowTest, ALeftOutThermistorStaysPlottedAndHiddenOnesStayHidden) {
    ChannelLegend& legend = m_window->plot().legend();
    controller().setExclusion(2, true, false, QStringLiteral("cracked"));
    controller().setHidden(3, true);
    controller().reduceNow();
    EXPECT_TRUE(legend.shown(2));
    EXPECT_EQ(legend.text(2), QStringLiteral("T3 ✕"));
    EXPECT_EQ(panel().table().item(2, ReductionPanel::Name)->text(), QStringLiteral("T3 ✕"));
    EXPECT_TRUE(panel().table().item(2, ReductionPanel::Name)->toolTip().contains("cracked"));
    m_window->openFile(dataPath());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller().pending(); }, 5000));
    EXPECT_TRUE(controller().hidden(3));
    EXPECT_FALSE(legend.shown(3));
    EXPECT_EQ(legend.text(2), QStringLiteral("T3 ✕"));
}

// The quality word is emphasised only when it is the uncertainty's verdict; a capped one is
// plain, with the reason beside it.
TEST_F(PenetrationWindowTest, ACappedQualityIsPlainWithItsReason) {
    ASSERT_TRUE(controller().results().qualityCap.isEmpty());
    EXPECT_TRUE(panel().qualityLabel().font().bold());
    EXPECT_FALSE(panel().qualityCapLabel().isVisibleTo(&panel()));
    // The stand-in profile caps it.
    controller().setProfile(analysis::ProbeProfile::defaultProfile(), QStringLiteral("none"));
    controller().reduceNow();
    const QString cap = controller().results().qualityCap;
    ASSERT_FALSE(cap.isEmpty());
    EXPECT_EQ(panel().qualityLabel().text(), controller().results().quality);
    EXPECT_FALSE(panel().qualityLabel().font().bold());
    EXPECT_TRUE(panel().qualityCapLabel().isVisibleTo(&panel()));
    EXPECT_TRUE(panel().qualityCapLabel().text().contains(cap));
}

} // namespace
} // namespace quorvane::test
