#pragma once

#include "viewer/ViewerOptions.h"

#include <QStringList>
#include <optional>

namespace quorvane {

// The options of quorvane-view. A new option is a QCommandLineOption in parse() and a
// member of ViewerOptions.
class ViewerCommandLine {
public:
    // `arguments` with the program name first. nullopt with the reason in `error`.
    static std::optional<ViewerOptions> parse(const QStringList& arguments, QString& error);
    static QString helpText();

    // The commands that run without a window and read their own options.
    enum class Batch { None, Analyze, ExportGhfdb };
    static Batch batchCommand(const QStringList& arguments);
};

} // namespace quorvane
