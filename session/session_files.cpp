#include "session/session_files.h"

#include <cstring>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "bank/gig_files.h"
#include "bank/settings_file.h"
#include "bank/setup_save.h"
#include "engine/program_settings.h"
#include "engine/system_state.h"

namespace cadenzo {

void CollectingDialogs::MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    if (collecting_)
        texts_.push_back(text);
    else
        shown_.MessageBox(text, caption, icon);
}

std::optional<std::string> CollectingDialogs::OpenFileDialog(const FileDialogRequest& request) {
    return shown_.OpenFileDialog(request);
}

std::optional<std::string> CollectingDialogs::SaveFileDialog(const FileDialogRequest& request) {
    return shown_.SaveFileDialog(request);
}

void CollectingDialogs::Unattend() { shown_.Unattend(); }

std::vector<std::string> CollectingDialogs::Collected() {
    collecting_ = false;
    return std::move(texts_);
}

std::string OpenProblems(const std::vector<std::string>& boxes) {
    std::string problems;
    for (const std::string& box : boxes) {
        // The boxes of a missing bank or options file say so ("... not exist!").
        if (box.find("not exist!") != std::string::npos) continue;
        problems += (problems.empty() ? "" : " ") + box;
    }
    for (char& c : problems)
        if (c == '\n') c = ' ';
    return problems;
}

std::string SaveSessionFiles(SystemState& s, CollectingDialogs& dialogs) {
    const EngineAccess access(s.Engine);
    dialogs.Collect();
    bool written = false;
    try {
        // A bank file the opening rejected is kept, as at the shutdown.
        const std::string target = BlendFileForShutdown(s.BlendFileName);
        if (target.empty())
            dialogs.MessageBox(std::string("The bank was not saved: ") + kDefaultBlendFile +
                                   " could not be read when the session opened and is kept as it was.",
                               "Cadenzo", MessageIcon::Error);
        const bool bank = !target.empty() && SaveBlendFile(s.Bank, target, dialogs);
        if (bank) {
            SaveNamesFile(target, s.Names, dialogs);
            SaveSetListFile(target, s.Songs, dialogs);
        }
        s.SettingsUnsaved = !SaveSetup(SetupOf(s), dialogs);
        written = bank && !s.SettingsUnsaved;
    } catch (const FileError& e) {
        dialogs.MessageBox(e.what(), "Cadenzo", MessageIcon::Error);
    }
    std::string failed;
    for (const std::string& text : dialogs.Collected()) failed += (failed.empty() ? "" : " ") + text;
    if (failed.empty() && !written) failed = "Not every file was written.";
    return failed;
}

SavedImage::SavedImage() : bank_(std::make_unique<MixBank>()) {}

void SavedImage::Take(const SystemState& s) {
    *bank_ = s.Bank.Bank;
    options_ = s.Options;
    ringAcross_ = ReadShared(s.RingAcross.Enabled);
}

bool SavedImage::Differs(const SystemState& s) const {
    return std::memcmp(bank_.get(), &s.Bank.Bank, sizeof(MixBank)) != 0 ||
           std::memcmp(&options_, &s.Options, sizeof(OptionsRecord)) != 0 ||
           ringAcross_ != ReadShared(s.RingAcross.Enabled);
}

}  // namespace cadenzo
