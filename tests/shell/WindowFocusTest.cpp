#include "fakes/FakeFileChooser.h"
#include "shell/MainWindowHost.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

using namespace quorvane;

namespace {

// The whole window with its owner, COM2 on a pseudo-terminal that nobody answers, and real
// message boxes, which the test closes.
class WindowFocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[256] = {};
        int slave = -1;
        ASSERT_EQ(::openpty(&m_master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        const QString conf = m_dir.filePath(QStringLiteral("Quorvane.conf"));
        QFile file(conf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Ports]\nCOM2=" + QByteArray(name) + "\n");
        file.close();
        m_app = std::make_unique<QtAppInfo>(m_dir.filePath(QStringLiteral("lock")).toStdString());
        MainWindowHost::Options options;
        options.settingsFile = conf.toStdString();
        options.programFolder = m_dir.path().toStdString();
        m_host = std::make_unique<MainWindowHost>(*m_app, options);
        m_host->window().view().CommonDialog1 = &m_chooser;
        m_host->start();
        QApplication::setActiveWindow(&window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        ASSERT_EQ(status(), "Waiting");
        closeBoxesAsTheyOpen();
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

    FrmMain& window() { return m_host->window(); }
    template <typename T = QWidget> T* control(const char* name) {
        return window().findChild<T*>(QString::fromLatin1(name));
    }
    std::string status() { return window().view().StatusBar1[6]->text(); }

    // Everything a stray key press could change in the run.
    std::string runLook() {
        std::string look =
            status() + "|" +
            (control<QCheckBox>("chkHeaterEnabled")->isChecked() ? "heater allowed"
                                                                 : "heater not allowed");
        for (const char* name : {"cmdNewRun", "cmdRun", "cmdResume", "cmdFinish"}) {
            look += std::string("|") + name + (control(name)->isEnabled() ? "+" : "-");
        }
        for (const char* name : {"lblElapsedTime", "lblHeatDelayRemaining"}) {
            look += "|" + control<QLabel>(name)->text().toStdString();
        }
        return look;
    }

    // Closes the message boxes that open from now on, keeping their texts. The window gets
    // its activation back a moment later, as the window manager gives it.
    void closeBoxesAsTheyOpen() {
        auto* closer = new QTimer(&window());
        QObject::connect(closer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_boxes.push_back(box->text().toStdString());
                box->button(QMessageBox::Ok)->click();
                QTimer::singleShot(20, &window(),
                                   [this] { QApplication::setActiveWindow(&window()); });
            }
        });
        closer->start(20);
    }

    QTemporaryDir m_dir;
    int m_master = -1;
    std::unique_ptr<QtAppInfo> m_app;
    fakes::FakeFileChooser m_chooser;
    std::unique_ptr<MainWindowHost> m_host;
    std::vector<std::string> m_boxes;
};

// A state change that disables the control with the focus leaves the focus on the window
// (no control) where the state keeps it, so no key press can change the run; states that
// place the focus place it on their own button.
TEST_F(WindowFocusTest, DisablingTheFocusedControlLeavesNoControlAKeyCouldWorkOn) {
    struct Case {
        std::int16_t from;
        const char* focused;
        std::int16_t to;
        bool heatCycleComplete;
        const char* expected; // "" = the window itself
    };
    const Case cases[] = {
        {3, "cmdFinish", 5, false, ""}, // Finish: Space again must not tick the heater box
        {4, "cmdFinish", 5, false, ""},
        {3, "cmdFinish", 5, true, ""},
        {1, "cmdRun", 5, false, ""},
        {1, "cmdRun", 0, false, ""},
        {5, "cmdResume", 0, true, ""},
        {4, "cmdFinish", 0, false, ""},
        {5, "cmdResume", 1, true, "cmdRun"},
        {3, "cmdFinish", 1, false, "cmdRun"},
        {1, "cmdRun", 3, false, "cmdFinish"},
        {5, "cmdResume", 3, true, "cmdFinish"},
        {0, "cmdNewRun", 3, false, "cmdFinish"},
        {1, "chkHeaterEnabled", 3, false, "cmdFinish"},
        {1, "Option1(1)", 3, false, "cmdFinish"},
        {5, "Option1(0)", 3, true, "cmdFinish"},
        {1, "txtLogInterval", 3, false, "cmdFinish"},
        {5, "txtHeatLevel", 4, false, "cmdFinish"},
    };
    RunController& run = m_host->controller().run();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " " + c.focused + " -> " + std::to_string(c.to));
        m_host->controller().flags().heatCycleComplete = c.heatCycleComplete;
        run.setGuiState(c.from);
        QWidget* focused = control(c.focused);
        focused->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), focused);

        run.setGuiState(c.to);

        QWidget* expected = *c.expected ? control(c.expected) : &window();
        EXPECT_EQ(QApplication::focusWidget(), expected);
        if (expected == &window()) {
            const std::string before = runLook();
            for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
                QTest::keyClick(QApplication::focusWidget(), key);
            }
            EXPECT_EQ(runLook(), before);
        }
        EXPECT_TRUE(m_boxes.empty());
    }
}

