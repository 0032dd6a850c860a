#include "RunSteps.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// Room a line edit and a group box keep around their text (frame and margins).
constexpr int kEditMargin = 6;
constexpr int kTitleMargin = 8;

// From the pen position to the last inked column, less the one column of anti-aliasing
// that may be clipped without the caption looking cut: a caption whose trailing bearing is
// cut off still shows whole.
int inkWidth(const QFontMetrics& metrics, const QString& text) {
    return text.isEmpty() ? 0 : metrics.tightBoundingRect(text).right();
}

std::string describe(const QWidget* w, const QString& text, const QString& why) {
    return QStringLiteral("%1 \"%2\": %3").arg(w->objectName(), text, why).toStdString();
}

// Why the text of a widget is not drawn whole in its place; empty when it is.
std::string misfit(const QWidget* w) {
    const QFontMetrics metrics(w->font());
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QString text = label->text();
        if (text.isEmpty() || label->textFormat() == Qt::RichText) {
            return {};
        }
        const QRect room = label->contentsRect().marginsRemoved(
            QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
        QSize needed(inkWidth(metrics, text), metrics.height());
        if (label->wordWrap()) {
            needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, text)
                         .size();
        }
        if (needed.width() > room.width() || needed.height() > room.height()) {
            return describe(w, text,
                            QStringLiteral("needs %1x%2, has %3x%4")
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(room.width())
                                .arg(room.height()));
        }
        return {};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        // The text's room is what the style leaves beside the indicator or inside the frame.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool push = qobject_cast<const QPushButton*>(w) != nullptr;
        const bool check = qobject_cast<const QCheckBox*>(w) != nullptr;
        const QStyle::SubElement element = push    ? QStyle::SE_PushButtonContents
                                           : check ? QStyle::SE_CheckBoxContents
                                                   : QStyle::SE_RadioButtonContents;
        const QRect room = button->style()->subElementRect(element, &option, button);
        const QStringList lines = button->text().split(u'\n');
        int widest = 0;
        for (const QString& line : lines) {
            widest = std::max(widest, inkWidth(metrics, line));
        }
        const int high = static_cast<int>(lines.size()) * metrics.height();
        if (widest > room.width() || high > room.height()) {
            return describe(w, button->text(),
                            QStringLiteral("needs %1x%2, has %3x%4")
                                .arg(widest)
                                .arg(high)
                                .arg(room.width())
                                .arg(room.height()));
        }
        return {};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        const int wide = metrics.horizontalAdvance(edit->text()) + kEditMargin;
        if (wide > edit->width()) {
            return describe(w, edit->text(),
                            QStringLiteral("needs width %1, has %2").arg(wide).arg(edit->width()));
        }
        return {};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        const int wide = inkWidth(metrics, group->title()) + kTitleMargin;
        if (!group->title().isEmpty() && wide > group->width()) {
            return describe(w, group->title(),
                            QStringLiteral("needs width %1, has %2").arg(wide).arg(group->width()));
        }
    }
    return {};
}

// Every caption and value of the window that does not fit its place.
std::vector<std::string> misfits(QWidget& window) {
    std::vector<std::string> out;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        // Hidden ones (other tab pages, the tab row's scroll buttons) are not drawn now.
        if (!w->isVisible()) {
            continue;
        }
        std::string why = misfit(w);
        if (!why.empty()) {
            out.push_back(std::move(why));
        }
    }
    return out;
}

// Pictures of the window during a run, for looking at: scripts/run-screenshots.sh sets
// QUORVANE_SCREENSHOT_DIR to the folder that receives them.
class WindowPictures {
public:
    explicit WindowPictures(E2eRig& rig) : m_rig(rig) {
        if (const char* folder = std::getenv("QUORVANE_SCREENSHOT_DIR"); folder && *folder) {
            m_folder = folder;
            std::filesystem::create_directories(m_folder);
        }
    }

    // With the given tab in front: every text fits, and the picture when one is wanted.
    void take(const std::string& name, int tab) {
        QWidget& window = m_rig.host->window();
        m_rig.host->window().tabs()->setCurrentIndex(tab);
        E2eRig::run(100);
        EXPECT_EQ(misfits(window), std::vector<std::string>{}) << name;
        if (m_folder.empty()) {
            return;
        }
        const std::string file = m_folder + "/" + name + ".png";
        EXPECT_TRUE(window.grab().save(QString::fromStdString(file), "PNG")) << file;
        std::printf("%s\n", file.c_str());
    }

private:
    E2eRig& m_rig;
    std::string m_folder;
};

constexpr int kComputedData = 0;
constexpr int kLoggedData = 1;
constexpr int kSerialLineIn = 2;
constexpr int kEvents = 3;

TEST(WindowDuringARun, EveryCaptionAndValueFitsItsPlace) {
    E2eRig rig;
    WindowPictures pictures(rig);
    RunParameters run;
    run.heatDelay = 1;
    run.heatTime = 6;
    ASSERT_TRUE(startLoggingRun(rig, run));
    pictures.take("0-running-events", kEvents);
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return rig.view().StatusBar1[6]->text() == "Running - Heater ON"; }, 3000));
    ASSERT_TRUE(E2eRig::runUntil([&] { return dataLines(dataFile(rig)).size() >= 2; }, 3000));
    pictures.take("1-heating-computed-data", kComputedData);
    pictures.take("2-heating-logged-data", kLoggedData);
    pictures.take("3-heating-serial-line-in", kSerialLineIn);
    pictures.take("4-heating-events", kEvents);
    finishLoggingRun(rig, 600);
    pictures.take("5-finished-computed-data", kComputedData);
}

} // namespace
} // namespace quorvane::e2e
