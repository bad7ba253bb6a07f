// The Qt message boxes and file dialogs, answered by a timer as a person would.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "ui/widgets/qt_dialogs.h"

namespace cadenzo {
namespace {

class QtDialogBoxes : public test::InTempDir {
protected:
    // Runs `answer` on the dialog once it is modal; closes it after a while
    // if the answer did not, so a refused answer fails instead of hanging.
    template <class Dialog, class Answer>
    void WhenShown(Answer answer) {
        QTimer::singleShot(0, [answer] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) answer(*dialog);
        });
        QTimer::singleShot(2000, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->done(QDialog::Rejected);
        });
    }
    const FileDialogRequest request{"Open Cadenzo Blends File", "Cadenzo Blends (*.cdb)|*.CDB", "cdb"};
    QtDialogs dialogs;
};

TEST_F(QtDialogBoxes, TheOpenDialogTakesANameThatDoesNotExist) {
    WhenShown<QFileDialog>([](QFileDialog& dialog) {
        dialog.selectFile("missing.cdb");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const auto chosen = dialogs.OpenFileDialog(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(std::filesystem::path(*chosen).filename(), "missing.cdb");
}

TEST_F(QtDialogBoxes, OnceUnattendedTheOpenBoxAndEveryLaterOneAnswerAtOnceOnStandardError) {
    WhenShown<QMessageBox>([this](QMessageBox&) { dialogs.Unattend(); });
    testing::internal::CaptureStderr();
    dialogs.MessageBox("Options file not exist!", "Errorr!", MessageIcon::None);
    dialogs.MessageBox("Cannot create file x", "Cadenzo", MessageIcon::None);
    EXPECT_EQ(dialogs.OpenFileDialog(request), std::nullopt);
    const std::string said = testing::internal::GetCapturedStderr();  // Qt may add notes of its own
    EXPECT_NE(said.find("Errorr!: Options file not exist!\nCadenzo: Cannot create file x\n"), std::string::npos) << said;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace cadenzo
