// The program as start-up builds it (the window, its services, the stop signals), with a
// settings file and program folder of the test's, driven through its buttons into a run:
// the child that the kill tests end with SIGKILL or SIGTERM, and that the display tests run
// on an X server of their own. Prints "RUNNING" once the run is started and "HEATING" once
// the heater is on, and as the process ends by exit() "END unloaded=<0|1> port=<open|closed>".
// Message boxes do not wait here: their texts go, one line each, to the --boxes file; with
// "--boxes real" they are the real ones, over the window.
#include "fakes/FakeFileChooser.h"
#include "shell/ExitShutdown.h"
#include "shell/MainWindowHost.h"
#include "shell/QtAppInfo.h"
#include "shell/StopSignals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

using namespace quorvane;

namespace {

class BoxFile : public Dialogs {
public:
    explicit BoxFile(std::string path) : m_path(std::move(path)) {}
    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        std::string line = text;
        for (char& c : line) {
            c = (c == '\r' || c == '\n') ? ' ' : c;
        }
        std::ofstream(m_path, std::ios::app) << line << "\n";
    }
    void beep() override {}
    bool isMessageOpen() const override { return false; }

private:
    std::string m_path;
};

void say(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

// The window as it stands when the process is ended by exit() (the toolkit does so when
// the display goes away); null once main has returned.
MainWindowHost* g_endingHost = nullptr;

extern "C" void reportEnd() {
    if (g_endingHost) {
        std::printf("END unloaded=%d port=%s\n", g_endingHost->isClosed() ? 1 : 0,
                    g_endingHost->window().serialPort().isOpen() ? "open" : "closed");
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args = {{"--log-interval", "1"},
                                               {"--heat-delay", "2"},
                                               {"--heat-time", "30"},
                                               {"--heater-allowed", "1"}};
    for (int i = 1; i + 1 < argc; i += 2) {
        args[argv[i]] = argv[i + 1];
    }
    for (const char* needed : {"--settings", "--program", "--lock", "--data", "--boxes"}) {
        if (args[needed].empty()) {
            std::fprintf(stderr, "quorvane-fault-child: %s is needed\n", needed);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName("Quorvane");
    QCoreApplication::setApplicationName("Quorvane");

    // Registered first, so that it runs after every other handler at exit.
    std::atexit(reportEnd);
    QtAppInfo app(args["--lock"]);
    BoxFile boxes(args["--boxes"]);
    MainWindowHost::Options options;
    options.settingsFile = args["--settings"];
    options.programFolder = args["--program"];
    options.dialogs = args["--boxes"] == "real" ? nullptr : &boxes;
    MainWindowHost host(app, options);
    g_endingHost = &host;
    StopSignals stop([&host](int) { host.stop(); });
    fakes::FakeFileChooser chooser;
    chooser.answer = args["--data"];
    chooser.answerFilterIndex = 1;
    host.window().view().CommonDialog1 = &chooser;
    host.start();
    // As start-up arms it: the display going away still ends the program in order.
    ExitShutdown displayLoss([&host] { host.displayLost(); });

    FrmMain& window = host.window();
    auto field = [&](const char* name, const std::string& text) {
        window.findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
    };
    auto button = [&](const char* name) { return window.findChild<QAbstractButton*>(name); };
    field("txtLogInterval", args["--log-interval"]);
    field("txtHeatDelay", args["--heat-delay"]);
    field("txtHeatTime", args["--heat-time"]);
    field("txtHeatLevel", "120");
    button("Option1(0)")->setChecked(true);
    button("chkHeaterEnabled")->setChecked(args["--heater-allowed"] != "0");

    // Clicks as an operator would, once the instrument has answered.
    int stage = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        MainView& view = window.view();
        if (stage == 0 && !view.lblInstrumentID->caption().empty()) {
            button("cmdNewRun")->click();
            button("cmdRun")->click();
            stage = 1;
            say("RUNNING");
        } else if (stage == 1 && view.StatusBar1[6]->text() == "Running - Heater ON") {
            stage = 2;
            say("HEATING");
        }
    });
    driver.start(20);
    const int status = QApplication::exec();
    g_endingHost = nullptr;
    return status;
}
