#include "viewer/reduction/ReductionPanel.h"

#include "viewer/reduction/DecimalSpinBox.h"
#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/ProfilePlots.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ResultsText.h"

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

// The window the thermistors share, from the first that has one.
template <typename Member>
std::optional<analysis::FitWindow> sharedWindow(const analysis::ReductionResults& r, Member m) {
    for (const analysis::SensorResult& s : r.sensors) {
        if (s.*m) {
            return s.*m;
        }
    }
    return std::nullopt;
}

} // namespace

ReductionPanel::ReductionPanel(ReductionController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_fileNote(valueLabel()), m_profile(valueLabel()),
      m_penetration(valueLabel()), m_heater(valueLabel()), m_gradient(valueLabel()),
      m_heatFlow(valueLabel()), m_bullard(valueLabel()), m_meanK(valueLabel()),
      m_quality(valueLabel()), m_reasons(valueLabel()), m_table(new QTableWidget(5, ColumnCount)),
      m_penetrationSpin(spin(1e7)), m_decayFrom(spin(1e6)), m_decayTo(spin(1e6)),
      m_heatingFrom(spin(1e6)), m_heatingTo(spin(1e6)),
      m_defaults(new QPushButton(QStringLiteral("Default windows"))), m_sensor(new QComboBox),
      m_decayPlot(new FitPlot(FitPlot::Kind::Decay)),
      m_heatingPlot(new FitPlot(FitPlot::Kind::Heating)) {
    setLocale(QLocale::c());
    auto* layout = new QVBoxLayout(this);

    m_fileNote->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_fileNote->hide();
    layout->addWidget(m_fileNote);

    auto* probeRow = new QHBoxLayout;
    auto* profileButton = new QPushButton(QStringLiteral("Probe profile…"));
    probeRow->addWidget(m_profile, 1);
    probeRow->addWidget(profileButton);
    layout->addLayout(probeRow);

    auto* station = new QGroupBox(QStringLiteral("Station"));
    auto* form = new QFormLayout(station);
    form->addRow(QStringLiteral("Penetration"), m_penetration);
    form->addRow(QStringLiteral("Heater"), m_heater);
    form->addRow(QStringLiteral("Gradient"), m_gradient);
    form->addRow(QStringLiteral("Heat flow"), m_heatFlow);
    form->addRow(QStringLiteral("Bullard"), m_bullard);
    form->addRow(QStringLiteral("Mean k"), m_meanK);
    form->addRow(QStringLiteral("Quality"), m_quality);
    QFont bold = m_quality->font();
    bold.setBold(true);
    m_quality->setFont(bold);
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
    auto* grid = new QFormLayout(choices);
    m_penetrationSpin->setSuffix(QStringLiteral(" s after the first record"));
    grid->addRow(QStringLiteral("Penetration"), m_penetrationSpin);
    auto pair = [](QDoubleSpinBox* a, QDoubleSpinBox* b, const QString& unit) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(new QLabel(QStringLiteral("to")));
        row->addWidget(b);
        row->addWidget(new QLabel(unit));
        return row;
    };
    grid->addRow(QStringLiteral("Decay"),
                 pair(m_decayFrom, m_decayTo, QStringLiteral("s after t_p")));
    grid->addRow(QStringLiteral("Heating"),
                 pair(m_heatingFrom, m_heatingTo, QStringLiteral("s after t_on")));
    grid->addRow(QString(), m_defaults);
    layout->addWidget(choices);
    // The fields' names for a screen reader (the row labels name only the first of a pair).
    m_penetrationSpin->setAccessibleName(QStringLiteral("Penetration, seconds after the first "
                                                        "record"));
    m_decayFrom->setAccessibleName(QStringLiteral("Decay window from, seconds after t_p"));
    m_decayTo->setAccessibleName(QStringLiteral("Decay window to, seconds after t_p"));
    m_heatingFrom->setAccessibleName(QStringLiteral("Heating window from, seconds after t_on"));
    m_heatingTo->setAccessibleName(QStringLiteral("Heating window to, seconds after t_on"));

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
    connect(m_penetrationSpin, &QDoubleSpinBox::valueChanged, this,
            &ReductionPanel::penetrationEdited);
    for (QDoubleSpinBox* s : {m_decayFrom, m_decayTo}) {
        connect(s, &QDoubleSpinBox::valueChanged, this, &ReductionPanel::decayEdited);
    }
    for (QDoubleSpinBox* s : {m_heatingFrom, m_heatingTo}) {
        connect(s, &QDoubleSpinBox::valueChanged, this, &ReductionPanel::heatingEdited);
    }
    connect(m_defaults, &QPushButton::clicked, &m_controller, &ReductionController::resetChoices);
    connect(m_sensor, &QComboBox::currentIndexChanged, this, &ReductionPanel::refreshPlots);
    connect(&m_controller, &ReductionController::reduced, this, &ReductionPanel::refresh);
    refresh();
}

