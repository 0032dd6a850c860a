#include "viewer/HeaderPanel.h"

#include <QFormLayout>

namespace quorvane {

namespace {

QString number(const std::optional<double>& value, const char* unit) {
    if (!value) {
        return QStringLiteral("?");
    }
    // QString::number never follows the locale.
    return QString::number(*value, 'g', 12) + QString::fromLatin1(unit);
}

} // namespace

HeaderPanel::HeaderPanel(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    const std::array<const char*, kRows> names = {
        "Instrument S/N", "Firmware",  "Heat delay",   "Heat duration", "Power level",
        "Heater enabled", "Data type", "Log interval", "Header blocks"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        m_values[i] = new QLabel(this);
        m_values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_values[i]->setObjectName(QStringLiteral("header%1").arg(i));
        form->addRow(QString::fromLatin1(names[i]) + QLatin1Char(':'), m_values[i]);
    }
    showHeaders({});
}

void HeaderPanel::showHeaders(const std::vector<LogHeader>& headers) {
    if (headers.empty()) {
        for (QLabel* label : m_values) {
            label->setText(QStringLiteral("-"));
        }
        m_values[8]->setText(QStringLiteral("none"));
        return;
    }
    const LogHeader& h = headers.back();
    m_values[0]->setText(h.instrument.empty() ? QStringLiteral("(none)")
                                              : QString::fromStdString(h.instrument));
    m_values[1]->setText(h.firmware.empty() ? QStringLiteral("(none)")
                                            : QString::fromStdString(h.firmware));
    m_values[2]->setText(number(h.delaySeconds, " s"));
    m_values[3]->setText(number(h.heatDurationSeconds, " s"));
    m_values[4]->setText(number(h.powerLevel, ""));
    m_values[5]->setText(!h.heaterEnabled   ? QStringLiteral("?")
                         : *h.heaterEnabled ? QStringLiteral("Yes")
                                            : QStringLiteral("No"));
    m_values[6]->setText(h.layout == DataLayout::RawHex        ? QStringLiteral("RawHex")
                         : h.layout == DataLayout::Temperature ? QStringLiteral("Temperature")
                                                               : QStringLiteral("?"));
    m_values[7]->setText(number(h.logIntervalSeconds, " s"));
    m_values[8]->setText(
        headers.size() == 1
            ? QStringLiteral("1 (from line %1)").arg(h.firstLine)
            : QStringLiteral("%1, the last from line %2").arg(headers.size()).arg(h.firstLine));
}

QString HeaderPanel::value(int row) const {
    return m_values[static_cast<std::size_t>(row)]->text();
}

} // namespace quorvane
