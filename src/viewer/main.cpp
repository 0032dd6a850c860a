#include "analysis/batch/AnalyzeCommand.h"
#include "logging/SystemClock.h"
#include "station/GhfdbExportCommand.h"
#include "viewer/BatchExport.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/ViewerCommandLine.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <iostream>

using namespace quorvane;

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // The batch reduction and the database export need no window and no application object.
    switch (ViewerCommandLine::batchCommand(arguments)) {
    case ViewerCommandLine::Batch::Analyze:
        return analysis::AnalyzeCommand(ReductionAttachment::settingsFolder())
            .run(arguments, std::cout, std::cerr);
    case ViewerCommandLine::Batch::ExportGhfdb:
        return station::GhfdbExportCommand().run(arguments, std::cout, std::cerr);
    case ViewerCommandLine::Batch::None:
        break;
    }
    QString error;
    const std::optional<ViewerOptions> options = ViewerCommandLine::parse(arguments, error);
    if (!options) {
        std::cerr << "quorvane-view: " << error.toStdString() << "\n\n"
                  << ViewerCommandLine::helpText().toStdString();
        return 2;
    }
    if (options->help) {
        std::cout << ViewerCommandLine::helpText().toStdString();
        return 0;
    }
    // Exports need no display.
    if (options->batch() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane Viewer"));
    if (options->batch()) {
        return BatchExport::run(*options, std::cerr);
    }

    SystemClock clock;
    ViewerWindow window(clock);
    ReductionAttachment reduction(window, ReductionAttachment::settingsFolder());
    if (!options->probe.isEmpty() && !reduction.useProfileFile(options->probe, error)) {
        std::cerr << "quorvane-view: " << error.toStdString() << "\n";
        return 2;
    }
    const QString events = options->eventsPath.isEmpty()
                               ? QCoreApplication::applicationDirPath() + "/QuorvaneEvents.log"
                               : options->eventsPath;
    if (!options->file.isEmpty()) {
        window.openFile(options->file);
    } else if (QFileInfo::exists(events) || !options->eventsPath.isEmpty()) {
        window.followProgram(events);
    }
    window.show();
    return QApplication::exec();
}