// The operator's own keys: Space on Finish, then Space and Enter again.
TEST_F(WindowFocusTest, KeysAfterFinishKeepTheFinishedRun) {
    auto* heater = control<QCheckBox>("chkHeaterEnabled");
    heater->setChecked(true);
    m_chooser.answer = m_dir.filePath(QStringLiteral("run.log")).toStdString();
    control<QLineEdit>("txtHeatDelay")->setText(QStringLiteral("3600"));
    control<QPushButton>("cmdNewRun")->click();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // Start Run has the focus
    ASSERT_EQ(status(), "Running - Heater OFF");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // Finish has the focus
    ASSERT_EQ(status(), "Waiting");
    const std::string finished = runLook();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_TRUE(heater->isChecked());
    EXPECT_EQ(runLook(), finished);
    EXPECT_EQ(QApplication::focusWidget(), &window());
    EXPECT_TRUE(m_boxes.empty());
}

// A refused value: after the message the field has the focus with its whole text selected,
// so what the operator types next replaces it.
TEST_F(WindowFocusTest, RefusedValueIsSelectedWhenTheFocusComesBack) {
    struct Case {
        const char* field;
        const char* refused;
        const char* message;
    };
    const Case cases[] = {
        {"txtLogInterval", "99",
         "Log Interval must be a positive integer seconds between 0 and 64"},
        {"txtHeatDelay", "86401",
         "Heat Delay must be a positive integer seconds between 0 and 86400"},
        {"txtHeatTime", "-1", "HeatTime must be a positive integer seconds between 0 and 86400"},
        {"txtHeatLevel", "1.5", "Heat level must be a positive integer seconds between 0 and 200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        m_boxes.clear();
        auto* field = control<QLineEdit>(c.field);
        field->setFocus(Qt::TabFocusReason); // selects the whole text
        QTest::keyClicks(field, QString::fromLatin1(c.refused));
        QTest::keyClick(field, Qt::Key_Tab); // leaving the field checks it

        ASSERT_TRUE(
            QTest::qWaitFor([&] { return field->hasFocus() && field->hasSelectedText(); }, 2000));
        EXPECT_EQ(m_boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(field->selectedText(), QString::fromLatin1(c.refused));
        EXPECT_EQ(field->palette().color(QPalette::Base), QColor(255, 224, 192));
        QTest::keyClicks(field, QStringLiteral("7"));
        EXPECT_EQ(field->text(), QStringLiteral("7"));
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::qWait(50);
        EXPECT_EQ(m_boxes.size(), 1u); // 7 is accepted
        EXPECT_FALSE(field->hasFocus());
    }
}

} // namespace
