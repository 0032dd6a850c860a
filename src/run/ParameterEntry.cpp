#include "run/ParameterEntry.h"

#include "formatter/FormatterConstants.h"
#include "util/Util.h"

namespace quorvane {

ParameterEntry::ParameterEntry(MainView& view, Formatter& fieldFormatter, RunReset& reset)
    : m_view(view), m_formatter(fieldFormatter), m_reset(reset) {}

void ParameterEntry::gotFocus(RunField field) {
    TextField& control = runFieldControl(m_view, field);
    highlightField(control, true);
    selectAllText(control);
}

void ParameterEntry::changed(RunField) {
    m_reset.resetRun();
}

bool ParameterEntry::lostFocus(RunField field) {
    using namespace modFormatterConstants;
    const RunFieldRule& rule = runFieldRule(field);
    TextField& control = runFieldControl(m_view, field);
    const bool accepted = m_formatter.FormatIntegerOnlyField(
        control, fmtBeep + fmtSetFocus + fmtRequired + fmtShowMessage + fmtCheckRange, 0.0,
        static_cast<double>(rule.maximum), nullptr, std::string(rule.message));
    if (!accepted) {
        return false;
    }
    highlightField(control, false);
    const auto value = wholeNumber(control.text());
    if (!value || *value < 0 || *value > rule.maximum) {
        return true; // the check has vouched for the text; never arm a timer on less
    }
    switch (field) {
    case RunField::LogInterval:
        m_view.tmrLogInterval->setInterval(*value * 1000);
        break;
    case RunField::HeatDelay:
        m_view.tmrHeatDelay->setInterval(static_cast<float>(*value));
        break;
    case RunField::HeatTime:
        m_view.tmrHeatTime->setInterval(static_cast<float>(*value));
        break;
    case RunField::HeatLevel:
        break;
    }
    return true;
}

} // namespace quorvane
