#include "viewer/ViewerStatusBar.h"

#include "datafile/UtcStamp.h"

#include <QLabel>
#include <QStatusBar>

namespace quorvane {

ViewerStatusBar::ViewerStatusBar(QStatusBar& bar)
    : m_message(new QLabel(&bar)), m_records(new QLabel(&bar)), m_bad(new QLabel(&bar)),
      m_last(new QLabel(&bar)), m_age(new QLabel(&bar)) {
    m_message->setObjectName(QStringLiteral("statusMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setMinimumWidth(100);
    bar.addWidget(m_message, 1);
    for (QLabel* label : {m_records, m_bad, m_last, m_age}) {
        label->setTextFormat(Qt::PlainText);
        bar.addPermanentWidget(label);
    }
}

void ViewerStatusBar::say(const QString& message, bool problem) {
    m_message->setText(message);
    m_message->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
}

QString ViewerStatusBar::message() const {
    return m_message->text();
}

void ViewerStatusBar::showCounts(qint64 records, qint64 badLines) {
    m_records->setText(QStringLiteral("Records: %1").arg(records));
    m_bad->setText(QStringLiteral("Bad lines: %1").arg(badLines));
    m_bad->setStyleSheet(badLines > 0 ? QStringLiteral("color: #b00000;") : QString());
}

void ViewerStatusBar::showLastRecord(std::optional<qint64> utcSeconds) {
    m_last->setText(utcSeconds ? QStringLiteral("Last record: %1 UTC")
                                     .arg(QString::fromStdString(eventStampUtc(*utcSeconds)))
                               : QStringLiteral("Last record: -"));
}

void ViewerStatusBar::showAge(const RecordAge::Text& age) {
    m_age->setText(QString::fromStdString(age.text));
    m_age->setStyleSheet(age.late ? QStringLiteral("color: white; background: #c00000;")
                                  : QString());
}

QString ViewerStatusBar::ageText() const {
    return m_age->text();
}

} // namespace quorvane
