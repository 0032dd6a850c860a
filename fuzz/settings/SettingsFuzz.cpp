// An arbitrary settings file read through the real INI store into the window's controls.
// Reading never throws, and what was read survives a save and a second load unchanged.
#include "fakes/FakeAppInfo.h"
#include "fakes/FakeMainView.h"
#include "logging/OutputFile.h"
#include "shell/PersistentSettings.h"
#include "shell/QtSettingsStore.h"
#include "util/Util.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

using namespace quorvane;

namespace {

std::unique_ptr<QCoreApplication> g_app;
std::unique_ptr<QTemporaryDir> g_dir;
unsigned long g_counter = 0;

struct Loaded {
    explicit Loaded(const std::string& file) : ui(timeline), store(file), app("/opt/quorvane") {
        fakes::FakeOptionButton::link(ui.Option1[0], ui.Option1[1]);
        result = PersistentSettings(store, ui.view(), output, app).loadSettings();
    }
    std::string panel(int i) { return ui.StatusBar1[i].text(); }

    fakes::FakeTimeline timeline;
    fakes::FakeMainView ui;
    QtSettingsStore store;
    fakes::FakeAppInfo app;
    OutputFile output;
    int result = -1;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
}

// Each input gets a file of its own: the store caches parsed files by name.
std::string nextPath(const char* tag) {
    return (g_dir->path() + "/" + tag + "-" + QString::number(++g_counter) + ".conf").toStdString();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_app = std::make_unique<QCoreApplication>(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/quorvane-fuzz-settings-XXXXXX");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string first = nextPath("in");
    {
        std::ofstream out(first, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string second = nextPath("saved");
    {
        Loaded loaded(first);
        if (loaded.result != 0 && loaded.result != 1) {
            fail("load result");
        }
        // Save what was read into a fresh file and read it back.
        {
            QtSettingsStore store(second);
            if (PersistentSettings(store, loaded.ui.view(), loaded.output, loaded.app)
                    .saveSettings() != 1) {
                fail("save to a fresh file failed");
            }
        }
        Loaded again(second);
        if (again.result != 1) {
            fail("a saved file did not load");
        }
        for (int i = 1; i <= 5; ++i) {
            if (again.panel(i) != trimSpaces(loaded.panel(i))) {
                fail("panel changed on the way round");
            }
        }
        const std::pair<const fakes::FakeTextField*, const fakes::FakeTextField*> fields[] = {
            {&loaded.ui.txtLogInterval, &again.ui.txtLogInterval},
            {&loaded.ui.txtHeatDelay, &again.ui.txtHeatDelay},
            {&loaded.ui.txtHeatTime, &again.ui.txtHeatTime},
            {&loaded.ui.txtHeatLevel, &again.ui.txtHeatLevel}};
        for (const auto& [a, b] : fields) {
            if (b->text() != trimSpaces(a->text())) {
                fail("field changed on the way round");
            }
        }
        if (again.output.outputDirectory != trimSpaces(loaded.output.outputDirectory) ||
            again.output.outputFileName != trimSpaces(loaded.output.outputFileName) ||
            again.output.outputFilterIndex != loaded.output.outputFilterIndex) {
            fail("data log file changed on the way round");
        }
        for (int i = 0; i < 2; ++i) {
            if (again.ui.Option1[i].isSelected() != loaded.ui.Option1[i].isSelected()) {
                fail("log option changed on the way round");
            }
        }
    }
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}
