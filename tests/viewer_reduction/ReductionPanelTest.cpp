#include "viewer/reduction/ReductionPanel.h"
#include "ReductionFixture.h"
#include "analysis/ResultsJson.h"
#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/ResultsText.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <qcustomplot.h>

namespace quorvane::test {
namespace {

using analysis::ReductionOptions;
using analysis::ReductionResults;

class ReductionPanelTest : public ReductionFixture {};

QString cell(ReductionPanel& panel, int row, int column) {
    return panel.table().item(row, column)->text();
}

// "v ± e" as shown: both within half a unit of the last decimal shown of the library's
// values, the error with two significant digits.
void expectShown(const QString& text, double value, double error) {
    const QStringList parts = text.section(QLatin1Char(' '), 0, 2).split(QStringLiteral(" ± "));
    ASSERT_EQ(parts.size(), 2) << text.toStdString();
    const double unit = std::pow(10.0, -parts[0].section(QLatin1Char('.'), 1).size());
    EXPECT_NEAR(parts[0].toDouble(), value, unit / 2 + 1e-12) << text.toStdString();
    EXPECT_NEAR(parts[1].toDouble(), error, unit / 2 + 1e-12) << text.toStdString();
    EXPECT_GE(parts[1].toDouble(), 10 * unit) << text.toStdString();
}

TEST_F(ReductionPanelTest, ShowsTheLibrarysNumbers) {
    ReductionPanel panel(*m_controller);
    load(*m_controller);
    const ReductionResults want = expected();
    ASSERT_TRUE(want.heatFlowMWPerM2);
    for (int row = 0; row < 5; ++row) {
        const auto& s = want.sensors[static_cast<std::size_t>(row)];
        ASSERT_TRUE(s.tEqC && s.tEqErrC && s.kWPerMK && s.kErrWPerMK) << row;
        expectShown(cell(panel, row, ReductionPanel::TEq), *s.tEqC, *s.tEqErrC);
        expectShown(cell(panel, row, ReductionPanel::K), *s.kWPerMK, *s.kErrWPerMK);
        EXPECT_EQ(cell(panel, row, ReductionPanel::Method), s.kMethod);
        EXPECT_EQ(cell(panel, row, ReductionPanel::Records), QString::number(s.recordsDecay));
    }
    expectShown(panel.gradientLabel().text(), *want.gradientKPerM, *want.gradientErrKPerM);
    EXPECT_TRUE(panel.gradientLabel().text().endsWith(QStringLiteral("K/m (5 thermistors)")));
    expectShown(panel.heatFlowLabel().text(), *want.heatFlowMWPerM2, *want.heatFlowErrMWPerM2);
    EXPECT_TRUE(panel.heatFlowLabel().text().endsWith(QStringLiteral(" mW/m²")));
    EXPECT_EQ(panel.bullardLabel().text(),
              QString::number(*want.heatFlowBullardMWPerM2, 'f', 1) + QStringLiteral(" mW/m²"));
    EXPECT_EQ(panel.qualityLabel().text(), want.quality);
    EXPECT_FALSE(want.quality.isEmpty());
    EXPECT_TRUE(panel.penetrationLabel().text().endsWith(QStringLiteral("(seen)")));
    EXPECT_TRUE(panel.profileLabel().text().startsWith(QStringLiteral("Probe profile 0417")));
}

TEST_F(ReductionPanelTest, NullsSayWhy) {
    struct Case {
        const char* name;
        QStringList options;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"no heater", {"--heat-level", "0"}, "no heater interval"},
        {"no penetration", {"--penetration", "none"}, "penetration not seen"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto content = s_run->write(QStringLiteral("null.log"),
                                          SimulatedRun::thirtyMinutes() + c.options, error);
        ASSERT_TRUE(content) << error.toStdString();
        ReductionController controller(analysis::ProbeProfile::defaultProfile());
        ReductionPanel panel(controller);
        controller.append(content->records);
        controller.setProfile(analysis::ProbeProfile::defaultProfile(),
                              QStringLiteral("no probe profile for instrument 0417"));
        controller.reduceNow();
        EXPECT_TRUE(panel.reasonsLabel().text().contains(c.reason)) << c.name;
        EXPECT_TRUE(panel.profileLabel().text().startsWith(QStringLiteral("Default probe profile")))
            << c.name;
        EXPECT_TRUE(panel.reasonsLabel().text().contains(QStringLiteral("default probe profile")))
            << c.name;
        if (!controller.results().heatFlowMWPerM2) {
            EXPECT_EQ(panel.heatFlowLabel().text(), QString::fromUtf8(ResultsText::kDash))
                << c.name;
        }
    }
}

TEST_F(ReductionPanelTest, ABurstOfRecordsIsReducedOnce) {
    ReductionController controller(profile(), nullptr, 0);
    for (const LogRecord& record : content().records) {
        controller.append({record});
    }
    EXPECT_TRUE(controller.pending());
    EXPECT_EQ(controller.reductions(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.reductions(), 1);
    EXPECT_EQ(controller.results().records, static_cast<int>(content().records.size()));
}

TEST_F(ReductionPanelTest, TheOperatorsChoicesChangeTheResults) {
    struct Case {
        const char* name;
        std::function<void(ReductionPanel&, double first)> edit;
        std::function<ReductionOptions(double first)> options;
        std::function<double(const ReductionResults&)> value;
    };
    const auto tEq = [](const ReductionResults& r) { return r.sensors[2].tEqC.value_or(0); };
    const auto k = [](const ReductionResults& r) { return r.sensors[2].kWPerMK.value_or(0); };
    const std::vector<Case> cases = {
        {"penetration", [](ReductionPanel& p, double) { p.penetrationSpin().setValue(80.0); },
         [](double first) {
             ReductionOptions o;
             o.penetrationS = first + 80.0;
             return o;
         },
         tEq},
        {"decay window",
         [](ReductionPanel& p, double) {
             p.decayFromSpin().setValue(60.0);
             p.decayToSpin().setValue(200.0);
         },
         [](double) {
             ReductionOptions o;
             o.decayWindowS = ReductionOptions::Window{60.0, 200.0};
             return o;
         },
         tEq},
        {"heating window",
         [](ReductionPanel& p, double) {
             p.heatingFromSpin().setValue(30.0);
             p.heatingToSpin().setValue(250.0);
         },
         [](double) {
             ReductionOptions o;
             o.heatingWindowS = ReductionOptions::Window{30.0, 250.0};
             return o;
         },
         k},
        {"defaults again",
         [](ReductionPanel& p, double) {
             p.heatingFromSpin().setValue(30.0);
             p.defaultsButton().click();
         },
         [](double) { return ReductionOptions{}; }, k},
    };
    const ReductionResults defaults = expected();
    for (const Case& c : cases) {
        ReductionController controller(profile());
        ReductionPanel panel(controller);
        load(controller);
        c.edit(panel, firstTime());
        EXPECT_TRUE(controller.pending()) << c.name;
        controller.reduceNow();
        const ReductionResults want = expected(c.options(firstTime()));
        // k is iterated to 0.1 %, from where the last fit ended.
        EXPECT_NEAR(c.value(controller.results()), c.value(want), 1e-3 * std::abs(c.value(want)))
            << c.name;
        if (std::string(c.name) != "defaults again") {
            EXPECT_NE(c.value(controller.results()), c.value(defaults)) << c.name;
        }
        EXPECT_EQ(panel.table().item(2, ReductionPanel::TEq)->text(),
                  ResultsText::withError(want.sensors[2].tEqC, want.sensors[2].tEqErrC, 4))
            << c.name;
    }
}

// The fit line's value at x, between its points.
double lineAt(const QCPGraph& line, double x) {
    const auto data = line.data();
    for (int i = 1; i < data->size(); ++i) {
        const auto& a = *data->at(i - 1);
        const auto& b = *data->at(i);
        if (x >= a.key && x <= b.key) {
            return a.value + (b.value - a.value) * (x - a.key) / (b.key - a.key);
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

TEST_F(ReductionPanelTest, TheFitPlotsHoldTheFitLines) {
    ReductionPanel panel(*m_controller);
    load(*m_controller);
    panel.chooseSensor(3);
    const auto& s = m_controller->results().sensors[3];
    struct Case {
        FitPlot* plot;
        int points;
    };
    for (const Case& c : {Case{&panel.decayPlot(), s.recordsDecay},
                          Case{&panel.heatingPlot(), s.kWindow->records}}) {
        QCustomPlot& plot = c.plot->customPlot();
        const QCPGraph& points = *plot.graph(1);
        const QCPGraph& line = *plot.graph(2);
        ASSERT_GE(line.dataCount(), 2);
        EXPECT_EQ(points.dataCount(), c.points);
        // The line runs through the records the fit used: noise of 0.5 mK.
        double sum = 0.0;
        int n = 0;
        for (auto it = points.data()->constBegin(); it != points.data()->constEnd(); ++it) {
            const double y = lineAt(line, it->key);
            if (std::isfinite(y)) {
                sum += (it->value - y) * (it->value - y);
                ++n;
            }
        }
        ASSERT_GT(n, c.points / 2);
        EXPECT_LT(std::sqrt(sum / n), 0.002);
    }
    EXPECT_DOUBLE_EQ(panel.decayPlot().customPlot().graph(2)->data()->at(0)->value, *s.tEqC);
}

TEST_F(ReductionPanelTest, NumbersIgnoreTheLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ReductionPanel panel(*m_controller);
    load(*m_controller);
    const QByteArray json = analysis::ResultsJson::toJson(m_controller->results());
    QLocale::setDefault(before);
    ReductionResults want = expected();
    // Where the penetration lies in the file, as --analyze says it.
    want.run = want.penetration = want.stationIndex = 1;
    want.file = QStringLiteral("run30.log");
    expectShown(panel.heatFlowLabel().text(), *want.heatFlowMWPerM2, *want.heatFlowErrMWPerM2);
    EXPECT_FALSE(panel.heatFlowLabel().text().contains(QLatin1Char(',')));
    EXPECT_EQ(panel.decayToSpin().text().contains(QLatin1Char(',')), false);
    EXPECT_EQ(json.toStdString(), analysis::ResultsJson::toJson(want).toStdString());
}

} // namespace
} // namespace quorvane::test
