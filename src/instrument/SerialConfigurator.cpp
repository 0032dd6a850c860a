#include "instrument/SerialConfigurator.h"

#include "logging/EventLog.h"
#include "platform/Failure.h"
#include "platform/MainView.h"
#include "util/ErrorText.h"

#include <array>

namespace quorvane {

namespace {

// Error number for a port the program itself cannot express (COM0, COM10 and above).
constexpr int kInvalidPortNumber = 8002;

std::string panel(const MainView& view, int number) {
    return view.StatusBar1[static_cast<std::size_t>(number)]->text();
}

} // namespace

SerialConfigurator::SerialConfigurator(MainView& view, EventLog& eventLog, Dialogs& dialogs)
    : m_view(view), m_eventLog(eventLog), m_dialogs(dialogs) {
    m_view.MSComm1->onLost([this](const std::string& description) {
        m_eventLog.logEvent("Serial port lost: " + panel(m_view, 1) + " " + description);
    });
}

std::optional<std::string> SerialConfigurator::menuText(SerialMenu menu, int index) {
    static const std::array<const char*, 4> kPorts = {"COM1", "COM2", "COM3", "COM4"};
    static const std::array<const char*, 7> kBauds = {"28800", "19200", "14400", "9600",
                                                      "4800",  "2400",  "1200"};
    static const std::array<const char*, 5> kParity = {"O", "E", "M", "S", "N"};
    static const std::array<const char*, 2> kData = {"7", "8"};
    static const std::array<const char*, 2> kStop = {"1", "2"};
    auto pick = [index](const auto& items) -> std::optional<std::string> {
        if (index < 1 || index > static_cast<int>(items.size())) {
            return std::nullopt;
        }
        return std::string(items[static_cast<std::size_t>(index - 1)]);
    };
    switch (menu) {
    case SerialMenu::Port:
        return pick(kPorts);
    case SerialMenu::BaudRate:
        return pick(kBauds);
    case SerialMenu::Parity:
        return pick(kParity);
    case SerialMenu::DataBits:
        return pick(kData);
    case SerialMenu::StopBits:
        return pick(kStop);
    }
    return std::nullopt;
}

void SerialConfigurator::menuClicked(SerialMenu menu, int index) {
    if (const std::optional<std::string> text = menuText(menu, index)) {
        m_view.StatusBar1[static_cast<std::size_t>(menu)]->setText(*text);
    }
    configureSerialPort();
}

std::string SerialConfigurator::settingsString() const {
    return panel(m_view, 2) + "," + panel(m_view, 3) + "," + panel(m_view, 4) + "," +
           panel(m_view, 5);
}

int SerialConfigurator::portNumberFromPanel() const {
    const std::string name = panel(m_view, 1);
    if (name.empty() || name.back() < '0' || name.back() > '9') {
        throw Failure(errors::kTypeMismatch, "Type mismatch");
    }
    const int number = name.back() - '0';
    if (number < 1) {
        throw Failure(kInvalidPortNumber, "Invalid port number");
    }
    return number;
}

void SerialConfigurator::configureSerialPort() {
    SerialPort& port = *m_view.MSComm1;
    try {
        if (port.isOpen()) {
            port.close();
        }
        port.setPortNumber(portNumberFromPanel());
        port.setSettings(settingsString());
        port.open();
        if (m_opened) {
            m_opened();
        }
        m_eventLog.logEvent("Configured Serial Port: " + panel(m_view, 1) + " " + settingsString());
    } catch (const std::exception& error) {
        m_dialogs.showMessage("Error setting serial port:" + panel(m_view, 1) + "\r\n" +
                                  errorLine(error),
                              "Quorvane");
    }
}

} // namespace quorvane
