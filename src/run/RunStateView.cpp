#include "run/RunStateView.h"

#include "run/AppTitle.h"

#include <string>

namespace quorvane {

namespace {

void setButton(Button& button, bool enabled, Color background) {
    button.setEnabled(enabled);
    button.setBackground(background);
}

void setButton(Button& button, bool enabled, Color background, const char* caption) {
    setButton(button, enabled, background);
    button.setCaption(caption);
}

} // namespace

RunStateView::RunStateView(MainView& view, const RunFlags& flags, Dialogs& dialogs,
                           const AppInfo& app)
    : m_view(view), m_flags(flags), m_dialogs(dialogs), m_app(app) {}

void RunStateView::enableRunParameters(bool enabled) {
    const Color fieldBackground = enabled ? colors::white : colors::face;
    m_view.Frame1->setEnabled(enabled);
    m_view.txtLogInterval->setBackground(fieldBackground);
    m_view.txtHeatDelay->setBackground(fieldBackground);
    m_view.txtHeatLevel->setBackground(fieldBackground);
    m_view.txtHeatTime->setBackground(fieldBackground);
    m_view.Option1[0]->setEnabled(enabled);
    m_view.Option1[1]->setEnabled(enabled);
    m_view.chkHeaterEnabled->setEnabled(enabled);
}

void RunStateView::showPicture(const char* file) {
    // A missing bitmap leaves the panel without its light; the state change goes on.
    try {
        m_view.StatusBar1[6]->setPicture(m_app.programFolder() + "/icons/" + file);
    } catch (...) {
    }
}

void RunStateView::setHeaterOffPending(bool pending) {
    if (pending == m_heaterOffPending) {
        return;
    }
    m_heaterOffPending = pending;
    if (m_shownState) {
        showStatus(*m_shownState);
    }
}

void RunStateView::showStatus(std::int16_t state) {
    m_shownState = state;
    StatusPanel& panel = *m_view.StatusBar1[6];
    const char* text = "Waiting";
    const char* picture = "nolight.bmp";
    switch (state) {
    case kReady:
        text = "Stopped";
        break;
    case kRunning:
        text = "Running - Heater OFF";
        picture = "greenlight.bmp";
        break;
    case kHeating:
        text = "Running - Heater ON";
        picture = "redlight.bmp";
        break;
    default:
        break;
    }
    if (m_heaterOffPending && state != kHeating) {
        // The heater may still be on: the red light, and words that do not say it is on.
        // Appended in place: GCC 12 warns falsely on operator+ of a short string here.
        std::string words(text);
        words.append(state == kRunning ? " pending" : " - Heater OFF pending");
        panel.setText(words);
        showPicture("redlight.bmp");
        return;
    }
    panel.setText(text);
    showPicture(picture);
}

void RunStateView::setGuiState(std::int16_t state) {
    MainView& v = m_view;
    StatusPanel& panel = *v.StatusBar1[6];
    switch (state) {
    case kIdle:
        enableRunParameters(true);
        setButton(*v.cmdNewRun, true, colors::green, "Initialize");
        setButton(*v.cmdRun, false, colors::face);
        setButton(*v.cmdResume, false, colors::face);
        setButton(*v.cmdFinish, false, colors::face, "Finish");
        v.lblElapsedTime->setCaption(std::string());
        v.lblHeatDelayRemaining->setCaption(std::string());
        v.lblHeatTimeRemaining->setCaption(std::string());
        showStatus(kIdle);
        break;
    case kReady:
        enableRunParameters(true);
        setButton(*v.cmdNewRun, true, colors::face, "Initialize");
        setButton(*v.cmdRun, true, colors::green);
        setButton(*v.cmdResume, false, colors::face);
        setButton(*v.cmdFinish, false, colors::face, "Finish");
        v.lblElapsedTime->setCaption("0");
        v.lblHeatDelayRemaining->setCaption(v.txtHeatDelay->text());
        v.lblHeatTimeRemaining->setCaption(v.txtHeatTime->text());
        v.txtLoggedDataDisplay->setText(std::string());
        showStatus(kReady);
        v.cmdRun->setFocus();
        break;
    case kRunning:
        enableRunParameters(false);
        setButton(*v.cmdNewRun, false, colors::face, "Initialize");
        setButton(*v.cmdRun, false, colors::face);
        setButton(*v.cmdResume, false, colors::face);
        setButton(*v.cmdFinish, true, colors::green, "Finish");
        showStatus(kRunning);
        v.cmdFinish->setFocus();
        break;
    case kHeating:
        enableRunParameters(false);
        setButton(*v.cmdNewRun, false, colors::face, "Initialize");
        setButton(*v.cmdRun, false, colors::face);
        setButton(*v.cmdResume, false, colors::face);
        setButton(*v.cmdFinish, true, colors::red, "Finish (heats on)");
        showStatus(kHeating);
        v.cmdFinish->setFocus();
        break;
    case kFinished:
        enableRunParameters(true);
        setButton(*v.cmdNewRun, true, colors::green, "Next Run");
        setButton(*v.cmdRun, false, colors::face);
        if (m_flags.heatCycleComplete) {
            setButton(*v.cmdResume, true, colors::green);
        } else {
            setButton(*v.cmdResume, false, colors::face);
        }
        setButton(*v.cmdFinish, false, colors::face, "Finish");
        showStatus(kFinished);
        break;
    default:
        panel.setText("GUI Error!");
        m_dialogs.showMessage("Un-recoverable error: invalid gui state: " + std::to_string(state),
                              kAppTitle, MessageIcon::Critical);
        break;
    }
}

} // namespace quorvane
