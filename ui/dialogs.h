// The message boxes the program shows. Real: Qt; tests: a recorder.
// Main thread only.
#pragma once

#include <string>

namespace cadenzo {

enum class MessageIcon { None, Error };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with only an OK button; returns when it is closed.
    virtual void MessageBox(const std::string& text, const std::string& caption,
                            MessageIcon icon = MessageIcon::None) = 0;
};

}  // namespace cadenzo
