#include "logging/OutputFileDialog.h"
#include "platform/Failure.h"
#include "shell/FrmAbout.h"
#include "shell/QtAppInfo.h"
#include "shell/QtFileChooser.h"
#include "shell/QtSettingsStore.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;

TEST(SettingsStore, RoundTripBySectionAndKey) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("Quorvane/Quorvane.conf").toStdString();
    {
        QtSettingsStore store(path);
        EXPECT_EQ(store.read("Settings", "LogInterval", "10"), "10"); // default
        store.write("Settings", "LogInterval", "30");
        store.write("Settings", "DefaultPath", "/home/operator/data/");
        store.write("Settings", "SerialSettings", "9600,N,8,1");
        store.write("Settings", "Empty", "");
        store.write("Ports", "COM2", "/dev/ttyUSB0");
    }
    QtSettingsStore again(path);
    EXPECT_EQ(again.read("Settings", "LogInterval", "10"), "30");
    EXPECT_EQ(again.read("Settings", "DefaultPath", ""), "/home/operator/data/");
    EXPECT_EQ(again.read("Settings", "SerialSettings", ""), "9600,N,8,1");
    EXPECT_EQ(again.read("Settings", "Empty", "x"), "");
    EXPECT_EQ(again.read("Ports", "COM2", ""), "/dev/ttyUSB0");
    EXPECT_EQ(again.read("Ports", "LogInterval", "none"), "none"); // sections apart

    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ini = file.readAll();
    EXPECT_TRUE(ini.contains("[Settings]"));
    EXPECT_TRUE(ini.contains("[Ports]"));
    EXPECT_TRUE(ini.contains("LogInterval=30"));
}

TEST(SettingsStore, HandWrittenListValueReadsBackAsItsText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("q.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nSerialSettings=9600,N,8,1\n");
    file.close();
    QtSettingsStore store(path.toStdString());
    EXPECT_EQ(store.read("Settings", "SerialSettings", ""), "9600,N,8,1");
}

TEST(SettingsStore, UnwritableStoreThrowsFailure) {
    QTemporaryDir dir;
    // A file where the store's folder should be: even root cannot create the store there.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QtSettingsStore store(dir.filePath("blocker/Quorvane.conf").toStdString());
    try {
        store.write("Settings", "LogInterval", "30");
        ADD_FAILURE() << "write did not fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), QtSettingsStore::kAccessError);
        EXPECT_NE(failure.description().find("blocker"), std::string::npos);
    }
}

TEST(SettingsStore, DefaultFileIsThePerUserQuorvaneConf) {
    QtSettingsStore store;
    EXPECT_NE(store.fileName().find("Quorvane/Quorvane.conf"), std::string::npos);
}

TEST(AppInfo, TitleFolderVersion) {
    QTemporaryDir dir;
    QtAppInfo app(dir.filePath("lock").toStdString());
    EXPECT_EQ(app.title(), "Quorvane");
    EXPECT_EQ(app.programFolder(), QCoreApplication::applicationDirPath().toStdString());
    const Version v = app.version();
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(v.revision, 6);
}

TEST(AppInfo, SecondHolderOfTheLockSeesAnotherInstance) {
    QTemporaryDir dir;
    const std::string lock = dir.filePath("quorvane.lock").toStdString();
    auto first = std::make_unique<QtAppInfo>(lock);
    EXPECT_FALSE(first->isAnotherInstanceRunning());
    EXPECT_FALSE(first->isAnotherInstanceRunning()); // asked again: still the only one
    QtAppInfo second(lock);
    EXPECT_TRUE(second.isAnotherInstanceRunning());
    first.reset(); // the first one ends: the lock is free again
    QtAppInfo third(lock);
    EXPECT_FALSE(third.isAnotherInstanceRunning());
}

namespace {

// Sets an environment variable (or unsets it, with nothing) for the life of the object.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~EnvironmentScope() { set(m_old); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string homeOfTheUser() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? entry->pw_dir : "";
}

} // namespace

