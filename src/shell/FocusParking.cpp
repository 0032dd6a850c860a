#include "shell/FocusParking.h"

#include <QWidget>

namespace quorvane {

void FocusParking::beforeDisabling(QWidget* control) {
    QWidget* window = control->window();
    QWidget* focused = window->focusWidget();
    if (focused != nullptr && (focused == control || control->isAncestorOf(focused))) {
        window->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace quorvane
