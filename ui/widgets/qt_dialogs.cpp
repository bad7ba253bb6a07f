#include "ui/widgets/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace cadenzo {

namespace {

// "Name (*.ext)|*.EXT" as a Qt filter that matches either case.
QString QtFilter(const std::string& filter) {
    const QString text = QString::fromStdString(filter);
    const QString name = text.section('|', 0, 0).section('(', 0, 0).trimmed();
    const QString pattern = text.section('|', 1, 1);
    return QString("%1 (%2 %3)").arg(name, pattern.toLower(), pattern.toUpper());
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

void QtDialogs::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

std::optional<std::string> QtDialogs::OpenFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

// The save dialog asks before it replaces a file (Qt's default).
std::optional<std::string> QtDialogs::SaveFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

}  // namespace cadenzo
