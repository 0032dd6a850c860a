#include "RunSteps.h"

#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"
#include "support/GermanLocale.h"

#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// The process starts under de_DE.UTF-8 (CTest sets LANG and LC_ALL), so QApplication has
// taken the German locale, decimal comma and all, into the C library.
class WholeRunGermanLocale : public quorvane::testing::UnderGermanLocale<> {};

TEST_F(WholeRunGermanLocale, TemperaturesInTheDataLogAndTheWindowHaveDecimalPoints) {
    E2eRig rig;
    RunParameters run;
    run.logTemperature = true;
    ASSERT_TRUE(startLoggingRun(rig, run));
    E2eRig::run(3200);
    finishLoggingRun(rig, 800);
    EXPECT_TRUE(rig.dialogs.texts().empty()) << rig.dialogs.texts().front();

    // stamp, two spaces, five temperatures "##0.000", the heater column
    static const QRegularExpression dataLine(QStringLiteral(
        "^\\d\\d-[A-Z][a-z]{2}-\\d{4} \\d\\d:\\d\\d:\\d\\d ( -?\\d+\\.\\d{3}){5} 0$"));
    const std::vector<std::string> lines = dataLines(dataFile(rig));
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    ASSERT_GE(lines.size(), 3u);
    ASSERT_EQ(lines.size(), sent.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(dataLine.match(QString::fromStdString(lines[i])).hasMatch()) << lines[i];
        RecordDecoder decoder(rig.dialogs);
        decoder.decode(sent[i]);
        std::string temperatures;
        for (std::size_t c = 0; c < 5; ++c) {
            temperatures += " " + formatTemperature(decoder.temperatureC[c]);
        }
        EXPECT_EQ(lines[i].substr(21, temperatures.size()), temperatures) << lines[i];
    }

    // The window's labels: temperatures "##0.000", resistances and decimals plain digits.
    RecordDecoder last(rig.dialogs);
    last.decode(sent.back());
    static const QRegularExpression temperature(QStringLiteral("^-?\\d+\\.\\d{3}$"));
    static const QRegularExpression digits(QStringLiteral("^-?\\d+$"));
    for (int i = 0; i < 5; ++i) {
        const QString index = QString::number(i);
        const auto* shown =
            rig.control<QLabel>(("lblTemperature(" + index + ")").toLatin1().constData());
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(temperature.match(shown->text()).hasMatch()) << shown->text().toStdString();
        EXPECT_EQ(shown->text().toStdString(),
                  formatTemperature(last.temperatureC[static_cast<std::size_t>(i)]));
        const auto* ohms =
            rig.control<QLabel>(("lblResistance(" + index + ")").toLatin1().constData());
        ASSERT_NE(ohms, nullptr);
        EXPECT_TRUE(digits.match(ohms->text()).hasMatch()) << ohms->text().toStdString();
    }
    for (int i = 0; i < 7; ++i) {
        const auto* decimal =
            rig.control<QLabel>(("lblDec(" + QString::number(i) + ")").toLatin1().constData());
        ASSERT_NE(decimal, nullptr);
        EXPECT_TRUE(digits.match(decimal->text()).hasMatch()) << decimal->text().toStdString();
    }
    EXPECT_NE(rig.events().find("END RUN. Elapsed time:"), std::string::npos);
}

} // namespace
} // namespace quorvane::e2e
