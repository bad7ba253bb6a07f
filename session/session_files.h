// What the program does with its files under a session manager, which may
// ask for them while nobody is at the screen: message boxes are kept as
// texts for the answer to the server, the files are written on request into
// the session's folder (the current directory), and what a save would
// write is compared with what the last one wrote. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bank/mix_records.h"
#include "bank/options_record.h"
#include "services/dialogs.h"

namespace cadenzo {

struct SystemState;

// The program's dialogs, but while it collects, a message box is not shown:
// its text is kept instead, and the box counts as closed at once.
class CollectingDialogs final : public Dialogs {
public:
    explicit CollectingDialogs(Dialogs& shown) : shown_(shown) {}

    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    void Unattend() override;

    void Collect() {
        collecting_ = true;
        texts_.clear();
    }
    // Ends the collecting; the texts of the boxes since Collect.
    std::vector<std::string> Collected();

private:
    Dialogs& shown_;
    bool collecting_ = false;
    std::vector<std::string> texts_;
};

// The boxes of an opening that matter to the server: a file that is missing
// is not one (a new session has none yet); a file that is there but could
// not be read is. Joined into one message, or "" when none is left.
std::string OpenProblems(const std::vector<std::string>& boxes);

// Writes the bank into the session's own blend file (unless the opening
// rejected that file: it is kept), the options, the ports file and the
// settings, each replacing its file in one step. Returns "" when all were
// written, else what failed. Takes the engine lock.
std::string SaveSessionFiles(SystemState& s, CollectingDialogs& dialogs);

// What the files hold since the last save or the opening.
class SavedImage {
public:
    SavedImage();
    void Take(const SystemState& s);
    bool Differs(const SystemState& s) const;

private:
    std::unique_ptr<MixBank> bank_;
    OptionsRecord options_{};
    uint8_t ringAcross_ = 0;
};

}  // namespace cadenzo