// The guard's lock is the user's own: in the runtime folder that only the user can write,
// whatever the temporary folder, so that another start with another TMPDIR is refused and
// nobody else can take the name first.
TEST(AppInfo, TheLockIsInTheUsersRuntimeFolderWhateverTheTemporaryFolder) {
    QTemporaryDir runtime;
    ASSERT_EQ(::chmod(runtime.path().toLocal8Bit().constData(), 0700), 0);
    QTemporaryDir tmpA;
    QTemporaryDir tmpB;
    EnvironmentScope xdg("XDG_RUNTIME_DIR", runtime.path().toStdString());
    std::unique_ptr<QtAppInfo> first;
    std::string firstPath;
    {
        EnvironmentScope tmp("TMPDIR", tmpA.path().toStdString());
        firstPath = QtAppInfo::defaultLockPath();
        first = std::make_unique<QtAppInfo>();
        EXPECT_FALSE(first->isAnotherInstanceRunning());
    }
    EXPECT_EQ(firstPath.rfind(runtime.path().toStdString() + "/", 0), 0u) << firstPath;
    EnvironmentScope tmp("TMPDIR", tmpB.path().toStdString());
    EXPECT_EQ(QtAppInfo::defaultLockPath(), firstPath);
    QtAppInfo second;
    EXPECT_TRUE(second.isAnotherInstanceRunning());
}

// Without a runtime folder of the user's own (none set, or one that others can write), the
// lock goes into the user's home folder, never into a folder everybody shares.
TEST(AppInfo, WithoutAPrivateRuntimeFolderTheLockIsInTheUsersHome) {
    const std::string home = homeOfTheUser();
    ASSERT_FALSE(home.empty());
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(shared.path().toLocal8Bit().constData(), 01777), 0);
    const std::optional<std::string> runtimes[] = {std::nullopt, shared.path().toStdString(),
                                                   std::string("relative/run")};
    for (const auto& runtime : runtimes) {
        SCOPED_TRACE(runtime.value_or("(unset)"));
        EnvironmentScope xdg("XDG_RUNTIME_DIR", runtime);
        EnvironmentScope tmp("TMPDIR", shared.path().toStdString());
        const std::string path = QtAppInfo::defaultLockPath();
        EXPECT_EQ(path.rfind(home + "/", 0), 0u) << path;
    }
}

namespace {

// Answers the file dialog that `chooser` opens next.
void answerDialog(QtFileChooser& chooser, std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, [&chooser, answer] {
        QFileDialog* dialog = chooser.openDialog();
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

FileChooserRequest outputRequest(const std::string& folder, int filterIndex) {
    FileChooserRequest request;
    request.title = "Set Output File";
    request.filters = {{"log files (*.log)", "*.log"},
                       {"txt files (*.txt) ", "*.txt"},
                       {"All files (*.*)", "*.*"}};
    request.filterIndex = filterIndex;
    request.initialFolder = folder;
    request.initialFileName = folder + "*.txt";
    request.confirmOverwrite = true;
    request.confirmCreate = true;
    return request;
}

} // namespace

TEST(FileChooser, SaveDialogSetUpFromTheRequestAndTheChosenPath) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    QtFileChooser chooser;
    QString title, filter, directory;
    QStringList filters;
    bool save = false;
    answerDialog(chooser, [&](QFileDialog& d) {
        title = d.windowTitle();
        filters = d.nameFilters();
        filter = d.selectedNameFilter();
        directory = d.directory().absolutePath();
        save = d.acceptMode() == QFileDialog::AcceptSave;
        d.findChild<QLineEdit*>("fileNameEdit")->setText("run1.txt");
        static_cast<QDialog&>(d).accept(); // as the Save button does
    });
    const auto chosen = chooser.choose(outputRequest(folder, 2));
    EXPECT_EQ(title, "Set Output File");
    EXPECT_EQ(filters, QStringList({"log files (*.log)", "txt files (*.txt)", "All files (*.*)"}));
    EXPECT_EQ(filter, "txt files (*.txt)");
    EXPECT_EQ(directory, dir.path());
    EXPECT_TRUE(save);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder + "run1.txt");
    EXPECT_EQ(chooser.filterIndex(), 2);
    EXPECT_EQ(chooser.openDialog(), nullptr);
}

