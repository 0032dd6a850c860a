#pragma once

#include "platform/Dialogs.h"

namespace quorvane {

// The decoder reports on standard error; nothing here shows a box.
class NullDialogs : public Dialogs {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    void beep() override {}
    bool isMessageOpen() const override { return false; }
};

} // namespace quorvane
