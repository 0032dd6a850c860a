#pragma once

#include "instrument/SerialMenu.h"

#include <functional>
#include <optional>
#include <string>

namespace quorvane {

class Dialogs;
class EventLog;
struct MainView;

// Applies the serial settings held in status bar panels 1 to 5 to the port, and writes
// the panels from the serial menus.
class SerialConfigurator {
public:
    SerialConfigurator(MainView& view, EventLog& eventLog, Dialogs& dialogs);

    // The text a menu item writes into its panel; nullopt for an index the menu lacks.
    static std::optional<std::string> menuText(SerialMenu menu, int index);

    // A menu click: writes the panel (if the index is known), then reconfigures the port.
    void menuClicked(SerialMenu menu, int index);

    // Closes the port if open, applies port number and settings from the panels, opens it.
    void configureSerialPort();

    // Panels 2 to 5 joined by commas, untrimmed: «9600,N,8,1».
    std::string settingsString() const;

    // Runs as soon as the port has been opened, before anything is logged.
    void onOpened(std::function<void()> reaction) { m_opened = std::move(reaction); }

private:
    int portNumberFromPanel() const;

    MainView& m_view;
    EventLog& m_eventLog;
    Dialogs& m_dialogs;
    std::function<void()> m_opened;
};

} // namespace quorvane
