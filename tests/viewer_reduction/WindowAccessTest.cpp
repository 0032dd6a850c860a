#include "ReductionFixture.h"
#include "logging/SystemClock.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/FitMarkers.h"
#include "viewer/reduction/ProbeProfileDialog.h"
#include "viewer/reduction/ReductionPanel.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>
#include <set>

namespace quorvane::test {
namespace {

// The real window as quorvane-view builds it, showing the simulated run, active.
class WindowAccessTest : public ReductionFixture {
protected:
    void SetUp() override {
        ReductionFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        m_window = std::make_unique<ViewerWindow>(m_clock);
        m_attachment = new ReductionAttachment(*m_window, m_settings.path());
        m_window->resize(1500, 1000);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        m_window->openFile(filePath());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_attachment->controller().pending(); }, 5000));
    }
    QDockWidget* dock(const QString& title) const {
        for (QDockWidget* d : m_window->findChildren<QDockWidget*>()) {
            if (d->windowTitle() == title) {
                return d;
            }
        }
        return nullptr;
    }

    SystemClock m_clock;
    QTemporaryDir m_settings;
    std::unique_ptr<ViewerWindow> m_window;
    ReductionAttachment* m_attachment = nullptr;
};

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Every control a person can reach is named for a screen reader, and no two fields share a
// name.
void expectNamed(QWidget& top, const char* where) {
    std::set<QString> fieldNames;
    int controls = 0;
    for (QWidget* w : top.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&top)) {
            continue;
        }
        const bool field =
            qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractSpinBox*>(w->parentWidget()) &&
             !qobject_cast<QComboBox*>(w->parentWidget()));
        // What the keyboard reaches, and the plots (which a screen reader shows too).
        const bool control =
            qobject_cast<QCustomPlot*>(w) ||
            (w->focusPolicy() != Qt::NoFocus &&
             (field || qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w)));
        if (!control) {
            continue;
        }
        ++controls;
        const QString name = accessibleName(w);
        EXPECT_FALSE(name.trimmed().isEmpty())
            << where << ": a " << w->metaObject()->className() << " without a name ("
            << w->objectName().toStdString() << ")";
        if (field) {
            EXPECT_TRUE(fieldNames.insert(name).second)
                << where << ": two fields named \"" << name.toStdString() << "\"";
        }
    }
    EXPECT_GT(controls, 5) << where;
}

TEST_F(WindowAccessTest, EveryControlHasANameOfItsOwn) {
    expectNamed(*m_window, "window");
    const analysis::ProbeProfileStore store(m_settings.path());
    ProbeProfileDialog dialog(store, m_attachment->profileToEdit());
    dialog.show();
    expectNamed(dialog, "profile dialog");
}

TEST_F(WindowAccessTest, TabLeavesTheResultsTable) {
    QTableWidget& table = m_attachment->panel().table();
    EXPECT_FALSE(table.tabKeyNavigation());
    table.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.hasFocus(); }, 2000));
    QTest::keyClick(&table, Qt::Key_Tab);
    EXPECT_FALSE(table.hasFocus());
    EXPECT_NE(QApplication::focusWidget(), nullptr);
    table.setFocus();
    QTest::keyClick(&table, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(table.hasFocus());
}

// The read-out is in sight while the panel is: not a tab behind it.
TEST_F(WindowAccessTest, TheReadoutIsInSightBesideThePanel) {
    QDockWidget* readout = dock(QStringLiteral("Read-out"));
    ASSERT_NE(readout, nullptr);
    QDockWidget* reduction = &m_attachment->dock();
    EXPECT_FALSE(m_window->tabifiedDockWidgets(reduction).contains(readout));
    EXPECT_FALSE(m_window->tabifiedDockWidgets(readout).contains(reduction));
    QTest::qWait(50);
    EXPECT_FALSE(readout->visibleRegion().isEmpty());
    EXPECT_FALSE(reduction->visibleRegion().isEmpty());
    EXPECT_GT(m_window->plot().width(), 500) << "the plot keeps its room";
}

// A window's label stays whole when the window is cut by the edge of the view.
TEST_F(WindowAccessTest, AFitLabelIsNeverCutByTheEdge) {
    FitMarkers& marks = m_attachment->markers();
    const double from = *marks.handleKey(FitMarkers::Handle::HeatingFrom);
    const double to = *marks.handleKey(FitMarkers::Handle::HeatingTo);
    m_window->plot().setFollow(false);
    m_window->plot().setVisibleRange(from + 0.8 * (to - from), to + 900.0);
    QCustomPlot& plot = m_window->plot().customPlot();
    plot.replot();
    const QCPItemText& label = marks.heatingLabel();
    ASSERT_TRUE(label.visible());
    const QRect area = plot.axisRect()->rect();
    EXPECT_GE(label.topLeft->pixelPosition().x(), area.left());
    EXPECT_LE(label.bottomRight->pixelPosition().x(), area.right());
    EXPECT_GE(label.position->key(), from + 0.8 * (to - from)) << "over what is in view of it";
}

// A profile made for an instrument that has none starts with no tilt measured.
TEST_F(WindowAccessTest, ANewProfileHasNoTiltMeasured) {
    ASSERT_TRUE(m_attachment->controller().profile().isDefault);
    const analysis::ProbeProfile profile = m_attachment->profileToEdit();
    EXPECT_EQ(profile.serial, QStringLiteral("0417"));
    EXPECT_FALSE(profile.isDefault);
    EXPECT_FALSE(profile.tiltEntered);
    const analysis::ProbeProfileStore store(m_settings.path());
    ProbeProfileDialog dialog(store, profile);
    EXPECT_FALSE(dialog.tiltEnteredBox().isChecked());
    EXPECT_FALSE(dialog.tiltSpin().isEnabled());
    ASSERT_TRUE(dialog.save());
    QString error;
    const auto saved = analysis::ProbeProfileStore::readFile(store.pathFor("0417"), error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_FALSE(saved->tiltEntered);
}

} // namespace
} // namespace quorvane::test
