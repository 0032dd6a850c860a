#include "viewer/reduction/ProfilePlot.h"
#include "ReductionFixture.h"
#include "analysis/ResultsJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <numbers>

namespace quorvane::test {
namespace {

class ProfilePlotTest : public ReductionFixture {
protected:
    static analysis::ReductionResults reduce(double tiltDeg,
                                             const analysis::ReductionOptions& options) {
        analysis::ProbeProfile p = profile();
        p.tiltDeg = tiltDeg;
        analysis::Reduction reduction(p, options);
        QStringList notes;
        reduction.setRecords(analysis::DataFileRecords::station(content(), filePath(), notes));
        return reduction.results();
    }
};

// The points of both plots against the results JSON and a hand computation of the
// cumulative thermal resistance; those left out drawn hollow with the reason.
TEST_F(ProfilePlotTest, PointsAreTheJsonsTEqAtVerticalDepthAndResistance) {
    const struct {
        const char* what;
        double tiltDeg;
        int outOfGradient; // -1: none
        int outOfK;
    } cases[] = {
        {"all five, vertical", 0.0, -1, -1},
        {"T3 out of the gradient, tilted 12°", 12.0, 2, -1},
        {"T2 out of the mean k", 0.0, -1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        analysis::ReductionOptions options;
        if (c.outOfGradient >= 0) {
            options.excludeFromGradient[c.outOfGradient] = true;
            options.exclusionReason[c.outOfGradient] = QStringLiteral("cracked");
        }
        if (c.outOfK >= 0) {
            options.excludeFromK[c.outOfK] = true;
        }
        const analysis::ReductionResults r = reduce(c.tiltDeg, options);
        const QJsonObject json = analysis::ResultsJson::toObject(r);
        const QJsonArray sensors = json.value(QStringLiteral("sensors")).toArray();
        const double cosTilt = std::cos(c.tiltDeg * std::numbers::pi / 180.0);

        ProfilePlot depth(ProfilePlot::Kind::Depth);
        depth.show(r);
        const auto& points = depth.points().points;
        ASSERT_EQ(points.size(), 5);
        for (int i = 0; i < 5; ++i) {
            const QJsonObject s = sensors[i].toObject();
            EXPECT_NEAR(points[i].tC, s.value(QStringLiteral("t_eq_c")).toDouble(), 5e-5);
            EXPECT_NEAR(points[i].errC, s.value(QStringLiteral("t_eq_err_c")).toDouble(),
                        0.06 * points[i].errC);
            EXPECT_DOUBLE_EQ(points[i].x, s.value(QStringLiteral("depth_m")).toDouble() * cosTilt);
            EXPECT_EQ(points[i].used, i != c.outOfGradient);
            if (i == c.outOfGradient) {
                EXPECT_EQ(points[i].note, QStringLiteral("left out: cracked"));
                EXPECT_TRUE(depth.labels().contains(QStringLiteral("T3 (left out: cracked)")));
            }
        }
        // The line is the gradient's.
        const QList<QPointF> line = depth.linePoints();
        ASSERT_EQ(line.size(), 2);
        const double slope = (line[1].x() - line[0].x()) / (line[1].y() - line[0].y());
        EXPECT_NEAR(slope, json.value(QStringLiteral("gradient_k_per_m")).toDouble(), 1e-5);

        // Bullard: R_i = Σ Δz / mean k of the interval's ends, over the thermistors of both
        // the gradient and the mean k, from the JSON's rounded k.
        ProfilePlot bullard(ProfilePlot::Kind::Bullard);
        bullard.show(r);
        QList<double> expected;
        double resistance = 0.0;
        int previous = -1;
        for (int i = 0; i < 5; ++i) {
            if (i == c.outOfGradient || i == c.outOfK) {
                continue;
            }
            const QJsonObject s = sensors[i].toObject();
            if (previous >= 0) {
                const QJsonObject p = sensors[previous].toObject();
                const double k = (s.value(QStringLiteral("k_w_per_m_k")).toDouble() +
                                  p.value(QStringLiteral("k_w_per_m_k")).toDouble()) /
                                 2.0;
                resistance += (s.value(QStringLiteral("depth_m")).toDouble() -
                               p.value(QStringLiteral("depth_m")).toDouble()) *
                              cosTilt / k;
            }
            expected << resistance;
            previous = i;
        }
        const auto& bullardPoints = bullard.points().points;
        ASSERT_EQ(bullardPoints.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(bullardPoints[i].x, expected[i], 1e-3 * std::max(expected[i], 0.1));
        }
        EXPECT_EQ(bullard.points().missing.size(), 5 - expected.size());
        const QList<QPointF> bullardLine = bullard.linePoints();
        ASSERT_EQ(bullardLine.size(), 2);
        EXPECT_NEAR((bullardLine[1].x() - bullardLine[0].x()) /
                        (bullardLine[1].y() - bullardLine[0].y()) * 1000.0,
                    json.value(QStringLiteral("heat_flow_bullard_mw_per_m2")).toDouble(), 0.01);
    }
}

} // namespace
} // namespace quorvane::test
