// What the engine asks of the main window. Real: the Qt main window; tests: a
// recorder. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cadenzo {

class Display {
public:
    virtual ~Display() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // Interval of the timer that sends the delayed drum note-offs.
    virtual void SetDrumTimerInterval(uint32_t ms) = 0;
    // Redraws the areas named by the mask's bits.
    virtual void RefreshDisplay(uint32_t mask) = 0;
    // The terca label's text and the colour (0xRRGGBB) of the shape behind it.
    virtual void ShowTerca(std::string_view text, uint32_t rgb) = 0;
};

}  // namespace cadenzo
