#include "viewer/reduction/ProbeProfileDialog.h"
#include "analysis/ProbeProfileStore.h"
#include "viewer/ReductionAttachment.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

analysis::ProbeProfile serial0417() {
    analysis::ProbeProfile p;
    p.serial = QStringLiteral("0417");
    return p;
}

TEST(ProbeProfileDialogTest, RefusesWhatTheReductionCannotUseAndSaysWhy) {
    struct Case {
        const char* name;
        std::function<void(ProbeProfileDialog&)> edit;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"depths not increasing", [](auto& d) { d.depthSpin(3).setValue(0.9); },
         "sensor depths must increase from TTop to TBot"},
        {"negative depth", [](auto& d) { d.depthSpin(0).setValue(-0.1); },
         "sensor depths must be numbers of 0 m or more"},
        {"no heater calibration", [](auto& d) { d.heaterSpin().setValue(0.0); },
         "heater calibration must be above 0"},
        {"no radius", [](auto& d) { d.radiusMmSpin().setValue(0.0); }, "radius must be above 0"},
        {"tilt of 95 degrees", [](auto& d) { d.tiltSpin().setValue(95.0); },
         "tilt must be from 0 to under 90 degrees"},
        {"no serial", [](auto& d) { d.serialEdit().setText(QString()); },
         "the instrument serial is empty"},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const analysis::ProbeProfileStore store(folder.path());
        ProbeProfileDialog dialog(store, serial0417());
        EXPECT_TRUE(dialog.saveEnabled()) << c.name;
        dialog.tiltEnteredBox().setChecked(true);
        c.edit(dialog);
        EXPECT_FALSE(dialog.saveEnabled()) << c.name;
        EXPECT_TRUE(dialog.messageLabel().text().startsWith(QStringLiteral("Cannot save: ")))
            << c.name;
        EXPECT_TRUE(dialog.messageLabel().text().contains(QString::fromUtf8(c.says)))
            << c.name << ": " << dialog.messageLabel().text().toStdString();
        EXPECT_FALSE(dialog.save()) << c.name;
        EXPECT_FALSE(QFile::exists(store.pathFor(QStringLiteral("0417")))) << c.name;
    }
}

