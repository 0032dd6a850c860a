#include "analysis/SensorReduction.h"

#include "analysis/LineSource.h"
#include "analysis/PulseFit.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

using Kind = SensorFits::Kind;
constexpr Kind Pulse = SensorFits::Pulse;
constexpr Kind Heating = SensorFits::Heating;
constexpr Kind Cooling = SensorFits::Cooling;

} // namespace

void SensorReduction::judge(const QString& what, double rmsC, std::optional<double> riseK,
                            int records, bool caps, SensorResult& out) const {
    if (records < kFewestRecords) {
        out.flags << what + QStringLiteral(": fewer than 5 records");
    }
    if (rmsC > kHighestRmsC) {
        out.flags << what + QStringLiteral(": RMS misfit above 5 mK");
        out.misfit = out.misfit || caps;
    } else if (riseK && rmsC > kHighestRmsShare * *riseK) {
        out.flags << what + QStringLiteral(": RMS misfit above 5 % of the rise");
        out.misfit = out.misfit || caps;
    }
    out.fitRmsC = std::max(out.fitRmsC.value_or(0.0), rmsC);
}

void SensorReduction::agree(double k0, std::optional<ConductivityEstimate>& estimate,
                            const std::function<std::optional<ConductivityEstimate>(double)>& at) {
    // The decay's κ and the heater's k must agree: k is the root of g(k) = k_heater(k) − k,
    // found by the secant method from k = 1 and the heater's first answer. k_heater changes
    // far more slowly than k, so the root is single and found in a few fits. One fit redone
    // with the heater's k, as a needle allows, leaves a thick probe's k a few per cent off
    // where the sediment's k is far from 1.
    double g0 = estimate->kWPerMK - k0;
    double k1 = estimate->kWPerMK;
    m_fits.setPass(1);
    for (int i = 0; i < kMostAgreementFits; ++i) {
        auto next = at(k1);
        if (!next) {
            estimate.reset();
            return;
        }
        estimate = next;
        const double g1 = estimate->kWPerMK - k1;
        if (std::abs(g1) <= kAgreement * k1) {
            return;
        }
        double k2 = g1 != g0 ? k1 - g1 * (k1 - k0) / (g1 - g0) : estimate->kWPerMK;
        // A step no longer than a factor of two, within the k a sediment can have.
        k2 = std::clamp(k2, std::max(k1 / 2.0, ConductivitySearch::kLowestK),
                        std::min(k1 * 2.0, ConductivitySearch::kHighestK));
        k0 = k1;
        g0 = g1;
        k1 = k2;
    }
}