QDoubleSpinBox* ReductionPanel::spin(double maximum) {
    auto* box = new DecimalSpinBox;
    box->setDecimals(1);
    box->setRange(0.0, maximum);
    box->setKeyboardTracking(false);
    box->setEnabled(false);
    return box;
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
    m_quality->setText(ResultsText::quality(r));

    for (int row = 0; row < 5; ++row) {
        const analysis::SensorResult& s = r.sensors[static_cast<std::size_t>(row)];
        const auto set = [&](int column, const QString& text) {
            m_table->item(row, column)->setText(text);
        };
        set(Name, s.name);
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
    refreshChoices();
    refreshPlots();
}

void ReductionPanel::refreshChoices() {
    const analysis::ReductionResults& r = m_controller.results();
    const analysis::StationRecords& records = m_controller.records();
    // What the panel writes into its fields is never an edit: only the operator's own edits
    // reach the controller (a range that clamps a value would otherwise send it). A field being
    // typed in keeps what the operator typed, unless the run it was typed for is over.
    const bool newRun = m_shownRun != m_controller.generation();
    m_shownRun = m_controller.generation();
    const auto put = [newRun](QDoubleSpinBox* box, std::optional<double> value,
                              std::optional<double> maximum = std::nullopt) {
        const QSignalBlocker quiet(box);
        box->setEnabled(value.has_value());
        if (maximum) {
            box->setMaximum(*maximum);
        }
        if (value && (newRun || !box->hasFocus())) {
            box->setValue(*value);
        }
    };
    std::optional<double> penetration;
    std::optional<double> span;
    if (r.penetrationS && !records.empty()) {
        penetration = *r.penetrationS - records.timeS().front();
        span = records.timeS().back() - records.timeS().front();
    }
    put(m_penetrationSpin, penetration, span);
    const auto decay = sharedWindow(r, &analysis::SensorResult::decayWindow);
    const double tp = r.penetrationS.value_or(0.0);
    put(m_decayFrom, decay ? std::optional<double>(decay->fromS - tp) : std::nullopt);
    put(m_decayTo, decay ? std::optional<double>(decay->toS - tp) : std::nullopt);
    const auto heating =
        r.heater.pulse ? std::nullopt : sharedWindow(r, &analysis::SensorResult::kWindow);
    const double on = r.heater.onS.value_or(0.0);
    put(m_heatingFrom, heating ? std::optional<double>(heating->fromS - on) : std::nullopt);
    put(m_heatingTo, heating ? std::optional<double>(heating->toS - on) : std::nullopt);
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

void ReductionPanel::penetrationEdited(double secondsFromFirst) {
    const auto& records = m_controller.records();
    if (records.empty()) {
        return;
    }
    m_controller.setPenetration(records.timeS().front() + secondsFromFirst);
}

void ReductionPanel::decayEdited() {
    m_controller.setDecayWindow(
        ReductionController::Window{m_decayFrom->value(), m_decayTo->value()});
}

void ReductionPanel::heatingEdited() {
    m_controller.setHeatingWindow(
        ReductionController::Window{m_heatingFrom->value(), m_heatingTo->value()});
}

} // namespace quorvane
