#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace quorvane {

// Modal message boxes with a single OK button, over the given window. While any modal
// window is open (a box, the file chooser), a box counts as open.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override;
    bool isMessageOpen() const override;

private:
    QWidget* m_parent;
    int m_open = 0;
};

} // namespace quorvane
