#include "viewer/ReadoutPanel.h"

#include "datafile/PlainNumbers.h"
#include "datafile/UtcStamp.h"
#include "viewer/TemperaturePlot.h"

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

QLabel* readoutLabel(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(accessibleName);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    label->setFont(mono);
    return label;
}

} // namespace

ReadoutPanel::ReadoutPanel(const RunSeries& series, QWidget* parent)
    : QWidget(parent), m_series(series) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("At the cursor:"), this));
    m_cursor = readoutLabel(this, "cursorReadout", QStringLiteral("Record at the cursor"));
    layout->addWidget(m_cursor);
    layout->addWidget(new QLabel(QStringLiteral("Picked (click the plot, or Enter on it):"), this));
    m_pickA = readoutLabel(this, "pickA", QStringLiteral("Picked record A"));
    m_pickB = readoutLabel(this, "pickB", QStringLiteral("Picked record B"));
    layout->addWidget(m_pickA);
    layout->addWidget(m_pickB);
    layout->addWidget(new QLabel(QStringLiteral("B - A:"), this));
    m_difference = readoutLabel(this, "pickDifference", QStringLiteral("Difference B minus A"));
    layout->addWidget(m_difference);
    layout->addStretch(1);
    clear();
}

void ReadoutPanel::clear() {
    m_a.reset();
    m_b.reset();
    m_cursor->setText(QStringLiteral("-"));
    m_pickA->setText(QStringLiteral("A: -"));
    m_pickB->setText(QStringLiteral("B: -"));
    m_difference->setText(QStringLiteral("-"));
    tellPicks();
}

void ReadoutPanel::tellPicks() {
    const auto key = [&](const std::optional<int>& index) {
        return index ? std::optional<double>(m_series.keyAt(*index)) : std::nullopt;
    };
    emit picksChanged(key(m_a), key(m_b));
}

QString ReadoutPanel::describe(int index) const {
    const double key = m_series.keyAt(index);
    std::string text = eventStampUtc(static_cast<qint64>(key)).substr(12) + " UTC";
    if (m_series.firstTime()) {
        text += "  (" + formatFixed(key - *m_series.firstTime(), 0) + " s)";
    }
    for (int c = 0; c < RunSeries::kChannels; ++c) {
        const double value = m_series.temperatureAt(c, index);
        char name[8];
        std::snprintf(name, sizeof name, "%-5s", TemperaturePlot::kChannelNames[c]);
        text += "\n" + std::string(name) + formatFixed(value, 3) + " °C";
    }
    text += "\nHeater " + std::to_string(m_series.heaterAt(key));
    return QString::fromStdString(text);
}

void ReadoutPanel::showCursor(double utcSeconds) {
    const std::optional<int> index = m_series.nearest(utcSeconds);
    if (!index) {
        m_cursor->setText(QStringLiteral("-"));
        return;
    }
    QString text = describe(*index);
    const double away = m_series.keyAt(*index) - utcSeconds;
    const auto gap = m_series.gapAround(utcSeconds);
    // More than a log interval (a second, the stamps' step, when unknown) from the record
    // shown, across a gap: say how far.
    if (gap && std::abs(away) > std::max(1.0, gap->interval)) {
        text = QString::fromStdString("No record here: a gap of " +
                                      formatFixed(gap->to - gap->from, 0) + " s.\nThe nearest, " +
                                      formatFixed(std::abs(away), 0) +
                                      (away < 0 ? " s before:\n" : " s after:\n")) +
               text;
    }
    m_cursor->setText(text);
}

void ReadoutPanel::pick(double utcSeconds) {
    const std::optional<int> index = m_series.nearest(utcSeconds);
    if (!index) {
        return;
    }
    if (!m_a || m_b) {
        m_a = index;
        m_b.reset();
        m_pickA->setText(QStringLiteral("A: ") + describe(*index));
        m_pickB->setText(QStringLiteral("B: -"));
        m_difference->setText(QStringLiteral("-"));
        tellPicks();
        return;
    }
    m_b = index;
    m_pickB->setText(QStringLiteral("B: ") + describe(*index));
    const auto at = [&](int c, int i) {
        return c < 0 ? m_series.keyAt(i) : m_series.temperatureAt(c, i);
    };
    std::string text = formatFixed(at(-1, *m_b) - at(-1, *m_a), 0) + " s";
    for (int c = 0; c < RunSeries::kChannels; ++c) {
        const double d = at(c, *m_b) - at(c, *m_a);
        char name[8];
        std::snprintf(name, sizeof name, "%-5s", TemperaturePlot::kChannelNames[c]);
        text += "\n" + std::string(name) + (d >= 0 ? "+" : "") + formatFixed(d, 3) + " K";
    }
    m_difference->setText(QString::fromStdString(text));
    tellPicks();
}

} // namespace quorvane
