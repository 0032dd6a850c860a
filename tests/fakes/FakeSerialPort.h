#pragma once

#include "platform/Failure.h"
#include "platform/SerialPort.h"

#include <optional>
#include <vector>

namespace quorvane::fakes {

// Records what was written and hands over scripted input. Failures are injected by setting
// the optional Failure members.
class FakeSerialPort : public SerialPort {
public:
    bool isOpen() const override { return m_open; }
    void open() override {
        ++m_opens;
        if (failOpen) {
            throw *failOpen;
        }
        m_open = true;
    }
    void close() override {
        ++m_closes;
        m_open = false;
    }
    void setPortNumber(int port) override {
        if (failSetPort) {
            throw *failSetPort;
        }
        m_port = port;
    }
    int portNumber() const override { return m_port; }
    void setSettings(const std::string& settings) override {
        if (failSetSettings) {
            throw *failSetSettings;
        }
        m_settings = settings;
    }
    std::string settings() const override { return m_settings; }
    void write(const std::string& text) override {
        if (failWrite) {
            throw *failWrite;
        }
        if (!m_open) {
            throw Failure(8005, "Port not open");
        }
        m_writes.push_back(text);
        m_written += text;
    }
    std::string readInput() override {
        if (!m_open) {
            throw Failure(8018, "Port not open");
        }
        std::string out;
        out.swap(m_input);
        return out;
    }
    void onLost(std::function<void(const std::string&)> reaction) override {
        m_lost = std::move(reaction);
    }

    // Test side.
    void receive(const std::string& bytes) { m_input += bytes; }
    void loseDevice(const std::string& description) {
        m_open = false;
        if (m_lost) {
            m_lost(description);
        }
    }
    const std::string& written() const { return m_written; }
    const std::vector<std::string>& writes() const { return m_writes; }
    void clearWritten() {
        m_written.clear();
        m_writes.clear();
    }
    int opens() const { return m_opens; }
    int closes() const { return m_closes; }
    const std::string& pendingInput() const { return m_input; }

    std::optional<Failure> failOpen;
    std::optional<Failure> failSetPort;
    std::optional<Failure> failSetSettings;
    std::optional<Failure> failWrite;

private:
    bool m_open = false;
    int m_port = 2;
    std::string m_settings = "9600,N,8,1";
    std::string m_input;
    std::string m_written;
    std::vector<std::string> m_writes;
    int m_opens = 0;
    int m_closes = 0;
    std::function<void(const std::string&)> m_lost;
};

} // namespace quorvane::fakes
