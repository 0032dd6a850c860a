#include "viewer/reduction/ReductionPanel.h"

#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/PenetrationList.h"
#include "viewer/reduction/ProfilePlots.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ResultsText.h"
#include "viewer/reduction/ThermistorChoices.h"
#include "viewer/reduction/WindowChoices.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QLabel* valueLabel() {
    auto* label = new QLabel(QString::fromUtf8(ResultsText::kDash));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

ReductionPanel::ReductionPanel(ReductionController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_fileNote(valueLabel()), m_profile(valueLabel()),
      m_penetration(valueLabel()), m_heater(valueLabel()), m_gradient(valueLabel()),
      m_heatFlow(valueLabel()), m_bullard(valueLabel()), m_meanK(valueLabel()),
      m_quality(valueLabel()), m_qualityCap(valueLabel()), m_reasons(valueLabel()),
      m_stationFile(valueLabel()),
      m_setAside(new QPushButton(QStringLiteral("Move the station file aside"))),
      m_penetrations(new PenetrationList(controller)), m_table(new QTableWidget(5, ColumnCount)),
      m_windows(new WindowChoices(controller)), m_thermistors(new ThermistorChoices(controller)),
      m_sensor(new QComboBox), m_decayPlot(new FitPlot(FitPlot::Kind::Decay)),
      m_heatingPlot(new FitPlot(FitPlot::Kind::Heating)) {
    setLocale(QLocale::c());
    auto* layout = new QVBoxLayout(this);

    m_fileNote->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_fileNote->hide();
    layout->addWidget(m_fileNote);

    // Why the station file cannot be kept: said here, never in a box.
    m_stationFile->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* stationFileRow = new QHBoxLayout;
    stationFileRow->addWidget(m_stationFile, 1);
    stationFileRow->addWidget(m_setAside);
    layout->addLayout(stationFileRow);

    auto* probeRow = new QHBoxLayout;
    auto* profileButton = new QPushButton(QStringLiteral("Probe profile…"));
    auto* stationButton = new QPushButton(QStringLiteral("Station…"));
    probeRow->addWidget(m_profile, 1);
    probeRow->addWidget(profileButton);
    probeRow->addWidget(stationButton);
    layout->addLayout(probeRow);

    auto* penetrations = new QGroupBox(QStringLiteral("Penetrations (the newest is followed "
                                                      "until you choose another)"));
    auto* penetrationsLayout = new QVBoxLayout(penetrations);
    penetrationsLayout->addWidget(m_penetrations);
    layout->addWidget(penetrations);

    auto* station = new QGroupBox(QStringLiteral("Station"));
    auto* form = new QFormLayout(station);
    form->addRow(QStringLiteral("Penetration"), m_penetration);
    form->addRow(QStringLiteral("Heater"), m_heater);
    form->addRow(QStringLiteral("Gradient"), m_gradient);
    form->addRow(QStringLiteral("Heat flow"), m_heatFlow);
    form->addRow(QStringLiteral("Bullard"), m_bullard);
    form->addRow(QStringLiteral("Mean k"), m_meanK);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(m_quality);
    qualityRow->addWidget(m_qualityCap, 1);
    form->addRow(QStringLiteral("Quality"), qualityRow);
    QFont bold = m_quality->font();
    bold.setBold(true);
    m_heatFlow->setFont(bold);
    layout->addWidget(station);

    m_table->setHorizontalHeaderLabels({QStringLiteral("Thermistor"), QStringLiteral("z m"),
                                        QStringLiteral("T_eq °C"), QStringLiteral("k W/(m K)"),
                                        QStringLiteral("from"), QStringLiteral("n"),
                                        QStringLiteral("RMS mK"), QStringLiteral("flags")});
    m_table->setAccessibleName(QStringLiteral("Results per thermistor"));
    // Tab goes on to the next control; the arrows move between the cells.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setMinimumWidth(540);
    for (int row = 0; row < 5; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(QString::fromUtf8(ResultsText::kDash));
            item->setTextAlignment(c == Flags || c == Name ? Qt::AlignLeft | Qt::AlignVCenter
                                                           : Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, c, item);
        }
    }
    layout->addWidget(m_table);

    auto* choices =
        new QGroupBox(QStringLiteral("Penetration and fit windows (drag them on the plot)"));
    auto* choicesLayout = new QVBoxLayout(choices);
    choicesLayout->addWidget(m_windows);
    layout->addWidget(choices);
    auto* thermistors = new QGroupBox(QStringLiteral("Thermistors"));
    auto* thermistorsLayout = new QVBoxLayout(thermistors);
    thermistorsLayout->addWidget(m_thermistors);
    layout->addWidget(thermistors);

    auto* sensorRow = new QHBoxLayout;
    sensorRow->addWidget(new QLabel(QStringLiteral("Fits of")));
    m_sensor->addItems({QStringLiteral("TTop"), QStringLiteral("T2"), QStringLiteral("T3"),
                        QStringLiteral("T4"), QStringLiteral("TBot")});
    m_sensor->setAccessibleName(QStringLiteral("Thermistor shown in the fit plots"));
    sensorRow->addWidget(m_sensor);
    sensorRow->addStretch(1);
    layout->addLayout(sensorRow);
    auto* plots = new QHBoxLayout;
    plots->addWidget(m_decayPlot);
    plots->addWidget(m_heatingPlot);
    layout->addLayout(plots, 1);
    layout->addWidget(new ProfilePlots(m_controller), 1);

    auto* notes = new QGroupBox(QStringLiteral("Notes"));
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->addWidget(m_reasons);
    layout->addWidget(notes);

    auto* exports = new QHBoxLayout;
    auto* json = new QPushButton(QStringLiteral("Export results (JSON)…"));
    auto* report = new QPushButton(QStringLiteral("Export report (PDF/PNG)…"));
    exports->addWidget(json);
    exports->addWidget(report);
    layout->addLayout(exports);

    connect(profileButton, &QPushButton::clicked, this, &ReductionPanel::profileRequested);
    connect(json, &QPushButton::clicked, this, &ReductionPanel::exportJsonRequested);
    connect(report, &QPushButton::clicked, this, &ReductionPanel::exportReportRequested);
    connect(stationButton, &QPushButton::clicked, this, &ReductionPanel::stationRequested);
    connect(m_setAside, &QPushButton::clicked, this, &ReductionPanel::setAside);
    connect(&m_controller, &ReductionController::stationFileChanged, this,
            &ReductionPanel::refreshStationFile);
    connect(m_sensor, &QComboBox::currentIndexChanged, this, &ReductionPanel::refreshPlots);
    connect(&m_controller, &ReductionController::reduced, this, &ReductionPanel::refresh);
    refresh();
    refreshStationFile();
}

