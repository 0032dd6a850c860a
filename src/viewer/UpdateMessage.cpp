#include "viewer/UpdateMessage.h"

#include <QFileInfo>

namespace quorvane {

UpdateMessage::Said UpdateMessage::describe(const FollowUpdate& update, const Shown& shown) {
    const QString name = QFileInfo(shown.path).fileName();
    if (!update.problem.empty()) {
        return {QStringLiteral("%1: %2%3")
                    .arg(shown.path, QString::fromStdString(update.problem),
                         shown.records > 0 ? QStringLiteral("; the records read stay shown")
                                           : QString()),
                true};
    }
    if (update.more) {
        const int percent =
            update.fileSize > 0 ? static_cast<int>(update.bytesRead * 100 / update.fileSize) : 0;
        return {QStringLiteral("Reading %1: %2 % (%3 records)")
                    .arg(name)
                    .arg(percent)
                    .arg(update.recordCount)};
    }
    if (update.recordCount == 0 && update.fileSize == 0) {
        return {QStringLiteral("%1 is empty: waiting for data.").arg(name)};
    }
    if (!update.dataLogFile) {
        if (update.lineCount == 0) {
            return {QStringLiteral("%1: waiting for its first whole line.").arg(name)};
        }
        return {QStringLiteral("%1 is %2: no line of it is a header line or a record (%3 "
                               "line(s)%4).")
                    .arg(name, QString::fromLatin1(kNotDataLog))
                    .arg(update.lineCount)
                    .arg(shown.lastBadLine.isEmpty() ? QString()
                                                     : QStringLiteral("; ") + shown.lastBadLine),
                true};
    }
    if (update.recordCount == 0 && shown.headers) {
        return {QStringLiteral("%1: header without data records (yet).").arg(name)};
    }
    if (update.badLineCount > 0) {
        return {QStringLiteral("%1: %2 bad line(s), the last %3")
                    .arg(name)
                    .arg(update.badLineCount)
                    .arg(shown.lastBadLine),
                true};
    }
    if (!shown.headers) {
        return {
            QStringLiteral("%1 has no header block: each line's layout is taken from its shape.")
                .arg(name)};
    }
    return {QStringLiteral("%1: %2 records.").arg(name).arg(update.recordCount)};
}

} // namespace quorvane
