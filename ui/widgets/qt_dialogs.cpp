#include "ui/widgets/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>

#include "ui/widgets/engine_application.h"

namespace cadenzo {

namespace {

// "Name (*.ext)|*.EXT" as a Qt filter that matches either case.
QString QtFilter(const std::string& filter) {
    const QString text = QString::fromStdString(filter);
    const QString name = text.section('|', 0, 0).section('(', 0, 0).trimmed();
    const QString pattern = text.section('|', 1, 1);
    return QString("%1 (%2 %3)").arg(name, pattern.toLower(), pattern.toUpper());
}

void Report(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace

void QtDialogs::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    if (unattended_) {
        Report(text, caption);
        return;
    }
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    RunModal(box, true);
    if (unattended_) Report(text, caption);  // closed by the stop request
}

bool QtDialogs::AskYesNo(const std::string& text, const std::string& caption) {
    if (unattended_) return false;
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return RunModal(box, true) == QMessageBox::Yes && !unattended_;
}

std::optional<std::string> QtDialogs::OpenFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

// The save dialog asks before it replaces a file (Qt's default).
std::optional<std::string> QtDialogs::SaveFileDialog(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

std::optional<std::string> QtDialogs::RunFileDialog(const FileDialogRequest& request, bool save) {
    if (unattended_) return std::nullopt;
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Both dialogs take a name that does not exist: the blend file's load
    // reports a missing file itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (RunModal(dialog, false) != QDialog::Accepted || unattended_ || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void QtDialogs::Unattend() {
    unattended_ = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->isModal()) dialog->done(QDialog::Rejected);
    }
}

}  // namespace cadenzo