QDoubleSpinBox& ReductionPanel::penetrationSpin() {
    return m_windows->penetrationSpin();
}
QDoubleSpinBox& ReductionPanel::decayFromSpin() {
    return m_windows->decayFromSpin();
}
QDoubleSpinBox& ReductionPanel::decayToSpin() {
    return m_windows->decayToSpin();
}
QDoubleSpinBox& ReductionPanel::heatingFromSpin() {
    return m_windows->heatingFromSpin();
}
QDoubleSpinBox& ReductionPanel::heatingToSpin() {
    return m_windows->heatingToSpin();
}
QPushButton& ReductionPanel::defaultsButton() {
    return m_windows->defaultsButton();
}

void ReductionPanel::refreshStationFile() {
    const QString problem = m_controller.stationFileProblem();
    m_stationFile->setText(problem);
    m_stationFile->setVisible(!problem.isEmpty());
    m_setAside->setVisible(m_controller.stationFileRefused());
}

void ReductionPanel::setAside() {
    QString movedTo;
    QString error;
    if (!m_controller.setStationFileAside(movedTo, error)) {
        m_stationFile->setText(QStringLiteral("The station file was not moved: ") + error);
        m_stationFile->setVisible(true);
    }
}

void ReductionPanel::showFileNote(const QString& note) {
    m_fileNote->setText(note);
    m_fileNote->setVisible(!note.isEmpty());
}

void ReductionPanel::chooseSensor(int sensor) {
    m_sensor->setCurrentIndex(sensor);
}

int ReductionPanel::chosenSensor() const {
    return m_sensor->currentIndex();
}

