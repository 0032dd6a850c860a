#include "shell/QtSerialPort.h"

#include "platform/Failure.h"
#include "platform/SettingsStore.h"
#include "shell/QtStrings.h"

#include <QTimer>
#include <charconv>
#include <vector>

namespace quorvane {

namespace {

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

// Digits only, no sign or blanks, above zero, within range.
std::optional<qint32> positiveWholeNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    qint32 value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.front() == '-' || value <= 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

QtSerialPort::QtSerialPort(SettingsStore* portPaths, QObject* parent)
    : QObject(parent), m_portPaths(portPaths) {
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort() {
    if (m_port.isOpen()) {
        m_port.close();
    }
}

std::optional<QtSerialPort::LineSettings> QtSerialPort::parseSettings(const std::string& settings) {
    const auto fields = splitFields(settings);
    if (fields.size() != 4) {
        return std::nullopt;
    }
    LineSettings line;
    const auto baud = positiveWholeNumber(fields[0]);
    if (!baud) {
        return std::nullopt;
    }
    line.baudRate = *baud;

    if (fields[1].size() != 1) {
        return std::nullopt;
    }
    switch (fields[1][0]) {
    case 'O':
        line.parity = QSerialPort::OddParity;
        break;
    case 'E':
        line.parity = QSerialPort::EvenParity;
        break;
    case 'M':
        line.parity = QSerialPort::MarkParity;
        break;
    case 'S':
        line.parity = QSerialPort::SpaceParity;
        break;
    case 'N':
        line.parity = QSerialPort::NoParity;
        break;
    default:
        return std::nullopt;
    }

    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8') {
        return std::nullopt;
    }
    line.dataBits = static_cast<QSerialPort::DataBits>(fields[2][0] - '0');

    if (fields[3] == "1") {
        line.stopBits = QSerialPort::OneStop;
    } else if (fields[3] == "2") {
        line.stopBits = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return line;
}

void QtSerialPort::setPortNumber(int port) {
    if (m_port.isOpen()) {
        throw Failure(kPortAlreadyOpen, "Port already open");
    }
    if (port < 1 || port > 9) {
        throw Failure(kInvalidPortNumber, "Invalid port number: " + std::to_string(port));
    }
    m_portNumber = port;
}

void QtSerialPort::setSettings(const std::string& settings) {
    const auto line = parseSettings(settings);
    if (!line) {
        throw Failure(kInvalidSettings, "Invalid line settings: " + settings);
    }
    if (m_port.isOpen()) {
        // The device may refuse what the text allows; then the old settings stay.
        const LineSettings previous = m_line;
        m_line = *line;
        try {
            applyLineSettings();
        } catch (const Failure&) {
            m_line = previous;
            m_port.setBaudRate(m_line.baudRate);
            m_port.setParity(m_line.parity);
            m_port.setDataBits(m_line.dataBits);
            m_port.setStopBits(m_line.stopBits);
            m_port.clearError();
            throw;
        }
    }
    m_settings = settings;
    m_line = *line;
}

std::string QtSerialPort::devicePath(int port) const {
    const std::string fallback = "/dev/ttyS" + std::to_string(port - 1);
    if (!m_portPaths) {
        return fallback;
    }
    const std::string stored = m_portPaths->read("Ports", "COM" + std::to_string(port), "");
    return stored.empty() ? fallback : stored;
}

void QtSerialPort::applyLineSettings() {
    if (!m_port.setBaudRate(m_line.baudRate) || !m_port.setParity(m_line.parity) ||
        !m_port.setDataBits(m_line.dataBits) || !m_port.setStopBits(m_line.stopBits) ||
        !m_port.setFlowControl(QSerialPort::NoFlowControl)) {
        failFromPort();
    }
}

void QtSerialPort::failFromPort() {
    const int number = static_cast<int>(m_port.error());
    const std::string description = toStdString(m_port.errorString());
    m_port.clearError();
    throw Failure(number, description);
}

void QtSerialPort::retire() {
    m_retired = true;
    close();
    m_heldInput.clear();
}

void QtSerialPort::open() {
    if (m_retired) {
        throw Failure(kPortNotOpen, "Port closed with the window");
    }
    if (m_port.isOpen()) {
        throw Failure(kPortAlreadyOpen, "Port already open");
    }
    if (m_portNumber < 1 || m_portNumber > 9) {
        throw Failure(kInvalidPortNumber, "Invalid port number: " + std::to_string(m_portNumber));
    }
    m_port.setPortName(toQString(devicePath(m_portNumber)));
    m_port.setBaudRate(m_line.baudRate);
    m_port.setParity(m_line.parity);
    m_port.setDataBits(m_line.dataBits);
    m_port.setStopBits(m_line.stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    if (!m_port.open(QIODevice::ReadWrite)) {
        failFromPort();
    }
}

void QtSerialPort::close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_port.clearError();
}

void QtSerialPort::write(const std::string& text) {
    if (!m_port.isOpen()) {
        throw Failure(kPortNotOpen, "Port not open");
    }
    const qint64 written = m_port.write(text.data(), static_cast<qint64>(text.size()));
    if (written != static_cast<qint64>(text.size())) {
        failFromPort();
    }
    m_port.flush();
}

std::string QtSerialPort::readInput() {
    // Bytes read before the device went away come first, even with the port closed.
    std::string received;
    received.swap(m_heldInput);
    if (!m_port.isOpen()) {
        if (received.empty()) {
            throw Failure(kPortNotOpen, "Port not open");
        }
        return received;
    }
    // What the device has received and the port has not been told of yet comes too: the
    // last record before the port closes at the end must not be left behind.
    if (!m_port.waitForReadyRead(0) && m_port.error() == QSerialPort::TimeoutError) {
        m_port.clearError(); // nothing was waiting
    }
    if (!m_port.isOpen()) {
        // The device went away just now; what was read before is held.
        received.append(m_heldInput);
        m_heldInput.clear();
        return received;
    }
    const QByteArray more = m_port.readAll();
    received.append(more.constData(), static_cast<std::size_t>(more.size()));
    return received;
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) {
        return;
    }
    if (!m_port.isOpen()) {
        return;
    }
    const std::string description = toStdString(m_port.errorString());
    // Closing discards what the port has read and the poll has not taken yet: keep it, so
    // the last record before an unplug is not lost.
    const QByteArray pending = m_port.readAll();
    m_heldInput.append(pending.constData(), static_cast<std::size_t>(pending.size()));
    // Close at once: the port's read notifier would otherwise fire again straight away.
    m_port.close();
    // The reaction runs from the event loop, not from inside the port's notification, so
    // that it may open the port again or show a message.
    QTimer::singleShot(0, this, [this, description] {
        if (m_lost) {
            m_lost(description);
        }
    });
}

} // namespace quorvane
