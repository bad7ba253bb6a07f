// Test doubles for the dialogs and the display: they record what was asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/dialogs.h"
#include "services/display.h"
#include "ui/display_text.h"

namespace cadenzo::test {

struct ShownBox {
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool operator==(const ShownBox&) const = default;
};

class RecordingDialogs final : public Dialogs {
public:
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override {
        boxes.push_back({text, caption, icon});
    }
    // File dialogs answer with the scripted path, or cancel when there is none.
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        fileDialogs.push_back(request.title);
        return openAnswer;
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        fileDialogs.push_back(request.title);
        return saveAnswer;
    }
    bool AskYesNo(const std::string& text, const std::string&) override {
        questions.push_back(text);
        return yesAnswer;
    }
    std::vector<ShownBox> boxes;
    std::vector<std::string> questions;    // the yes/no boxes' texts, in order
    bool yesAnswer = false;
    std::vector<std::string> fileDialogs;  // titles, in order
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
};

class RecordingDisplay final : public Display {
public:
    void SetTitle(const std::string& t) override { titles.push_back(t); }
    void SetDrumTimerInterval(uint32_t ms) override { drumIntervals.push_back(ms); }
    void RefreshDisplay(uint32_t mask) override { refreshes.push_back(mask); }
    void SetMasterVolume(uint8_t volume) override { masterVolumes.push_back(volume); }
    void SetMasterTranspose(int32_t semitones) override { masterTransposes.push_back(semitones); }
    void ShowTerca(TercaShown terca) override { tercas.push_back({TercaText(terca), TercaColour(terca)}); }
    void DevicesChanged() override { ++deviceChanges; }
    struct Terca {
        std::string text;
        Rgb colour;
        bool operator==(const Terca&) const = default;
    };
    std::vector<std::string> titles;
    std::vector<uint32_t> drumIntervals;
    std::vector<uint32_t> refreshes;
    std::vector<uint8_t> masterVolumes;
    std::vector<int32_t> masterTransposes;
    std::vector<Terca> tercas;
    int deviceChanges = 0;
};

// A main window that draws nothing and keeps nothing (for measurements,
// where recording would be the work measured).
class SilentDisplay final : public Display {
public:
    void SetTitle(const std::string&) override {}
    void SetDrumTimerInterval(uint32_t) override {}
    void RefreshDisplay(uint32_t) override {}
    void SetMasterVolume(uint8_t) override {}
    void SetMasterTranspose(int32_t) override {}
    void ShowTerca(TercaShown) override {}
    void DevicesChanged() override {}
};

}  // namespace cadenzo::test
