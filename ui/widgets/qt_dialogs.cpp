#include "ui/widgets/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace cadenzo {

void QtDialogs::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace cadenzo
