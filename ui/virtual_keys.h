// The virtual-key codes the key map uses, as on a US layout.
#pragma once

#include <cstdint>

namespace cadenzo::vk {

inline constexpr uint16_t Back = 8;
inline constexpr uint16_t Tab = 9;
inline constexpr uint16_t Return = 13;
inline constexpr uint16_t Shift = 16;
inline constexpr uint16_t Control = 17;
inline constexpr uint16_t Menu = 18;  // Alt
inline constexpr uint16_t Escape = 27;
inline constexpr uint16_t Space = 32;
inline constexpr uint16_t Prior = 33;  // Page Up
inline constexpr uint16_t Next = 34;   // Page Down
inline constexpr uint16_t End = 35;
inline constexpr uint16_t Home = 36;
inline constexpr uint16_t Left = 37;
inline constexpr uint16_t Up = 38;
inline constexpr uint16_t Right = 39;
inline constexpr uint16_t Down = 40;
inline constexpr uint16_t Insert = 45;
inline constexpr uint16_t Delete = 46;
inline constexpr uint16_t Add = 107;       // keypad plus
inline constexpr uint16_t Subtract = 109;  // keypad minus
inline constexpr uint16_t F1 = 112;        // F1 + n - 1 for Fn, n = 1..24
inline constexpr uint16_t F2 = 113;
inline constexpr uint16_t F3 = 114;
inline constexpr uint16_t F4 = 115;
inline constexpr uint16_t F5 = 116;
inline constexpr uint16_t F6 = 117;
inline constexpr uint16_t F7 = 118;
inline constexpr uint16_t F8 = 119;
inline constexpr uint16_t F9 = 120;
inline constexpr uint16_t F10 = 121;
inline constexpr uint16_t F11 = 122;
inline constexpr uint16_t F12 = 123;
inline constexpr uint16_t OemSemicolon = 186;  // ';' ':'
inline constexpr uint16_t OemPlus = 187;       // '=' '+'
inline constexpr uint16_t OemComma = 188;      // ',' '<'
inline constexpr uint16_t OemMinus = 189;      // '-' '_'
inline constexpr uint16_t OemPeriod = 190;     // '.' '>'
inline constexpr uint16_t OemSlash = 191;      // '/' '?'
inline constexpr uint16_t OemGrave = 192;      // '`' '~'
inline constexpr uint16_t OemOpen = 219;       // '[' '{'
inline constexpr uint16_t OemBackslash = 220;  // '\' '|'
inline constexpr uint16_t OemClose = 221;      // ']' '}'
inline constexpr uint16_t OemQuote = 222;      // '\'' '"'

}  // namespace cadenzo::vk
