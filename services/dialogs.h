// The message boxes and file dialogs the program shows. Real: Qt; tests: a
// recorder. Main thread only.
#pragma once

#include <optional>
#include <string>

namespace cadenzo {

enum class MessageIcon { None, Error };

// A file-open or file-save dialog. The filter is "Name (*.ext)|*.EXT";
// read-only boxes are hidden, the current directory is left as it is, and
// the save dialog asks before it overwrites a file.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExtension;  // added to a typed name without one
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with only an OK button; returns when it is closed.
    virtual void MessageBox(const std::string& text, const std::string& caption,
                            MessageIcon icon = MessageIcon::None) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest&) { return std::nullopt; }
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest&) { return std::nullopt; }
    // A modal box with Yes and No; true for Yes. No is its default.
    virtual bool AskYesNo(const std::string&, const std::string&) { return false; }
    // Nobody is at the screen any more (the system asked the program to
    // stop): every box and dialog that is open, and every one asked for
    // from now on, is answered at once with its default (OK, Cancel).
    virtual void Unattend() {}
};

// The application's display of a raised error: its message in a box with the
// program's caption and no icon.
inline void ShowException(Dialogs& dialogs, const std::string& message) { dialogs.MessageBox(message, "Cadenzo"); }

}  // namespace cadenzo
