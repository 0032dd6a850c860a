// A close asked for while a modal window (a message box, the file chooser) blocks the main
// window is remembered and carried out when that window closes: heater off, settings saved.
// The real window offscreen, COM2 on a pseudo-terminal, real boxes and the real chooser.
#include "shell/MainWindowHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

using namespace quorvane;

namespace {

class CloseRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[256] = {};
        int slave = -1;
        ASSERT_EQ(::openpty(&m_master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_conf = m_dir.filePath(QStringLiteral("Quorvane.conf"));
        QFile file(m_conf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Ports]\nCOM2=" + QByteArray(name) + "\n");
        file.close();
        m_app = std::make_unique<QtAppInfo>(m_dir.filePath(QStringLiteral("lock")).toStdString());
        MainWindowHost::Options options;
        options.settingsFile = m_conf.toStdString();
        options.programFolder = m_dir.path().toStdString();
        m_host = std::make_unique<MainWindowHost>(*m_app, options);
        m_host->start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host->window()));
        received(); // what the start-up sent
    }
    void TearDown() override {
        if (m_host) {
            m_host->close();
        }
        m_host.reset();
        if (m_master >= 0) {
            ::close(m_master);
        }
    }

    // What reached the instrument's end of the line since the last call.
    std::string received() {
        std::string out;
        char buffer[256];
        for (ssize_t n; (n = ::read(m_master, buffer, sizeof buffer)) > 0;) {
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }
    std::string settings() {
        QFile file(m_conf);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir m_dir;
    QString m_conf;
    int m_master = -1;
    std::unique_ptr<QtAppInfo> m_app;
    std::unique_ptr<MainWindowHost> m_host;
};

TEST_F(CloseRequestTest, NotBlockedTheWindowClosesAtOnce) {
    m_host->closeRequests().requestClose();
    EXPECT_TRUE(m_host->isClosed());
    EXPECT_EQ(received(), "!P00 ");
}

TEST_F(CloseRequestTest, MadeWhileABoxIsOpenItIsCarriedOutWhenTheBoxCloses) {
    bool closedWhileOpen = true;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        m_host->closeRequests().requestClose();
        QTest::qWait(100);
        closedWhileOpen = m_host->isClosed();
        EXPECT_TRUE(m_host->closeRequests().isPending());
        box->button(QMessageBox::Ok)->click();
    });
    m_host->controller().deferredDialogs().showMessage("A box", "Quorvane");
    m_host->controller().deferredDialogs().showQueuedNow();
    EXPECT_FALSE(closedWhileOpen);
    EXPECT_TRUE(m_host->isClosed());
    EXPECT_FALSE(m_host->window().isVisible());
    EXPECT_EQ(received(), "!P00 ");
    EXPECT_NE(settings().find("MainWidth="), std::string::npos) << settings();
}

TEST_F(CloseRequestTest, MadeWhileTheFileChooserIsOpenItIsCarriedOutWhenTheChooserCloses) {
    m_host->window().view().CommonDialog1 = &m_host->window().fileChooser();
    bool closedWhileOpen = true;
    QTimer::singleShot(0, [&] {
        QFileDialog* chooser = m_host->window().fileChooser().openDialog();
        ASSERT_NE(chooser, nullptr);
        m_host->closeRequests().requestClose();
        QTest::qWait(100);
        closedWhileOpen = m_host->isClosed();
        chooser->reject();
    });
    QTest::mouseClick(m_host->window().findChild<QPushButton*>("cmdNewRun"), Qt::LeftButton);
    EXPECT_FALSE(closedWhileOpen);
    EXPECT_TRUE(m_host->isClosed());
    const std::string sent = received();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent.substr(sent.size() - 5), "!P00 ");
}

} // namespace
