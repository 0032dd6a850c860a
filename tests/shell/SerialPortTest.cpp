#include "platform/Failure.h"
#include "shell/QtSerialPort.h"
#include "shell/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace quorvane;

namespace {

void runEventsFor(int ms);

// A pseudo-terminal: the port opens the slave, the test plays the instrument on the master.
class PseudoTerminal {
public:
    PseudoTerminal() {
        char name[256] = {};
        int slave = -1;
        if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
            return;
        }
        m_slavePath = name;
        ::close(slave); // the port opens it by name
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal() { closeMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return m_master >= 0; }
    const std::string& slavePath() const { return m_slavePath; }

    void send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    // What the port sent, waiting up to the deadline for `count` bytes.
    std::string receive(std::size_t count, int timeoutMs = 5000) {
        std::string got;
        QDeadlineTimer deadline(timeoutMs);
        while (got.size() < count && !deadline.hasExpired()) {
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, static_cast<std::size_t>(n));
            } else {
                runEventsFor(5);
            }
        }
        return got;
    }
    void closeMaster() {
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};

// Keeps processing events until the condition holds or the time is up, sleeping in the
// event loop between events (a ticking timer wakes it to look again).
template <typename Condition> bool waitFor(Condition condition, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(10);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Runs the event loop for a while, idle unless something keeps it busy.
void runEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(pty.ok()) << "no pseudo-terminal: " << std::strerror(errno);
        store.write("Ports", "COM3", pty.slavePath());
        port.setPortNumber(3);
        port.setSettings("9600,N,8,1");
    }

    QTemporaryDir dir;
    QtSettingsStore store{dir.filePath("Quorvane.conf").toStdString()};
    PseudoTerminal pty;
    QtSerialPort port{&store};
};

} // namespace

TEST(SerialPortSettings, StartsAtPortTwoWithTheDefaultLine) {
    QtSerialPort port;
    EXPECT_EQ(port.portNumber(), 2);
    EXPECT_EQ(port.settings(), "9600,N,8,1");
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.devicePath(2), "/dev/ttyS1");
}

TEST(SerialPortSettings, ParsesEveryLetterAndWidth) {
    struct Case {
        const char* text;
        qint32 baud;
        QSerialPort::Parity parity;
        QSerialPort::DataBits data;
        QSerialPort::StopBits stop;
    };
    const Case cases[] = {
        {"9600,N,8,1", 9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop},
        {"28800,O,7,2", 28800, QSerialPort::OddParity, QSerialPort::Data7, QSerialPort::TwoStop},
        {"1200,E,5,1", 1200, QSerialPort::EvenParity, QSerialPort::Data5, QSerialPort::OneStop},
        {"14400,M,6,1", 14400, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop},
        {"4800,S,8,2", 4800, QSerialPort::SpaceParity, QSerialPort::Data8, QSerialPort::TwoStop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto line = QtSerialPort::parseSettings(c.text);
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->baudRate, c.baud);
        EXPECT_EQ(line->parity, c.parity);
        EXPECT_EQ(line->dataBits, c.data);
        EXPECT_EQ(line->stopBits, c.stop);
    }
}

TEST(SerialPortSettings, BadSettingsFailAndKeepTheOldOnes) {
    const char* bad[] = {"9600,X,8,1", "abc,N,8,1",         "9600,N,9,1",  "9600,N,8,3",
                         "0,N,8,1",    "-9600,N,8,1",       " 9600,N,8,1", "9600,N,8,1 ",
                         "9600,n,8,1", "9600,N,4,1",        "9600,N,8",    "9600,N,8,1,1",
                         "",           "99999999999,N,8,1", "9600,NN,8,1", "9600,N,8,1.5"};
    QtSerialPort port;
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        try {
            port.setSettings(text);
            ADD_FAILURE() << "accepted";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), QtSerialPort::kInvalidSettings);
            EXPECT_FALSE(failure.description().empty());
        }
        EXPECT_EQ(port.settings(), "9600,N,8,1");
    }
}