// The data log chooser starts on the filter its stored index gives: "*.*" for any index
// other than 1 and 2 (0 is the default of a new installation).
TEST(FileChooser, OutputChooserStartsOnTheFilterOfTheStoredIndex) {
    const std::pair<std::int16_t, const char*> cases[] = {{0, "All files (*.*)"},
                                                          {1, "log files (*.log)"},
                                                          {2, "txt files (*.txt)"},
                                                          {3, "All files (*.*)"},
                                                          {9, "All files (*.*)"}};
    QTemporaryDir dir;
    for (const auto& [index, expected] : cases) {
        SCOPED_TRACE(index);
        QtFileChooser chooser;
        QString filter;
        answerDialog(chooser, [&](QFileDialog& d) {
            filter = d.selectedNameFilter();
            d.reject();
        });
        chooser.choose(OutputFileDialog::requestFor(
            OutputFile{dir.path().toStdString() + "/", "old.log", index}));
        EXPECT_EQ(filter, QString::fromLatin1(expected));
    }
}

TEST(FileChooser, CancelGivesNoPath) {
    QTemporaryDir dir;
    QtFileChooser chooser;
    answerDialog(chooser, [](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(chooser.choose(outputRequest(dir.path().toStdString() + "/", 1)).has_value());
    EXPECT_EQ(chooser.filterIndex(), 1);
}

TEST(AboutBox, LoadSetsCaptionsAndTextsAndOneInstanceComesToTheFront) {
    QTemporaryDir dir;
    QtAppInfo app(dir.filePath("lock").toStdString());
    FrmAbout* about = FrmAbout::showAbout(app);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(FrmAbout::instance(), about);
    EXPECT_EQ(about->windowTitle(), "About Quorvane");
    EXPECT_EQ(about->findChild<QLabel*>("lblTitle")->text(), "Title: Quorvane");
    EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Vsn: 1.0.6");
    EXPECT_TRUE(about->findChild<QLabel*>("lblTitle")->font().bold());
    EXPECT_TRUE(about->findChild<QLabel*>("lblCopyright")->font().bold());
    EXPECT_TRUE(about->findChild<QLabel*>("Label1")->font().bold());
    EXPECT_EQ(about->findChild<QGroupBox*>("Frame2")->title(), "Terms of Use");
    EXPECT_EQ(about->findChild<QGroupBox*>("Frame1")->title(), "Additional  Licensing Information");
    auto* terms = about->findChild<QLabel*>("lblTermsOfUse");
    EXPECT_FALSE(terms->font().bold());
    EXPECT_EQ(terms->text().count(u'\n'), 7);
    EXPECT_EQ(FrmAbout::termsOfUse().split(QStringLiteral("\r\n")).size(), 8);
    const QStringList credits = FrmAbout::credits().split(QStringLiteral("\r\n"));
    EXPECT_EQ(credits.count(QString()), 1); // two blocks
    EXPECT_TRUE(FrmAbout::credits().contains("LGPL"));
    EXPECT_FALSE(about->findChild<QLabel*>("Label5")->font().bold());
    EXPECT_TRUE(about->findChildren<QPushButton*>().isEmpty());

    EXPECT_EQ(FrmAbout::showAbout(app), about); // open: only brought to the front

    about->close(); // unloaded
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(FrmAbout::instance(), nullptr);
    FrmAbout* again = FrmAbout::showAbout(app);
    EXPECT_EQ(again->findChild<QLabel*>("lblVersion")->text(), "Vsn: 1.0.6");
    again->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
