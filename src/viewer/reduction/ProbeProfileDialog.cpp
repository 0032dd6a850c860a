#include "viewer/reduction/ProbeProfileDialog.h"

#include "viewer/reduction/DecimalSpinBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QDoubleSpinBox* field(double low, double high, int decimals, const QString& suffix,
                      const QString& name) {
    auto* box = new DecimalSpinBox;
    box->setAccessibleName(name);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    return box;
}

// A field whose lowest value says the sheet gives none.
QDoubleSpinBox* optionalField(double high, int decimals, const QString& suffix, const QString& name,
                              std::optional<double> value) {
    QDoubleSpinBox* box = field(0.0, high, decimals, suffix, name);
    box->setSpecialValueText(QStringLiteral("not given"));
    box->setValue(value.value_or(0.0));
    return box;
}

std::optional<double> given(const QDoubleSpinBox* box, double scale) {
    return box->value() > box->minimum() ? std::optional<double>(box->value() / scale)
                                         : std::nullopt;
}

} // namespace

ProbeProfileDialog::ProbeProfileDialog(const analysis::ProbeProfileStore& store,
                                       const analysis::ProbeProfile& profile, QWidget* parent)
    : QDialog(parent), m_store(store), m_saved(profile), m_serial(new QLineEdit(profile.serial)),
      m_heater(field(-1000.0, 1000.0, 4, QStringLiteral(" W/m per level"),
                     QStringLiteral("Heater calibration, W/m per level"))),
      m_radiusMm(
          field(-100.0, 100.0, 3, QStringLiteral(" mm"), QStringLiteral("Needle radius, mm"))),
      m_alpha(field(0.0, analysis::ProbeProfile::kHighestAlpha, 2, QString(),
                    QStringLiteral("Alpha, twice the ratio of heat capacities"))),
      m_heaterUncertainty(
          optionalField(100.0, 2, QStringLiteral(" %"),
                        QStringLiteral("Heater calibration relative uncertainty, per cent"),
                        profile.heaterCalibrationUncertainty
                            ? std::optional<double>(*profile.heaterCalibrationUncertainty * 100.0)
                            : std::nullopt)),
      m_depthUncertainty(optionalField(1.0, 3, QStringLiteral(" m"),
                                       QStringLiteral("Thermistor depth uncertainty, m"),
                                       profile.depthUncertaintyM)),
      m_tilt(field(-180.0, 180.0, 1, QStringLiteral(" °"),
                   QStringLiteral("Tilt from vertical, degrees"))),
      m_tiltEntered(new QCheckBox(QStringLiteral("tilt measured"))), m_message(new QLabel),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel)) {
    setWindowTitle(QStringLiteral("Probe profile"));
    setLocale(QLocale::c());
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // The serial names the file: letters, digits, dash and underscore only.
    m_serial->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9_-]{0,32}")), m_serial));
    m_serial->setAccessibleName(QStringLiteral("Instrument serial"));
    m_tiltEntered->setAccessibleName(QStringLiteral("Tilt measured"));
    form->addRow(QStringLiteral("Instrument serial"), m_serial);
    const QStringList names = {QStringLiteral("TTop"), QStringLiteral("T2"), QStringLiteral("T3"),
                               QStringLiteral("T4"), QStringLiteral("TBot")};
    for (std::size_t i = 0; i < m_depths.size(); ++i) {
        // Negative values are let in so that the check can say what is wrong with them.
        m_depths[i] = field(-100.0, 100.0, 3, QStringLiteral(" m"),
                            QStringLiteral("Depth of %1, m").arg(names[static_cast<int>(i)]));
        m_depths[i]->setValue(profile.sensorDepthsM[i]);
        form->addRow(QStringLiteral("Depth of %1").arg(names[static_cast<int>(i)]), m_depths[i]);
    }
    m_heater->setValue(profile.heaterWPerMPerLevel);
    m_radiusMm->setValue(profile.radiusM * 1000.0);
    m_tilt->setValue(profile.tiltDeg);
    m_tiltEntered->setChecked(profile.tiltEntered && !profile.isDefault);
    form->addRow(QStringLiteral("Heater calibration"), m_heater);
    form->addRow(QStringLiteral("Needle radius"), m_radiusMm);
    m_alpha->setValue(profile.alpha);
    m_alpha->setToolTip(QStringLiteral("Twice the heat capacity per volume of the sediment over "
                                       "the probe's; 0 takes the probe for an ideal line"));
    form->addRow(QStringLiteral("Alpha"), m_alpha);
    form->addRow(QStringLiteral("Heater calibration uncertainty"), m_heaterUncertainty);
    form->addRow(QStringLiteral("Depth uncertainty"), m_depthUncertainty);
    auto* tiltRow = new QHBoxLayout;
    tiltRow->addWidget(m_tilt);
    tiltRow->addWidget(m_tiltEntered);
    form->addRow(QStringLiteral("Tilt from vertical"), tiltRow);
    layout->addLayout(form);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    layout->addWidget(m_buttons);

    connect(m_serial, &QLineEdit::textChanged, this, &ProbeProfileDialog::validate);
    for (QDoubleSpinBox* box : m_depths) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &ProbeProfileDialog::validate);
    }
    for (QDoubleSpinBox* box :
         {m_heater, m_radiusMm, m_alpha, m_heaterUncertainty, m_depthUncertainty, m_tilt}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &ProbeProfileDialog::validate);
    }
    connect(m_tiltEntered, &QCheckBox::toggled, m_tilt, &QWidget::setEnabled);
    connect(m_tiltEntered, &QCheckBox::toggled, this, &ProbeProfileDialog::validate);
    m_tilt->setEnabled(m_tiltEntered->isChecked());
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    validate();
}

