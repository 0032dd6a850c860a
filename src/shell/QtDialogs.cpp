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

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace quorvane
