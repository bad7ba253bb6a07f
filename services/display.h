// What the engine asks of the main window. Real: the Qt main window; tests: a
// recorder. Main thread, but for the calls the dispatcher makes (RefreshDisplay,
// SetMasterVolume, SetMasterTranspose, ShowTerca), which may come from an
// input callback or the MIDI engine thread: the real window only marks
// those, and shows them from the state on its own thread's next tick.
#pragma once

#include <cstdint>
#include <string>

#include "services/colours.h"

namespace cadenzo {

// What the terca display shows, as plain values that the window formats:
// the scale's root (pitch class, C = 0) and type, and whether a scan runs.
struct TercaShown {
    uint8_t root;
    uint8_t scaleType;
    bool scanning;
    bool operator==(const TercaShown&) const = default;
};

class Display {
public:
    virtual ~Display() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // Interval of the timer that sends the delayed drum note-offs.
    virtual void SetDrumTimerInterval(uint32_t ms) = 0;
    // Redraws the areas named by the mask's bits.
    virtual void RefreshDisplay(uint32_t mask) = 0;
    // The master volume (0..127) in its label and bar.
    virtual void SetMasterVolume(uint8_t volume) = 0;
    // The master transposition in semitones.
    virtual void SetMasterTranspose(int32_t semitones) = 0;
    // The terca root and scale under "Terca Mode", and the colour behind it.
    virtual void ShowTerca(TercaShown terca) = 0;
    // A device came or went: the device lists, or what is open on a port,
    // changed.
    virtual void DevicesChanged() = 0;
};

}  // namespace cadenzo
