#pragma once

#include "formatter/Formatter.h"
#include "platform/MainView.h"
#include "run/RunParameters.h"
#include "run/RunReset.h"

namespace quorvane {

// The four run parameter fields while the operator edits them: highlighted while focused,
// every edit abandons a started run, and the value is checked when the field is left.
class ParameterEntry {
public:
    ParameterEntry(MainView& view, Formatter& fieldFormatter, RunReset& reset);

    void gotFocus(RunField field);
    void changed(RunField field);
    // True when the value was accepted (and taken over by its timer).
    bool lostFocus(RunField field);

private:
    MainView& m_view;
    Formatter& m_formatter;
    RunReset& m_reset;
};

} // namespace quorvane
