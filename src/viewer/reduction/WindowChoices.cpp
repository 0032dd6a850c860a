#include "viewer/reduction/WindowChoices.h"
#include "viewer/reduction/SharedWindow.h"

#include "viewer/reduction/DecimalSpinBox.h"
#include "viewer/reduction/ReductionController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace quorvane {

namespace {

QHBoxLayout* pair(QDoubleSpinBox* a, QDoubleSpinBox* b, const QString& unit) {
    auto* row = new QHBoxLayout;
    row->addWidget(a);
    row->addWidget(new QLabel(QStringLiteral("to")));
    row->addWidget(b);
    row->addWidget(new QLabel(unit));
    return row;
}

} // namespace

WindowChoices::WindowChoices(ReductionController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_penetration(spin(1e7)), m_decayFrom(spin(1e6)),
      m_decayTo(spin(1e6)), m_heatingFrom(spin(1e6)), m_heatingTo(spin(1e6)),
      m_pulseFrom(spin(1e6)), m_pulseTo(spin(1e6)),
      m_calibrate(new QCheckBox(QStringLiteral("Calibrate against bottom water"))),
      m_defaults(new QPushButton(QStringLiteral("Default windows"))) {
    setLocale(QLocale::c());
    auto* grid = new QFormLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_penetration->setSuffix(QStringLiteral(" s after the first record"));
    grid->addRow(QStringLiteral("Penetration"), m_penetration);
    grid->addRow(QStringLiteral("Decay"),
                 pair(m_decayFrom, m_decayTo, QStringLiteral("s after t_p")));
    grid->addRow(QStringLiteral("Heating"),
                 pair(m_heatingFrom, m_heatingTo, QStringLiteral("s after t_on")));
    grid->addRow(QStringLiteral("Pulse"),
                 pair(m_pulseFrom, m_pulseTo, QStringLiteral("s after the pulse")));
    auto* row = new QHBoxLayout;
    row->addWidget(m_calibrate);
    row->addStretch(1);
    row->addWidget(m_defaults);
    grid->addRow(QString(), row);
    // The fields' names for a screen reader (the row labels name only the first of a pair).
    m_penetration->setAccessibleName(QStringLiteral("Penetration, seconds after the first "
                                                    "record"));
    m_decayFrom->setAccessibleName(QStringLiteral("Decay window from, seconds after t_p"));
    m_decayTo->setAccessibleName(QStringLiteral("Decay window to, seconds after t_p"));
    m_heatingFrom->setAccessibleName(QStringLiteral("Heating window from, seconds after t_on"));
    m_heatingTo->setAccessibleName(QStringLiteral("Heating window to, seconds after t_on"));
    m_pulseFrom->setAccessibleName(
        QStringLiteral("Pulse window from, seconds after the pulse's middle"));
    m_pulseTo->setAccessibleName(
        QStringLiteral("Pulse window to, seconds after the pulse's middle"));

    connect(m_penetration, &QDoubleSpinBox::valueChanged, this, &WindowChoices::penetrationEdited);
    const auto window = [](QDoubleSpinBox* a, QDoubleSpinBox* b) {
        return ReductionController::Window{a->value(), b->value()};
    };
    for (QDoubleSpinBox* s : {m_decayFrom, m_decayTo}) {
        connect(s, &QDoubleSpinBox::valueChanged, this,
                [this, window] { m_controller.setDecayWindow(window(m_decayFrom, m_decayTo)); });
    }
    for (QDoubleSpinBox* s : {m_heatingFrom, m_heatingTo}) {
        connect(s, &QDoubleSpinBox::valueChanged, this, [this, window] {
            m_controller.setHeatingWindow(window(m_heatingFrom, m_heatingTo));
        });
    }
    for (QDoubleSpinBox* s : {m_pulseFrom, m_pulseTo}) {
        connect(s, &QDoubleSpinBox::valueChanged, this,
                [this, window] { m_controller.setPulseWindow(window(m_pulseFrom, m_pulseTo)); });
    }
    connect(m_calibrate, &QCheckBox::toggled, &m_controller,
            &ReductionController::setCalibrateBottomWater);
    connect(m_defaults, &QPushButton::clicked, &m_controller, &ReductionController::resetChoices);
}

QDoubleSpinBox* WindowChoices::spin(double maximum) {
    auto* box = new DecimalSpinBox;
    box->setDecimals(1);
    box->setRange(0.0, maximum);
    box->setKeyboardTracking(false);
    box->setEnabled(false);
    return box;
}

void WindowChoices::refresh() {
    const analysis::ReductionResults& r = m_controller.results();
    const analysis::StationRecords& records = m_controller.records();
    // What the panel writes into its fields is never an edit: only the operator's own edits
    // reach the controller (a range that clamps a value would otherwise send it). A field being
    // typed in keeps what the operator typed, unless the penetration it was typed for is no
    // longer shown.
    const bool other = m_shown != m_controller.generation();
    m_shown = m_controller.generation();
    const auto put = [other](QDoubleSpinBox* box, std::optional<double> value,
                             std::optional<double> maximum = std::nullopt) {
        const QSignalBlocker quiet(box);
        box->setEnabled(value.has_value());
        if (maximum) {
            box->setMaximum(*maximum);
        }
        if (value && (other || !box->hasFocus())) {
            box->setValue(*value);
        }
    };
    std::optional<double> penetration;
    std::optional<double> span;
    if (r.penetrationS && !records.empty()) {
        penetration = *r.penetrationS - records.timeS().front();
        span = records.timeS().back() - records.timeS().front();
    }
    put(m_penetration, penetration, span);
    const auto decay = sharedWindow(r, &analysis::SensorResult::decayWindow);
    const double tp = r.penetrationS.value_or(0.0);
    put(m_decayFrom, decay ? std::optional<double>(decay->fromS - tp) : std::nullopt);
    put(m_decayTo, decay ? std::optional<double>(decay->toS - tp) : std::nullopt);
    const auto k = sharedWindow(r, &analysis::SensorResult::kWindow);
    const double on = r.heater.onS.value_or(0.0);
    const auto heating = r.heater.pulse ? std::nullopt : k;
    put(m_heatingFrom, heating ? std::optional<double>(heating->fromS - on) : std::nullopt);
    put(m_heatingTo, heating ? std::optional<double>(heating->toS - on) : std::nullopt);
    // A pulse's window counts from the pulse's middle.
    const double middle = (on + r.heater.offS.value_or(on)) / 2.0;
    const auto pulse = r.heater.pulse ? k : std::nullopt;
    put(m_pulseFrom, pulse ? std::optional<double>(pulse->fromS - middle) : std::nullopt);
    put(m_pulseTo, pulse ? std::optional<double>(pulse->toS - middle) : std::nullopt);
    const QSignalBlocker quiet(m_calibrate);
    m_calibrate->setEnabled(m_controller.chosenIndex() > 0);
    m_calibrate->setChecked(m_controller.options().calibrateBottomWater);
}

void WindowChoices::penetrationEdited(double secondsFromFirst) {
    const auto& records = m_controller.records();
    if (records.empty()) {
        return;
    }
    m_controller.setPenetration(records.timeS().front() + secondsFromFirst);
}

} // namespace quorvane
