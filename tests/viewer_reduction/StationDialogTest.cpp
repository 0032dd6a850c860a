#include "viewer/reduction/StationDialog.h"
#include "PenetrationFiles.h"
#include "station/StationFileStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quorvane::test {
namespace {

using StationDialogTest = PenetrationFiles;
using Field = StationDialog::Field;

void fill(StationDialog& dialog, Field field, const QString& text) {
    QLineEdit& edit = dialog.edit(field);
    edit.clear();
    QTest::keyClicks(&edit, text);
}

void clickSave(StationDialog& dialog) {
    QPushButton* save = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
    QTest::mouseClick(save, Qt::LeftButton);
}

// A value that cannot be used is refused with the reason; the dialog stays open and nothing is
// written.
TEST_F(StationDialogTest, RefusesBadValuesWithTheReasonAndStaysOpen) {
    struct Case {
        Field field;
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {Field::Latitude, "95", "latitude 95 is outside -90 to 90"},
        {Field::Longitude, "-181.5", "longitude -181.5 is outside -180 to 180"},
        {Field::WaterDepth, "-20", "water depth -20 m is negative"},
        {Field::TopThermistorDepth, "-0.3", "top thermistor below the sea floor -0.3 m"},
        {Field::Latitude, "north", "latitude \"north\" is not a number"},
        {Field::PenetrationNumber, "2b", "penetration number \"2b\" is not a whole number"},
    };
    for (const Case& c : cases) {
        ReductionController controller(profile());
        load(controller);
        StationDialog dialog(controller);
        dialog.show();
        fill(dialog, Field::Cruise, QStringLiteral("SO-300"));
        fill(dialog, c.field, QString::fromUtf8(c.text));
        clickSave(dialog);
        EXPECT_TRUE(dialog.isVisible()) << c.text;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.text;
        EXPECT_TRUE(dialog.messageLabel().text().contains(QString::fromUtf8(c.reason)))
            << c.text << ": " << dialog.messageLabel().text().toStdString();
        EXPECT_FALSE(QFile::exists(controller.stationFilePath())) << c.text;
        const QString pictures = qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR");
        if (!pictures.isEmpty() && c.field == cases[0].field && c.text == cases[0].text) {
            dialog.grab().save(pictures + QStringLiteral("/reduction-station-dialog.png"));
        }
        // Mended, it is kept.
        fill(dialog, c.field, c.field == Field::PenetrationNumber ? "2" : "10.5");
        clickSave(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.text;
        EXPECT_FALSE(dialog.isVisible()) << c.text;
        QFile::remove(controller.stationFilePath());
    }
}

// What the dialog keeps holds for every penetration of the file (the penetration number for
// the shown one only), or for the shown one only when asked; --analyze reports it.
TEST_F(StationDialogTest, TheDescriptionIsKeptAndReportedWithTheResults) {
    ReductionController controller(profile());
    load(controller);
    controller.choosePenetration(2);
    {
        StationDialog dialog(controller);
        const std::pair<Field, const char*> values[] = {
            {Field::Cruise, "SO-300"},          {Field::Station, "HF-07"},
            {Field::PenetrationNumber, "2"},    {Field::Latitude, "-33,5"},
            {Field::Longitude, "172.25"},       {Field::WaterDepth, "3120"},
            {Field::ProbeType, "violin-bow"},   {Field::ProbeLength, "6"},
            {Field::TopThermistorDepth, "0.9"}, {Field::Comment, "soft mud"},
        };
        for (const auto& [field, text] : values) {
            fill(dialog, field, QString::fromUtf8(text));
        }
        ASSERT_TRUE(dialog.save()) << dialog.messageLabel().text().toStdString();
    }
    const station::StationDescription second = controller.descriptionFor(2);
    EXPECT_EQ(second.latitudeDeg, -33.5); // a decimal comma is a point
    EXPECT_EQ(second.penetrationNumber, 2);
    EXPECT_EQ(second.comment, QStringLiteral("soft mud"));
    EXPECT_EQ(controller.descriptionFor(3).station, QStringLiteral("HF-07"));
    EXPECT_FALSE(controller.descriptionFor(3).penetrationNumber);
    {
        // The third one's own position.
        controller.choosePenetration(3);
        StationDialog dialog(controller);
        EXPECT_EQ(dialog.edit(Field::Latitude).text(), QStringLiteral("-33.5"));
        dialog.ownBox().setChecked(true);
        fill(dialog, Field::Latitude, QStringLiteral("-33.51"));
        ASSERT_TRUE(dialog.save());
    }
    EXPECT_EQ(controller.descriptionFor(3).latitudeDeg, -33.51);
    EXPECT_EQ(controller.descriptionFor(2).latitudeDeg, -33.5);
    const QByteArray third = analyze(3);
    EXPECT_TRUE(third.contains("\"latitude_deg\": -33.51")) << third.toStdString();
    EXPECT_EQ(bytes(controller.jsonFor(3)), third);
    EXPECT_EQ(bytes(controller.jsonFor(2)), analyze(2));
}

} // namespace
} // namespace quorvane::test