void SensorReduction::reduce(const StationRecords& records, const StationPlan& plan, std::size_t s,
                             SensorResult& out) {
    using State = SensorHealth::State;
    if (plan.health[s] == State::Missing) {
        out.flags << QStringLiteral("thermistor missing");
        return;
    }
    if (plan.health[s] == State::Stuck) {
        out.flags << QStringLiteral("thermistor stuck");
        return;
    }
    const std::optional<double> entered = plan.enteredK[s];
    m_fits.setPass(0);
    const bool heated = plan.onS && plan.qWPerM > 0.0 && (plan.offS || !plan.pulse);

    // The decay, first with k = 1 (or the k entered).
    std::optional<DecayCurve> decayCurve;
    FitWindow decayWindow;
    auto fitDecay = [&](double k) {
        const auto fit = m_fits.decay(records, plan, s, k, decayWindow);
        if (fit) {
            decayCurve = *fit;
        } else {
            decayCurve.reset();
        }
        return fit;
    };
    std::optional<QString> decayFailure;
    if (plan.decay) {
        const auto fit = fitDecay(entered.value_or(kFirstK));
        if (!fit) {
            decayFailure = fit.reason();
        }
    }

    // The heater's k, and the decay once more with it.
    std::optional<ConductivityEstimate> estimate;
    std::optional<QString> kFailure;
    FitWindow kWindow;
    double kNow = entered.value_or(kFirstK);
    auto fitK = [&]() -> std::optional<ConductivityEstimate> {
        kFailure.reset();
        if (plan.pulse) {
            const double kappa = LineSource::diffusivity(kNow);
            const auto w = plan.pulseGiven ? plan.pulseGiven
                                           : PulseFit::defaultWindow(plan, kappa, records.timeS());
            if (!w) {
                kFailure = QStringLiteral("heat pulse without records after it: no k");
                return std::nullopt;
            }
            const auto fit = m_fits.heat(records, plan, s, Pulse, *w, *decayCurve, kWindow);
            if (!fit) {
                kFailure = fit.reason();
                return std::nullopt;
            }
            return *fit;
        }
        if (!plan.heating) {
            return std::nullopt;
        }
        const auto fit =
            m_fits.heat(records, plan, s, Heating, *plan.heating, *decayCurve, kWindow);
        if (!fit) {
            kFailure = fit.reason();
            return std::nullopt;
        }
        return *fit;
    };
    // The decay and the heater's fall as one: a pulse's decay, or a long heating's cooling
    // (whose heating is then fitted again on the decay they gave). The first fits, with
    // k = 1 for the decay, are where it starts; the pulse window takes the k they gave.
    // Where there is no fall to fit with (a heating still going on, too few records), the
    // decay is fitted again with the heater's k until the two agree.
    std::optional<FitOutcome<ConductivityEstimate>> cooling;
    FitWindow coolingWindow;
    auto agreeAlone = [&] {
        agree(kNow, estimate, [&](double k) -> std::optional<ConductivityEstimate> {
            kNow = k;
            const auto fit = fitDecay(k);
            if (!fit) {
                decayFailure = fit.reason();
                return std::nullopt;
            }
            return fitK();
        });
        if (!decayCurve) {
            estimate.reset();
        }
    };
    if (!entered && heated && decayCurve) {
        estimate = fitK();
        if (estimate && plan.response) {
            std::optional<JointDecayFit::Joint> joint;
            if (plan.pulse) {
                kNow = estimate->kWPerMK;
                const auto w = plan.pulseGiven
                                   ? plan.pulseGiven
                                   : PulseFit::defaultWindow(plan, LineSource::diffusivity(kNow),
                                                             records.timeS());
                if (w) {
                    kWindow.fromS = w->fromS;
                    kWindow.toS = w->toS;
                    const auto fit =
                        m_fits.jointly(records, plan, s, *decayCurve, *estimate, kWindow);
                    if (fit) {
                        joint = *fit;
                        estimate = joint->fall;
                    }
                }
            } else if (plan.cooling && plan.offS) {
                const auto first = m_fits.heat(records, plan, s, Cooling, *plan.cooling,
                                               *decayCurve, coolingWindow);
                if (first) {
                    const auto fit =
                        m_fits.jointly(records, plan, s, *decayCurve, *first, coolingWindow);
                    if (fit) {
                        joint = *fit;
                        cooling = FitOutcome<ConductivityEstimate>(joint->fall);
                    }
                }
            }
            if (joint) {
                decayCurve = joint->decay;
                if (!plan.pulse) {
                    m_fits.setPass(1);
                    kNow = joint->fall.kWPerMK;
                    estimate = fitK();
                }
            } else {
                agreeAlone();
            }
        }
    }

    // What the decay gave.
    if (!plan.decay) {
        out.flags << QStringLiteral("no decay window");
    } else {
        out.decayWindow = decayWindow;
        if (decayFailure) {
            out.flags << *decayFailure;
        }
    }
    if (decayCurve) {
        out.decayCurve = decayCurve;
        out.decayMethod = decayCurve->method == DecayCurve::Method::Bullard
                              ? QStringLiteral("bullard-F")
                              : QStringLiteral("line-1/t");
        if (decayCurve->method == DecayCurve::Method::Bullard) {
            out.decayDelayS = decayCurve->delayS;
        }
        out.recordsDecay = decayCurve->records;
        out.tEqC = decayCurve->tEqC;
        out.tEqErrC = decayCurve->tEqErrC;
        out.decayRmsC = decayCurve->rmsC;
        judge(QStringLiteral("decay fit"), decayCurve->rmsC, std::nullopt, decayCurve->records,
              true, out);
    }

    // The conductivity.
    if (entered) {
        out.kWPerMK = *entered;
        out.kErrWPerMK = 0.0;
        out.kappaM2PerS = LineSource::diffusivity(*entered);
        out.kMethod = QStringLiteral("entered");
        out.flags << QStringLiteral("k entered by the operator");
        return;
    }
    if (!plan.onS || !(plan.qWPerM > 0.0)) {
        out.flags << QStringLiteral("no heater interval");
        return;
    }
    if (!decayCurve) {
        out.flags << QStringLiteral("k: no decay to take off the heater's rise");
        return;
    }
    if (kFailure) {
        out.flags << *kFailure;
    }
    if (estimate) {
        const QString what =
            plan.pulse ? QStringLiteral("pulse fit") : QStringLiteral("heating fit");
        out.kWPerMK = estimate->kWPerMK;
        out.kErrWPerMK = estimate->kErrWPerMK;
        out.kappaM2PerS = estimate->kappaM2PerS;
        out.kCurve = estimate->curve;
        out.kWindow = kWindow;
        out.kRmsC = estimate->rmsC;
        out.kRiseK = estimate->riseK;
        out.kMethod = !plan.response ? QStringLiteral("line-E1")
                      : plan.pulse   ? QStringLiteral("pulse-F")
                                     : QStringLiteral("heating-slope");
        judge(what, estimate->rmsC, estimate->riseK, estimate->records, true, out);
        if (estimate->kWPerMK < kLowestK || estimate->kWPerMK > kHighestK) {
            out.flags << QStringLiteral("k outside 0.2 to 5 W/(m K)");
        }
    }
    // A long heating's cooling: a second estimate.
    if (!plan.pulse && plan.cooling && plan.offS) {
        if (!cooling) {
            cooling =
                m_fits.heat(records, plan, s, Cooling, *plan.cooling, *decayCurve, coolingWindow);
        }
        out.coolingWindow = coolingWindow;
        const auto& fit = *cooling;
        if (!fit) {
            out.flags << fit.reason();
        } else {
            out.kCoolingWPerMK = fit->kWPerMK;
            out.kCoolingErrWPerMK = fit->kErrWPerMK;
            out.coolingRmsC = fit->rmsC;
            out.coolingCurve = fit->curve;
            // A second estimate: flagged, but the station's k does not rest on it.
            judge(QStringLiteral("cooling fit"), fit->rmsC, fit->riseK, fit->records, false, out);
        }
    }
}

} // namespace quorvane::analysis
