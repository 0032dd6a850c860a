#include "BenchWindow.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace quorvane::bench {

void CountingDialogs::showMessage(const std::string& text, const std::string&, MessageIcon) {
    ++m_shown;
    std::fprintf(stderr, "box: %s\n", text.c_str());
}

BenchWindow::BenchWindow(const std::string& tag) {
    m_dir = std::filesystem::temp_directory_path() /
            ("quorvane-bench-" + tag + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir / "icons");
    for (const auto& icon : std::filesystem::directory_iterator(QUORVANE_SOURCE_ICONS)) {
        std::filesystem::copy_file(icon.path(), m_dir / "icons" / icon.path().filename());
    }
    std::ofstream(path("Quorvane.conf")) << "[Ports]\nCOM2=" << link() << "\n\n[Settings]\n"
                                         << "DefaultPath=" << m_dir.string() << "/\n"
                                         << "DefaultFilename=before-run.log\n";
}

BenchWindow::~BenchWindow() {
    close();
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

void BenchWindow::start() {
    m_app = std::make_unique<QtAppInfo>(path("quorvane.lock"));
    MainWindowHost::Options options;
    options.settingsFile = path("Quorvane.conf");
    options.programFolder = m_dir.string();
    options.dialogs = &dialogs;
    m_host = std::make_unique<MainWindowHost>(*m_app, options);
    m_host->window().view().CommonDialog1 = &m_chooser;
    m_host->start();
}

void BenchWindow::close() {
    if (m_host) {
        m_host->close();
        m_host.reset();
    }
}

bool BenchWindow::startRun(int logInterval) {
    FrmMain& window = m_host->window();
    auto field = [&](const char* name, const std::string& text) {
        window.findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
    };
    field("txtLogInterval", std::to_string(logInterval));
    field("txtHeatDelay", "86400");
    field("txtHeatTime", "10");
    field("txtHeatLevel", "0");
    window.findChild<QAbstractButton*>("Option1(0)")->setChecked(true);
    window.findChild<QAbstractButton*>("chkHeaterEnabled")->setChecked(true);
    if (!runUntil([&] { return !view().lblInstrumentID->caption().empty(); }, 5000)) {
        return false;
    }
    m_chooser.answer = dataFile();
    m_chooser.answerFilterIndex = 1;
    window.findChild<QAbstractButton*>("cmdNewRun")->click();
    window.findChild<QAbstractButton*>("cmdRun")->click();
    return view().StatusBar1[6]->text() == "Running - Heater OFF";
}

void BenchWindow::finishRun() {
    m_host->window().findChild<QAbstractButton*>("cmdFinish")->click();
}

std::size_t BenchWindow::loggedRecords() const {
    std::ifstream in(dataFile(), std::ios::binary);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) {
        n += line.rfind("# ", 0) == 0 ? 0 : 1;
    }
    return n;
}

void BenchWindow::runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool BenchWindow::runUntil(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) {
        return true;
    }
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (condition() || elapsed.elapsed() >= timeoutMs) {
            loop.quit();
        }
    });
    check.start(20);
    loop.exec();
    return condition();
}

} // namespace quorvane::bench
