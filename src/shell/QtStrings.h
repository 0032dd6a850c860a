#pragma once

#include <QString>
#include <string>

namespace quorvane {

// Captions and field texts travel as UTF-8 between the logic and the widgets.
inline QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string toStdString(const QString& text) {
    return text.toStdString();
}

// Texts of the logic separate lines with CR LF; widgets want a bare line feed.
inline QString toDisplayLines(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace quorvane
