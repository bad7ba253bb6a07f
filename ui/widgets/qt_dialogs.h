// Message boxes and file dialogs shown with Qt. Main thread only.
#pragma once

#include "services/dialogs.h"

namespace cadenzo {

class QtDialogs final : public Dialogs {
public:
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
};

}  // namespace cadenzo