void ReductionPanel::refresh() {
    const analysis::ReductionResults& r = m_controller.results();
    const analysis::ProbeProfile& profile = m_controller.profile();
    QString probe = profile.isDefault ? QStringLiteral("Default probe profile")
                                      : QStringLiteral("Probe profile %1").arg(profile.serial);
    if (!m_controller.profileNote().isEmpty()) {
        probe += QStringLiteral(": ") + m_controller.profileNote();
    }
    m_profile->setText(probe);
    m_profile->setStyleSheet(profile.isDefault ? QStringLiteral("color: #a05000;") : QString());

    m_penetration->setText(ResultsText::penetration(r));
    m_heater->setText(ResultsText::heater(r));
    m_gradient->setText(ResultsText::gradient(r));
    m_heatFlow->setText(ResultsText::heatFlow(r));
    m_bullard->setText(ResultsText::heatFlowBullard(r));
    m_meanK->setText(r.harmonicMeanKWPerMK ? ResultsText::number(r.harmonicMeanKWPerMK, 3) +
                                                 QStringLiteral(" W/(m K), harmonic")
                                           : QString::fromUtf8(ResultsText::kDash));
    // A capped quality is no verdict of the uncertainty: not emphasised, with the reason.
    m_quality->setText(ResultsText::quality(r));
    QFont quality = m_quality->font();
    quality.setBold(r.qualityCap.isEmpty());
    m_quality->setFont(quality);
    m_qualityCap->setText(r.qualityCap.isEmpty() ? QString()
                                                 : QStringLiteral("(%1)").arg(r.qualityCap));
    m_qualityCap->setVisible(!r.qualityCap.isEmpty());

    for (int row = 0; row < 5; ++row) {
        const analysis::SensorResult& s = r.sensors[static_cast<std::size_t>(row)];
        const auto set = [&](int column, const QString& text) {
            m_table->item(row, column)->setText(text);
        };
        // A thermistor left out stays in the table, marked, with the reason on it.
        set(Name, s.excluded.isEmpty() ? s.name : s.name + QStringLiteral(" ✕"));
        m_table->item(row, Name)->setToolTip(
            s.excluded.isEmpty()
                ? QString()
                : QStringLiteral("left out of %1%2")
                      .arg(s.excluded.join(QStringLiteral(" and ")),
                           s.excludedReason.isEmpty() ? QString()
                                                      : QStringLiteral(": ") + s.excludedReason));
        set(Depth, ResultsText::number(s.depthM, 2));
        set(TEq, ResultsText::withError(s.tEqC, s.tEqErrC, 4));
        set(K, ResultsText::withError(s.kWPerMK, s.kErrWPerMK, 3));
        set(Method, s.kMethod.isEmpty() ? QString::fromUtf8(ResultsText::kDash) : s.kMethod);
        set(Records, QString::number(s.recordsDecay));
        set(Rms, ResultsText::number(
                     s.fitRmsC ? std::optional<double>(*s.fitRmsC * 1000.0) : std::nullopt, 2));
        // The reasons in words are in the notes below; the table counts them.
        const QString flags = s.flags.join(QStringLiteral("\n"));
        set(Flags, QString::number(s.flags.size()));
        m_table->item(row, Flags)->setToolTip(flags);
        m_table->item(row, Flags)
            ->setForeground(flags.isEmpty() ? palette().text().color() : QColor(170, 60, 0));
    }
    const QStringList reasons = ResultsText::reasons(r);
    m_reasons->setText(reasons.isEmpty()
                           ? QStringLiteral("No flags.")
                           : QStringLiteral("• ") + reasons.join(QStringLiteral("\n• ")));
    m_windows->refresh();
    m_thermistors->refresh();
    refreshPlots();
}

void ReductionPanel::refreshPlots() {
    const int sensor = std::max(0, m_sensor->currentIndex());
    const analysis::ReductionResults& r = m_controller.results();
    const analysis::SensorResult& s = r.sensors[static_cast<std::size_t>(sensor)];
    const auto& records = m_controller.records();
    m_decayPlot->show(
        FitCurves::decay(records, r, static_cast<std::size_t>(sensor)),
        QStringLiteral("%1 decay: T_eq %2 °C").arg(s.name, ResultsText::number(s.tEqC, 4)));
    m_heatingPlot->show(
        FitCurves::heating(records, r, static_cast<std::size_t>(sensor)),
        QStringLiteral("%1 %2: k %3 W/(m K)")
            .arg(s.name, r.heater.pulse ? QStringLiteral("pulse") : QStringLiteral("heating"),
                 ResultsText::number(s.kWPerMK, 3)));
}

} // namespace quorvane
