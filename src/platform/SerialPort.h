#pragma once

#include <functional>
#include <string>

namespace quorvane {

// The serial line to the instrument. Operations that can fail throw Failure with the
// service's own number and description.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool isOpen() const = 0;
    // Opens with the last port number and settings given.
    virtual void open() = 0;
    virtual void close() = 0;
    // 1 for COM1; given while the port is closed.
    virtual void setPortNumber(int port) = 0;
    virtual int portNumber() const = 0;
    // «baud,parity,data,stop», e.g. «9600,N,8,1».
    virtual void setSettings(const std::string& settings) = 0;
    virtual std::string settings() const = 0;
    // Sends the characters as they are; nothing is added.
    virtual void write(const std::string& text) = 0;
    // The characters received and not yet read, removed from the receive buffer.
    virtual std::string readInput() = 0;

    // Called once when the open port is lost (device gone); the port is then closed.
    virtual void onLost(std::function<void(const std::string& description)> reaction) = 0;
};

} // namespace quorvane
