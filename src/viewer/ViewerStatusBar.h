#pragma once

#include "viewer/RecordAge.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class QStatusBar;

namespace quorvane {

class StatusLabel;

// The viewer's status bar: a message on the left; the records read, the bad lines, the
// newest record's time and how old it is on the right. In a narrow window the labels give
// way (cut with "…") rather than run out of the window.
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
    StatusLabel* m_message;
    StatusLabel* m_records;
    StatusLabel* m_bad;
    StatusLabel* m_last;
    StatusLabel* m_age;
};

} // namespace quorvane
