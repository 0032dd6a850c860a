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
#include <QSettings>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>

using namespace quorvane;

namespace {

// Never destroyed: Qt's own globals may be gone by the time exit handlers would run.
QCoreApplication* g_app = nullptr;
QString g_dir;
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

// Writes as the real store does, but syncs the file once at the end instead of after
// every key (each sync costs milliseconds; eighteen per input would slow the fuzzing
// twentyfold). What it writes is read back through the real store.
class BatchedIniStore : public SettingsStore {
public:
    explicit BatchedIniStore(const std::string& file)
        : m_settings(QString::fromStdString(file), QSettings::IniFormat) {}
    ~BatchedIniStore() override { m_settings.sync(); }
    std::string read(const std::string&, const std::string&, const std::string& value) override {
        return value;
    }
    void write(const std::string& section, const std::string& key,
               const std::string& value) override {
        m_settings.setValue(QString::fromStdString(section + "/" + key),
                            QString::fromStdString(value));
    }

private:
    QSettings m_settings;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
}

std::string pathOf(const char* tag) {
    return (g_dir + "/" + tag + ".conf").toStdString();
}

// The store keeps parsed files by name and reads one again only when its size or time
// changed: each input's file gets a time of its own, so that it is always read afresh.
void stampUniquely(const std::string& file) {
    ++g_counter;
    const time_t when = static_cast<time_t>(1000000000 + g_counter);
    const timespec times[2] = {{when, 0}, {when, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), times, 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_app = new QCoreApplication(*argc, *argv);
    // Bad @Variant values make Qt warn on every read; the warnings only slow the fuzzing.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Every save syncs the file to disk; in memory that costs nothing.
    const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + "/quorvane-fuzz-settings-XXXXXX");
    dir.setAutoRemove(false);
    g_dir = dir.path();
    std::atexit([] { QDir(g_dir).removeRecursively(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string first = pathOf("in");
    {
        std::ofstream out(first, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    stampUniquely(first);
    const std::string second = pathOf("saved");
    {
        Loaded loaded(first);
        if (loaded.result != 0 && loaded.result != 1) {
            fail("load result");
        }
        // Save what was read into a fresh file and read it back.
        {
            BatchedIniStore store(second);
            if (PersistentSettings(store, loaded.ui.view(), loaded.output, loaded.app)
                    .saveSettings() != 1) {
                fail("save to a fresh file failed");
            }
        }
        stampUniquely(second); // read back from the file, not from what the store kept
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
