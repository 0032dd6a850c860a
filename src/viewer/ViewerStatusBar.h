#pragma once

#include "viewer/RecordAge.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class QLabel;
class QStatusBar;

namespace quorvane {

// The viewer's status bar: a message on the left; the records read, the bad lines, the
// newest record's time and how old it is on the right.
class ViewerStatusBar {
public:
    explicit ViewerStatusBar(QStatusBar& bar);

    void say(const QString& message, bool problem = false);
    QString message() const;
    void showCounts(qint64 records, qint64 badLines);
    void showLastRecord(std::optional<qint64> utcSeconds);
    void showAge(const RecordAge::Text& age);
    QString ageText() const;

private:
    QLabel* m_message;
    QLabel* m_records;
    QLabel* m_bad;
    QLabel* m_last;
    QLabel* m_age;
};

} // namespace quorvane
