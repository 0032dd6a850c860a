#include "viewer/reduction/StationDialog.h"

#include "station/NumberText.h"
#include "viewer/reduction/ReductionController.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

struct FieldText {
    const char* label;
    const char* unit;
    const char* hint;
};

const FieldText kFields[StationDialog::FieldCount] = {
    {"Cruise or expedition", "", "e.g. SO-300"},
    {"Station", "", "e.g. HF-07"},
    {"Penetration number", "", "1, 2, …"},
    {"Latitude", " (°)", "decimal degrees, north positive"},
    {"Longitude", " (°)", "decimal degrees, east positive"},
    {"Water depth", " (m)", ""},
    {"Probe type", "", "e.g. violin-bow"},
    {"Probe length", " (m)", ""},
    {"Top thermistor depth", " (m)", "below the sea floor"},
    {"Comment", "", ""},
};

QString text(const std::optional<QString>& value) {
    return value.value_or(QString());
}

QString text(const std::optional<double>& value) {
    return value ? station::NumberText::format(*value) : QString();
}

} // namespace

StationDialog::StationDialog(ReductionController& controller, QWidget* parent)
    : QDialog(parent), m_controller(controller),
      m_own(new QCheckBox(QStringLiteral("For this penetration only"))), m_message(new QLabel),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel)) {
    setWindowTitle(QStringLiteral("Station"));
    setLocale(QLocale::c());
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (int f = 0; f < FieldCount; ++f) {
        auto* edit = new QLineEdit;
        const QString label = QString::fromUtf8(kFields[f].label);
        edit->setPlaceholderText(QString::fromUtf8(kFields[f].hint));
        edit->setAccessibleName(label);
        edit->setMinimumWidth(280);
        form->addRow(label + QString::fromUtf8(kFields[f].unit), edit);
        m_edits[f] = edit;
    }
    layout->addLayout(form);
    m_own->setAccessibleName(QStringLiteral("Description for this penetration only"));
    layout->addWidget(m_own);
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    layout->addWidget(m_buttons);

    const std::optional<station::PenetrationKey> key = m_controller.shownKey();
    if (key) {
        const station::StationFile& file = m_controller.stationFile();
        station::StationDescription own = file.ownDescription(*key);
        own.penetrationNumber.reset();
        m_own->setChecked(!own.isEmpty());
        showDescription(file.descriptionFor(*key));
        m_message->setText(QStringLiteral("Run %1, penetration %2 of the file; kept in %3")
                               .arg(key->run)
                               .arg(key->penetration)
                               .arg(m_controller.stationFilePath()));
    } else {
        refuse(QStringLiteral("no penetration is shown"));
        m_buttons->button(QDialogButtonBox::Save)->setEnabled(false);
    }
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void StationDialog::showDescription(const station::StationDescription& d) {
    m_edits[Cruise]->setText(text(d.cruise));
    m_edits[Station]->setText(text(d.station));
    m_edits[PenetrationNumber]->setText(d.penetrationNumber ? QString::number(*d.penetrationNumber)
                                                            : QString());
    m_edits[Latitude]->setText(text(d.latitudeDeg));
    m_edits[Longitude]->setText(text(d.longitudeDeg));
    m_edits[WaterDepth]->setText(text(d.waterDepthM));
    m_edits[ProbeType]->setText(text(d.probeType));
    m_edits[ProbeLength]->setText(text(d.probeLengthM));
    m_edits[TopThermistorDepth]->setText(text(d.topThermistorDepthM));
    m_edits[Comment]->setText(text(d.comment));
}

std::optional<station::StationDescription> StationDialog::description(QString& error) const {
    station::StationDescription d;
    const auto words = [this](Field f) -> std::optional<QString> {
        const QString t = m_edits[f]->text().trimmed();
        return t.isEmpty() ? std::nullopt : std::optional<QString>(t);
    };
    // A number field: empty is none; a decimal comma is read as a point.
    bool ok = true;
    const auto number = [&](Field f) -> std::optional<double> {
        const std::optional<QString> t = words(f);
        if (!t || !ok) {
            return std::nullopt;
        }
        auto value = station::NumberText::parse(QString(*t).replace(QLatin1Char(','), '.'));
        if (!value) {
            error = QStringLiteral("%1 \"%2\" is not a number")
                        .arg(QString::fromUtf8(kFields[f].label).toLower(), *t);
            ok = false;
        }
        return value;
    };
    d.cruise = words(Cruise);
    d.station = words(Station);
    d.latitudeDeg = number(Latitude);
    d.longitudeDeg = number(Longitude);
    d.waterDepthM = number(WaterDepth);
    d.probeType = words(ProbeType);
    d.probeLengthM = number(ProbeLength);
    d.topThermistorDepthM = number(TopThermistorDepth);
    d.comment = words(Comment);
    if (const auto n = words(PenetrationNumber); n && ok) {
        bool whole = false;
        d.penetrationNumber = n->toInt(&whole);
        if (!whole) {
            error = QStringLiteral("penetration number \"%1\" is not a whole number").arg(*n);
            ok = false;
        }
    }
    if (!ok) {
        return std::nullopt;
    }
    error = d.problem();
    return error.isEmpty() ? std::optional(d) : std::nullopt;
}

void StationDialog::refuse(const QString& why) {
    m_message->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_message->setText(QStringLiteral("Cannot keep it: ") + why + QLatin1Char('.'));
}

bool StationDialog::save() {
    const std::optional<station::PenetrationKey> key = m_controller.shownKey();
    QString error;
    const std::optional<station::StationDescription> d = description(error);
    if (!key || !d) {
        refuse(key ? error : QStringLiteral("no penetration is shown"));
        return false;
    }
    station::StationDescription common = m_controller.stationFile().common();
    station::StationDescription own;
    if (m_own->isChecked()) {
        own = *d;
    } else {
        // What the file's penetrations share; the penetration number is this one's own.
        const QJsonObject kept = common.otherKeys;
        common = *d;
        common.penetrationNumber.reset();
        common.otherKeys = kept;
        own.penetrationNumber = d->penetrationNumber;
    }
    own.otherKeys = m_controller.stationFile().ownDescription(*key).otherKeys;
    if (!m_controller.setDescriptions(*key, common, own, error)) {
        refuse(error);
        return false;
    }
    return true;
}

} // namespace quorvane
