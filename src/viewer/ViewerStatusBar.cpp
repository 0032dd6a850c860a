#include "viewer/ViewerStatusBar.h"

#include "datafile/UtcStamp.h"
#include "viewer/StatusLabel.h"

#include <QStatusBar>

namespace quorvane {

ViewerStatusBar::ViewerStatusBar(QStatusBar& bar)
    : m_message(new StatusLabel(&bar)), m_records(new StatusLabel(&bar)),
      m_bad(new StatusLabel(&bar)), m_last(new StatusLabel(&bar)), m_age(new StatusLabel(&bar)) {
    m_message->setObjectName(QStringLiteral("statusMessage"));
    bar.addWidget(m_message, 1);
    for (StatusLabel* label : {m_records, m_bad, m_last, m_age}) {
        bar.addPermanentWidget(label);
    }
}

void ViewerStatusBar::say(const QString& message, bool problem) {
    m_message->showText(message);
    m_message->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
}

QString ViewerStatusBar::message() const {
    return m_message->text();
}

void ViewerStatusBar::showCounts(qint64 records, qint64 badLines) {
    m_records->showText(QStringLiteral("Records: %1").arg(records));
    m_bad->showText(QStringLiteral("Bad lines: %1").arg(badLines));
    m_bad->setStyleSheet(badLines > 0 ? QStringLiteral("color: #b00000;") : QString());
}

void ViewerStatusBar::showLastRecord(std::optional<qint64> utcSeconds) {
    m_last->showText(utcSeconds ? QStringLiteral("Last record: %1 UTC")
                                      .arg(QString::fromStdString(eventStampUtc(*utcSeconds)))
                                : QStringLiteral("Last record: -"));
}

void ViewerStatusBar::showAge(const RecordAge::Text& age) {
    m_age->showText(QString::fromStdString(age.text));
    m_age->setStyleSheet(age.late ? QStringLiteral("color: white; background: #c00000;")
                                  : QString());
}

QString ViewerStatusBar::ageText() const {
    return m_age->text();
}

} // namespace quorvane
