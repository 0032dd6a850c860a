#pragma once

#include "platform/Dialogs.h"

namespace quorvane {

// Readers report bad lines themselves; the program's decoder shows no box here.
class NullDialogs : public Dialogs {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    void beep() override {}
    bool isMessageOpen() const override { return false; }
};

} // namespace quorvane
