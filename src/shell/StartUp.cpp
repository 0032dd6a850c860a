#include "shell/StartUp.h"

#include "shell/ExitShutdown.h"
#include "shell/MainWindowHost.h"
#include "shell/QtAppInfo.h"
#include "shell/QtDialogs.h"
#include "shell/StopSignals.h"

#include <QApplication>

namespace quorvane {

int StartUp::Main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName("Quorvane");
    QCoreApplication::setApplicationName("Quorvane");

    QtAppInfo app;
    if (app.isAnotherInstanceRunning()) {
        QtDialogs boxes;
        boxes.showMessage("Application is already running", "Quorvane", MessageIcon::Critical);
        return 0;
    }

    MainWindowHost host(app, {});
    StopSignals stop([&host](int) { host.stop(); });
    host.start();
    // A stop during the load has ended the program already.
    if (host.isClosed()) {
        return 0;
    }
    // Armed once the window is up, so that what the window uses is still there at exit.
    ExitShutdown displayLoss([&host] { host.displayLost(); });
    return QApplication::exec();
}

} // namespace quorvane
