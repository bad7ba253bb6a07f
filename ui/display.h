// What the engine asks of the main window. Real: the Qt main window; tests: a
// recorder. Main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace cadenzo {

class Display {
public:
    virtual ~Display() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // Interval of the timer that sends the delayed drum note-offs.
    virtual void SetDrumTimerInterval(uint32_t ms) = 0;
    // Redraws the areas named by the mask's bits.
    virtual void RefreshDisplay(uint32_t mask) = 0;
};

}  // namespace cadenzo