TEST(ProbeProfileDialogTest, SavesAndReadsBackUnderAnyLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir folder;
    const analysis::ProbeProfileStore store(folder.path());
    ProbeProfileDialog dialog(store, serial0417());
    const std::array<double, 5> depths{0.0, 0.4, 0.9, 1.3, 1.8};
    for (int i = 0; i < 5; ++i) {
        dialog.depthSpin(i).setValue(depths[static_cast<std::size_t>(i)]);
    }
    dialog.heaterSpin().setValue(0.3);
    dialog.radiusMmSpin().setValue(0.8);
    dialog.tiltEnteredBox().setChecked(true);
    dialog.tiltSpin().setValue(7.5);
    dialog.alphaSpin().setValue(1.6);
    dialog.heaterUncertaintySpin().setValue(2.5);
    dialog.depthUncertaintySpin().setValue(0.01);
    ASSERT_TRUE(dialog.save()) << dialog.messageLabel().text().toStdString();
    QLocale::setDefault(before);

    QString error;
    const auto read = analysis::ProbeProfileStore::readFile(
        folder.path() + QStringLiteral("/probes/0417.json"), error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(read->serial, QStringLiteral("0417"));
    EXPECT_EQ(read->sensorDepthsM, depths);
    EXPECT_DOUBLE_EQ(read->heaterWPerMPerLevel, 0.3);
    EXPECT_DOUBLE_EQ(read->radiusM, 0.0008);
    EXPECT_DOUBLE_EQ(read->tiltDeg, 7.5);
    EXPECT_TRUE(read->tiltEntered);
    EXPECT_FALSE(read->isDefault);
    EXPECT_DOUBLE_EQ(read->alpha, 1.6);
    EXPECT_EQ(read->heaterCalibrationUncertainty, 0.025);
    EXPECT_EQ(read->depthUncertaintyM, 0.01);

    // Opened again, the dialog shows what was saved; without a measured tilt none is written.
    ProbeProfileDialog again(store, *read);
    EXPECT_DOUBLE_EQ(again.depthSpin(2).value(), 0.9);
    EXPECT_EQ(again.tiltSpin().text(), QStringLiteral("7.5 °"));
    again.tiltEnteredBox().setChecked(false);
    // An uncertainty taken back is none, not zero; alpha stays as it was.
    again.heaterUncertaintySpin().setValue(0.0);
    EXPECT_EQ(again.heaterUncertaintySpin().text(), QStringLiteral("not given"));
    ASSERT_TRUE(again.save());
    const auto untilted = analysis::ProbeProfileStore::readFile(store.pathFor("0417"), error);
    ASSERT_TRUE(untilted);
    EXPECT_FALSE(untilted->tiltEntered);
    EXPECT_DOUBLE_EQ(untilted->alpha, 1.6);
    EXPECT_FALSE(untilted->heaterCalibrationUncertainty);
    EXPECT_EQ(untilted->depthUncertaintyM, 0.01);
}

// The serial names the profile's file: a serial that is no plain file name is refused, by
// the dialog with the reason and by the store, and nothing is written anywhere.
TEST(ProbeProfileDialogTest, ASerialThatIsNoPlainFileNameIsRefused) {
    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("config/Quorvane"));
    const analysis::ProbeProfileStore store(folder);
    for (const char* serial :
         {"../../evil", "../evil", "a/b", "..", ".hidden", "x y", "0417.json"}) {
        analysis::ProbeProfile p = serial0417();
        p.serial = QString::fromLatin1(serial);
        ProbeProfileDialog dialog(store, p);
        EXPECT_FALSE(dialog.saveEnabled()) << serial;
        EXPECT_TRUE(dialog.messageLabel().text().contains(QStringLiteral("cannot name a file")))
            << serial << ": " << dialog.messageLabel().text().toStdString();
        EXPECT_FALSE(dialog.messageLabel().text().contains(QStringLiteral("Saved as")));
        EXPECT_FALSE(dialog.save()) << serial;
        QString error;
        EXPECT_FALSE(store.save(p, error)) << serial;
        EXPECT_FALSE(analysis::ProbeProfileStore::isPlainSerial(p.serial)) << serial;
    }
    EXPECT_FALSE(analysis::ProbeProfileStore::isPlainSerial(QString(65, QLatin1Char('7'))));
    EXPECT_TRUE(analysis::ProbeProfileStore::isPlainSerial(QString(64, QLatin1Char('7'))));
    EXPECT_TRUE(analysis::ProbeProfileStore::isPlainSerial(QStringLiteral("HF-2_0417")));
    // Nothing was written, in the probes folder or above it.
    QDirIterator files(top.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

// A decimal comma typed into a field is a decimal point, under any locale.
TEST(ProbeProfileDialogTest, ADecimalCommaIsAPoint) {
    QTemporaryDir folder;
    const analysis::ProbeProfileStore store(folder.path());
    ProbeProfileDialog dialog(store, serial0417());
    QLineEdit* depth = dialog.depthSpin(1).findChild<QLineEdit*>();
    ASSERT_NE(depth, nullptr);
    depth->selectAll();
    QTest::keyClicks(depth, QStringLiteral("0,45"));
    QTest::keyClick(depth, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(dialog.depthSpin(1).value(), 0.45);
}

TEST(ProbeProfileDialogTest, TheViewersSettingsFolderFollowsXdgConfigHome) {
    QTemporaryDir home;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    EXPECT_EQ(ReductionAttachment::settingsFolder(), home.path() + QStringLiteral("/Quorvane"));
    qputenv("XDG_CONFIG_HOME", before);
}

} // namespace
} // namespace quorvane::test