TEST(SerialPortSettings, PortNumbersOutsideOneToNineFail) {
    QtSerialPort port;
    for (int n : {0, 10, -1, 32767}) {
        SCOPED_TRACE(n);
        try {
            port.setPortNumber(n);
            ADD_FAILURE() << "accepted";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), QtSerialPort::kInvalidPortNumber);
        }
        EXPECT_EQ(port.portNumber(), 2);
    }
    port.setPortNumber(9);
    EXPECT_EQ(port.portNumber(), 9);
    EXPECT_EQ(port.devicePath(9), "/dev/ttyS8");
}

TEST(SerialPortSettings, AbsentDeviceFailsToOpenWithTheToolkitsError) {
    QTemporaryDir dir;
    QtSettingsStore store(dir.filePath("q.conf").toStdString());
    store.write("Ports", "COM4", dir.filePath("no-such-device").toStdString());
    QtSerialPort port(&store);
    port.setPortNumber(4);
    try {
        port.open();
        ADD_FAILURE() << "opened";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), QSerialPort::DeviceNotFoundError);
        EXPECT_FALSE(failure.description().empty());
    }
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPortSettings, ClosedPortRefusesToWriteAndRead) {
    QtSerialPort port;
    EXPECT_THROW(port.write("T"), Failure);
    EXPECT_THROW(port.readInput(), Failure);
}

TEST_F(SerialPortTest, OpensTheDeviceNamedInTheSettingsAndTalks) {
    EXPECT_EQ(port.devicePath(3), pty.slavePath());
    port.open();
    ASSERT_TRUE(port.isOpen());

    port.write("#HFN");
    EXPECT_EQ(pty.receive(4), "#HFN");

    // Bytes of every value arrive as they were sent.
    const std::string record = std::string(":\x03T 0012 FFEE\r\n") + "\xb0\xff";
    pty.send(record);
    std::string got;
    EXPECT_TRUE(waitFor([&] {
        got += port.readInput();
        return got.size() >= record.size();
    }));
    EXPECT_EQ(got, record);
    EXPECT_EQ(port.readInput(), ""); // read input is taken out of the buffer

    // The device path is looked up, never written.
    EXPECT_EQ(store.read("Ports", "COM2", "unset"), "unset");
}

// Bytes that reached the device while no event was handled (the last record before the
// window closes) are read all the same: the read asks the device, not only what the port
// has been told of.
TEST_F(SerialPortTest, ReadTakesWhatWaitsInTheDeviceWithoutAnEventBetween) {
    port.open();
    ASSERT_TRUE(port.isOpen());
    const std::string record = ":\x03T 0001 2A80 0380 1000 1100 1200 1300 1400\r\n";
    pty.send(record);
    ::usleep(30000);
    EXPECT_EQ(port.readInput(), record);
    EXPECT_EQ(port.readInput(), "");
    EXPECT_TRUE(port.isOpen());
}

TEST_F(SerialPortTest, SettingsMayChangeWhileOpenAndPortOnlyWhileClosed) {
    port.open();
    port.setSettings("19200,N,8,2");
    EXPECT_EQ(port.settings(), "19200,N,8,2");
    EXPECT_TRUE(port.isOpen());
    EXPECT_THROW(port.setPortNumber(4), Failure);
    EXPECT_THROW(port.open(), Failure);
    port.close();
    EXPECT_FALSE(port.isOpen());
    port.setPortNumber(4);
    EXPECT_EQ(port.portNumber(), 4);
}

TEST_F(SerialPortTest, LostDeviceClosesThePortOnceAndLeavesTheProcessIdle) {
    std::vector<std::string> losses;
    port.onLost([&](const std::string& description) { losses.push_back(description); });
    port.open();
    pty.closeMaster(); // the far end goes away

    ASSERT_TRUE(waitFor([&] { return !losses.empty(); }));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(losses.front().empty());

    // A second of events: no more reports, and no busy loop on the dead device.
    const double cpuBefore = cpuSeconds();
    runEventsFor(1000);
    EXPECT_LT(cpuSeconds() - cpuBefore, 0.5);
    EXPECT_EQ(losses.size(), 1u);

    // The next open on demand works again, here on a new device.
    PseudoTerminal next;
    ASSERT_TRUE(next.ok());
    store.write("Ports", "COM3", next.slavePath());
    port.open();
    EXPECT_TRUE(port.isOpen());
    port.write("T");
    EXPECT_EQ(next.receive(1), "T");
    port.close();
    EXPECT_EQ(losses.size(), 1u);
}
