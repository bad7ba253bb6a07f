// Message boxes and file dialogs shown with Qt, each run by RunModal: a
// message box holds the MIDI dispatch while it is open. Main thread only.
#pragma once

#include "services/dialogs.h"

namespace cadenzo {

// Once unattended, a box's caption and text go to the standard error
// stream instead of the screen, so the run can end without a person.
class QtDialogs final : public Dialogs {
public:
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void Unattend() override;

private:
    std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save);

    bool unattended_ = false;
};

}  // namespace cadenzo
