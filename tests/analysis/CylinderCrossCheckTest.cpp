#include "BullardQuadrature.h"
#include "analysis/CylinderResponse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::analysis {
namespace {

// The reduction's F and H (a table of its own quadrature) against the simulator's, computed
// apart: relative 1e-4 wherever F is above 1e-6, over the α of real probes and all τ a
// station reaches, and both at the limits F(α, 0) = 1 and F → 1/(2ατ).
TEST(CylinderCrossCheck, ReductionAndSimulatorAgreeOnBullardsFunction) {
    for (double alpha : {0.5, 1.0, 1.5, 2.0, 3.0, 5.0, 8.0}) {
        SCOPED_TRACE(alpha);
        const CylinderResponse reduction(alpha);
        const probesim::BullardQuadrature simulator(alpha);
        EXPECT_DOUBLE_EQ(reduction.pulse(0.0), 1.0);
        EXPECT_NEAR(simulator.f(0.0), 1.0, 1e-12);
        double worstF = 0.0;
        double worstH = 0.0;
        for (double x = std::log(1e-4); x <= std::log(1e7); x += 0.37) {
            const double tau = std::exp(x);
            const double f = simulator.f(tau);
            if (f > 1e-6) {
                worstF = std::max(worstF, std::abs(reduction.pulse(tau) / f - 1.0));
            }
            worstH =
                std::max(worstH, std::abs(reduction.heating(tau) / simulator.heating(tau) - 1.0));
        }
        EXPECT_LT(worstF, 1e-4);
        EXPECT_LT(worstH, 1e-4);
        for (double tau : {1e6, 1e7}) {
            EXPECT_NEAR(reduction.pulse(tau) * 2.0 * alpha * tau, 1.0, 1e-4);
            EXPECT_NEAR(simulator.f(tau) * 2.0 * alpha * tau, 1.0, 1e-4);
        }
    }
}

} // namespace
} // namespace quorvane::analysis