analysis::ProbeProfile ProbeProfileDialog::profile() const {
    analysis::ProbeProfile p;
    p.serial = m_serial->text().trimmed();
    for (std::size_t i = 0; i < m_depths.size(); ++i) {
        p.sensorDepthsM[i] = m_depths[i]->value();
    }
    p.heaterWPerMPerLevel = m_heater->value();
    p.radiusM = m_radiusMm->value() / 1000.0;
    p.alpha = m_alpha->value();
    p.heaterCalibrationUncertainty = given(m_heaterUncertainty, 100.0);
    p.depthUncertaintyM = given(m_depthUncertainty, 1.0);
    p.tiltEntered = m_tiltEntered->isChecked();
    p.tiltDeg = p.tiltEntered ? m_tilt->value() : 0.0;
    p.isDefault = false;
    return p;
}

QString ProbeProfileDialog::problem() const {
    const analysis::ProbeProfile p = profile();
    if (p.serial.isEmpty()) {
        return QStringLiteral("the instrument serial is empty: the profile needs one");
    }
    if (!analysis::ProbeProfileStore::isPlainSerial(p.serial)) {
        // The serial names the profile's file: never a path out of the probes folder.
        return QStringLiteral("the instrument serial \"%1\" cannot name a file: letters, "
                              "digits, - and _ only")
            .arg(p.serial);
    }
    return p.problem();
}

bool ProbeProfileDialog::saveEnabled() const {
    return m_buttons->button(QDialogButtonBox::Save)->isEnabled();
}

void ProbeProfileDialog::validate() {
    const QString why = problem();
    m_buttons->button(QDialogButtonBox::Save)->setEnabled(why.isEmpty());
    if (why.isEmpty()) {
        m_message->setStyleSheet(QString());
        m_message->setText(QStringLiteral("Saved as %1").arg(m_store.pathFor(profile().serial)));
    } else {
        m_message->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_message->setText(QStringLiteral("Cannot save: ") + why + QLatin1Char('.'));
    }
}

bool ProbeProfileDialog::save() {
    const QString why = problem();
    if (!why.isEmpty()) {
        validate();
        return false;
    }
    const analysis::ProbeProfile p = profile();
    QString error;
    if (!m_store.save(p, error)) {
        m_message->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_message->setText(QStringLiteral("Cannot save: ") + error);
        return false;
    }
    m_saved = p;
    return true;
}

} // namespace quorvane
