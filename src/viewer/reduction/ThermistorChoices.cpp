#include "viewer/reduction/ThermistorChoices.h"

#include "station/StationChoices.h"
#include "viewer/reduction/DecimalSpinBox.h"
#include "viewer/reduction/ReductionController.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quorvane {

ThermistorChoices::ThermistorChoices(ReductionController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
    setLocale(QLocale::c());
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("k entered W/(m K)")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Used for")), 0, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Reason for leaving it out")), 0, 4);
    const QStringList& names = station::StationChoices::sensorNames();
    for (int s = 0; s < 5; ++s) {
        const auto i = static_cast<std::size_t>(s);
        const QString& name = names[s];
        auto* k = new DecimalSpinBox;
        k->setDecimals(3);
        k->setRange(0.0, 10.0);
        k->setSingleStep(0.05);
        // The lowest value is "none": the thermistor's k comes from the heater.
        k->setSpecialValueText(QStringLiteral("from heater"));
        k->setKeyboardTracking(false);
        k->setAccessibleName(QStringLiteral("%1 conductivity entered").arg(name));
        auto* gradient = new QCheckBox(QStringLiteral("gradient"));
        gradient->setAccessibleName(QStringLiteral("%1 used for the gradient").arg(name));
        auto* meanK = new QCheckBox(QStringLiteral("mean k"));
        meanK->setAccessibleName(QStringLiteral("%1 used for the mean k").arg(name));
        auto* reason = new QLineEdit;
        reason->setPlaceholderText(QStringLiteral("reason"));
        reason->setAccessibleName(QStringLiteral("%1 reason for leaving it out").arg(name));
        grid->addWidget(new QLabel(name), s + 1, 0);
        grid->addWidget(k, s + 1, 1);
        grid->addWidget(gradient, s + 1, 2);
        grid->addWidget(meanK, s + 1, 3);
        grid->addWidget(reason, s + 1, 4);
        m_k[i] = k;
        m_gradient[i] = gradient;
        m_meanK[i] = meanK;
        m_reason[i] = reason;
        connect(k, &QDoubleSpinBox::valueChanged, this, [this, s](double value) {
            m_controller.setEnteredK(s, value > 0.0 ? std::optional<double>(value) : std::nullopt);
        });
        // Only the operator's choices: clicked, not the refresh's.
        connect(gradient, &QCheckBox::clicked, this, [this, s] { exclusionEdited(s); });
        connect(meanK, &QCheckBox::clicked, this, [this, s] { exclusionEdited(s); });
        connect(reason, &QLineEdit::editingFinished, this, [this, s] {
            const auto j = static_cast<std::size_t>(s);
            if (!m_gradient[j]->isChecked() || !m_meanK[j]->isChecked()) {
                exclusionEdited(s);
            }
        });
    }
    grid->setColumnStretch(4, 1);
}

void ThermistorChoices::exclusionEdited(int sensor) {
    const auto i = static_cast<std::size_t>(sensor);
    m_controller.setExclusion(sensor, !m_gradient[i]->isChecked(), !m_meanK[i]->isChecked(),
                              m_reason[i]->text());
}

void ThermistorChoices::refresh() {
    const analysis::ReductionOptions& o = m_controller.options();
    const bool shown = m_controller.chosenIndex() > 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const QSignalBlocker quietK(m_k[i]);
        m_k[i]->setEnabled(shown);
        m_gradient[i]->setEnabled(shown);
        m_meanK[i]->setEnabled(shown);
        m_reason[i]->setEnabled(shown);
        if (!m_k[i]->hasFocus()) {
            m_k[i]->setValue(o.enteredK[i].value_or(0.0));
        }
        m_gradient[i]->setChecked(!o.excludeFromGradient[i]);
        m_meanK[i]->setChecked(!o.excludeFromK[i]);
        if (!m_reason[i]->hasFocus()) {
            m_reason[i]->setText(o.exclusionReason[i]);
        }
    }
}

} // namespace quorvane
