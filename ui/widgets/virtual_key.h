// Qt key events as the key map's virtual-key codes on a US layout. Works
// from Qt::Key and the modifiers alone (the offscreen platform gives no
// scan codes): a shifted symbol maps to the key that carries it ('!' is the
// '1' key), keypad keys to their keypad codes. Main thread only.
#pragma once

#include <Qt>

#include <cstdint>

namespace cadenzo {

inline constexpr uint16_t kUnknownKey = 0;

// The code of the key, or kUnknownKey for a key the US layout does not have
// (its key events still reach the key map, which only monitors them).
uint16_t VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace cadenzo
