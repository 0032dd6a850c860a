#pragma once

#include "platform/SerialPort.h"

#include <QObject>
#include <QSerialPort>
#include <optional>

namespace quorvane {

class SettingsStore;

// The serial line on QSerialPort. Port n opens the device named in the settings store under
// "Ports"/"COM<n>" (read only), else /dev/ttyS<n-1>. A device that goes away (adapter
// unplugged, far end of a pseudo-terminal closed) closes the port at the first read error
// and is reported once through onLost; otherwise the toolkit would keep signalling the same
// error at full speed.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    // Failure numbers of the port's own checks; the toolkit's failures carry its error value.
    static constexpr int kInvalidSettings = 380;
    static constexpr int kInvalidPortNumber = 8002;
    static constexpr int kPortAlreadyOpen = 8005;
    static constexpr int kPortNotOpen = QSerialPort::NotOpenError;

    // The line settings of «baud,parity,data,stop».
    struct LineSettings {
        qint32 baudRate = 9600;
        QSerialPort::Parity parity = QSerialPort::NoParity;
        QSerialPort::DataBits dataBits = QSerialPort::Data8;
        QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    };

    // portPaths: where the device paths of the port numbers are looked up; may be null.
    explicit QtSerialPort(SettingsStore* portPaths = nullptr, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool isOpen() const override { return m_port.isOpen(); }
    void open() override;
    void close() override;
    void setPortNumber(int port) override;
    int portNumber() const override { return m_portNumber; }
    void setSettings(const std::string& settings) override;
    std::string settings() const override { return m_settings; }
    void write(const std::string& text) override;
    std::string readInput() override;

    void onLost(std::function<void(const std::string& description)> reaction) override {
        m_lost = std::move(reaction);
    }

    // Closes for good: the window that owns the port has been unloaded, and a handler still
    // under way must not reopen it.
    void retire();

    // The device path port n opens.
    std::string devicePath(int port) const;
    // Parses «baud,parity,data,stop»; nothing when the text is not of that form.
    static std::optional<LineSettings> parseSettings(const std::string& settings);

private:
    void handleError(QSerialPort::SerialPortError error);
    void applyLineSettings();
    [[noreturn]] void failFromPort();

    SettingsStore* m_portPaths;
    QSerialPort m_port;
    int m_portNumber = 2;
    std::string m_settings = "9600,N,8,1";
    LineSettings m_line;
    std::function<void(const std::string&)> m_lost;
    std::string m_heldInput;
    bool m_retired = false;
};

} // namespace quorvane
