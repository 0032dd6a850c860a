#include "shell/MainWindowHost.h"

#include "instrument/SerialMenu.h"
#include "shell/FrmAbout.h"

#include <QCoreApplication>

namespace quorvane {

// The program's own folder, moved elsewhere (tests keep the event log out of the build).
class MainWindowHost::FolderAppInfo : public AppInfo {
public:
    FolderAppInfo(AppInfo& app, std::string folder) : m_app(app), m_folder(std::move(folder)) {}
    std::string title() const override { return m_app.title(); }
    std::string programFolder() const override { return m_folder; }
    Version version() const override { return m_app.version(); }
    std::string homeFolder() const override { return m_app.homeFolder(); }
    bool isAnotherInstanceRunning() override { return m_app.isAnotherInstanceRunning(); }

private:
    AppInfo& m_app;
    std::string m_folder;
};

namespace {

SerialMenu toSerialMenu(MenuId menu) {
    switch (menu) {
    case MenuId::Port:
        return SerialMenu::Port;
    case MenuId::BaudRate:
        return SerialMenu::BaudRate;
    case MenuId::Parity:
        return SerialMenu::Parity;
    case MenuId::DataBits:
        return SerialMenu::DataBits;
    case MenuId::StopBits:
        return SerialMenu::StopBits;
    }
    return SerialMenu::Port;
}

} // namespace

MainWindowHost::MainWindowHost(QtAppInfo& app, Options options)
    : m_options(std::move(options)),
      m_folderApp(m_options.programFolder.empty()
                      ? nullptr
                      : std::make_unique<FolderAppInfo>(app, m_options.programFolder)),
      m_appInfo(m_folderApp ? m_folderApp.get() : &app), m_settings(m_options.settingsFile),
      m_window(&m_settings) {
    m_boxes.setParent(&m_window);
    Services services;
    services.clock = &m_clock;
    services.files = &m_files;
    services.dialogs = m_options.dialogs ? m_options.dialogs : &m_boxes;
    services.settings = &m_settings;
    services.app = m_appInfo;
    services.events = &m_pump;
    services.recordWatchTimer = &m_recordWatchTimer;
    m_controller = std::make_unique<MainController>(m_window.view(), services);

    m_window.onMenu(
        [this](MenuId menu, int index) { m_controller->menuClicked(toSerialMenu(menu), index); });
    m_window.onUnload([this] {
        m_controller->unload();
        // The watch is the window's too: after the unload it never ticks again.
        m_recordWatchTimer.retire();
    });
    m_window.onAbout([this] { FrmAbout::showAbout(*m_appInfo); });
    m_window.onExit([this] {
        // File > Exit ends the program at once, whatever other window is open.
        close();
        QCoreApplication::quit();
    });
    m_closeRequests = std::make_unique<BlockedCloseRequests>(m_window);
}

MainWindowHost::~MainWindowHost() = default;

void MainWindowHost::start() {
    m_controller->load();
    if (!isClosed()) {
        m_window.show();
    }
}

void MainWindowHost::close() {
    m_window.close();
}

void MainWindowHost::displayLost() {
    if (isClosed()) {
        return;
    }
    m_controller->unloadForLostDisplay();
    // As the close does, but without hiding the window: nothing may wait for the display.
    for (QtTimer* timer : {&m_window.checkSerialInputTimer(), &m_window.oneSecondTimer(),
                           &m_window.logIntervalTimer(), &m_recordWatchTimer}) {
        timer->retire();
    }
    m_window.heatDelayTimer().retire();
    m_window.heatTimeTimer().retire();
    m_window.serialPort().retire();
}

void MainWindowHost::stop() {
    close();
    // Unlike quit(), this also ends the loops of open boxes, and works before exec().
    QCoreApplication::exit(0);
}

} // namespace quorvane
