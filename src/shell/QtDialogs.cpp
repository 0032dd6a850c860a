#include "shell/QtDialogs.h"

#include "shell/QtStrings.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvane {

void QtDialogs::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    toQString(title), toDisplayLines(text), QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    ++m_open;
    box.exec();
    --m_open;
}

bool QtDialogs::isMessageOpen() const {
    // Any modal window counts (the file chooser too): a box is never stacked on one.
    return m_open > 0 || QApplication::activeModalWidget() != nullptr;
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace quorvane
