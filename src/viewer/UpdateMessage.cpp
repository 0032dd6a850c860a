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
    if (update.recordCount == 0 && !shown.headers && update.badLineCount > 0) {
        return {QStringLiteral("%1 does not look like a Quorvane data log file: %2 line(s), no "
                               "header and no readable record (%3).")
                    .arg(name)
                    .arg(update.badLineCount)
                    .arg(shown.lastBadLine),
                true};
    }
    if (update.recordCount == 0 && shown.headers) {
        return {QStringLiteral("%1: header without data records (yet).").arg(name)};
    }
    if (update.recordCount == 0 && update.fileSize == 0) {
        return {QStringLiteral("%1 is empty: waiting for data.").arg(name)};
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
