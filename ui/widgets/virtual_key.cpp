#include "ui/widgets/virtual_key.h"

#include <array>
#include <utility>

#include "ui/virtual_keys.h"

namespace cadenzo {

namespace {

constexpr uint16_t kNumpad0 = 96;
constexpr uint16_t kMultiply = 106;
constexpr uint16_t kDecimal = 110;
constexpr uint16_t kDivide = 111;

// The printable characters, shifted or not, and the key that carries them.
constexpr std::array<std::pair<int, uint16_t>, 32> kSymbols{{
    {Qt::Key_Exclam, '1'},        {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},        {Qt::Key_Percent, '5'},     {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},     {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},    {Qt::Key_Minus, vk::OemMinus}, {Qt::Key_Underscore, vk::OemMinus},
    {Qt::Key_Equal, vk::OemPlus}, {Qt::Key_Plus, vk::OemPlus}, {Qt::Key_BracketLeft, vk::OemOpen},
    {Qt::Key_BraceLeft, vk::OemOpen}, {Qt::Key_BracketRight, vk::OemClose}, {Qt::Key_BraceRight, vk::OemClose},
    {Qt::Key_Backslash, vk::OemBackslash}, {Qt::Key_Bar, vk::OemBackslash}, {Qt::Key_Semicolon, vk::OemSemicolon},
    {Qt::Key_Colon, vk::OemSemicolon}, {Qt::Key_Apostrophe, vk::OemQuote}, {Qt::Key_QuoteDbl, vk::OemQuote},
    {Qt::Key_Comma, vk::OemComma}, {Qt::Key_Less, vk::OemComma}, {Qt::Key_Period, vk::OemPeriod},
    {Qt::Key_Greater, vk::OemPeriod}, {Qt::Key_Slash, vk::OemSlash}, {Qt::Key_Question, vk::OemSlash},
    {Qt::Key_QuoteLeft, vk::OemGrave}, {Qt::Key_AsciiTilde, vk::OemGrave},
}};

// The other keys with a code of their own, the keypad's keys without
// NumLock among them (keypad 5 is Clear).
constexpr std::array<std::pair<int, uint16_t>, 52> kNamedKeys{{
    {Qt::Key_Cancel, 3},            {Qt::Key_Backspace, vk::Back},   {Qt::Key_Tab, vk::Tab},
    {Qt::Key_Backtab, vk::Tab},     {Qt::Key_Clear, 12},             {Qt::Key_Return, vk::Return},
    {Qt::Key_Enter, vk::Return},    {Qt::Key_Shift, vk::Shift},      {Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, vk::Menu},        {Qt::Key_AltGr, vk::Menu},       {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},         {Qt::Key_Escape, vk::Escape},    {Qt::Key_Space, vk::Space},
    {Qt::Key_PageUp, vk::Prior},     {Qt::Key_PageDown, vk::Next},    {Qt::Key_End, vk::End},
    {Qt::Key_Home, vk::Home},             {Qt::Key_Left, vk::Left},        {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},     {Qt::Key_Down, vk::Down},        {Qt::Key_Select, 41},
    {Qt::Key_Printer, 42},          {Qt::Key_Execute, 43},           {Qt::Key_Print, 44},
    {Qt::Key_SysReq, 44},           {Qt::Key_Insert, vk::Insert},    {Qt::Key_Delete, vk::Delete},
    {Qt::Key_Help, 47},             {Qt::Key_Meta, 91},              {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},          {Qt::Key_Menu, 93},              {Qt::Key_Sleep, 95},
    {Qt::Key_NumLock, 144},         {Qt::Key_ScrollLock, 145},       {Qt::Key_Back, 166},
    {Qt::Key_Forward, 167},         {Qt::Key_Refresh, 168},          {Qt::Key_Stop, 169},
    {Qt::Key_Search, 170},          {Qt::Key_Favorites, 171},        {Qt::Key_HomePage, 172},
    {Qt::Key_VolumeMute, 173},      {Qt::Key_VolumeDown, 174},       {Qt::Key_VolumeUp, 175},
    {Qt::Key_MediaNext, 176},       {Qt::Key_MediaPrevious, 177},    {Qt::Key_MediaStop, 178},
    {Qt::Key_MediaTogglePlayPause, 179},
}};

uint16_t Lookup(const auto& table, int qtKey) {
    for (const auto& [key, code] : table)
        if (key == qtKey) return code;
    return 0;
}

uint16_t KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint16_t>(kNumpad0 + (qtKey - Qt::Key_0));
    switch (qtKey) {
    case Qt::Key_Plus:
        return vk::Add;
    case Qt::Key_Minus:
        return vk::Subtract;
    case Qt::Key_Asterisk:
        return kMultiply;
    case Qt::Key_Slash:
        return kDivide;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return kDecimal;
    default:
        return 0;  // the keypad's navigation keys map as the named keys
    }
}

}  // namespace

uint16_t VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier)
        if (const uint16_t code = KeypadKey(qtKey)) return code;
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(vk::F1 + (qtKey - Qt::Key_F1));
    if (const uint16_t code = Lookup(kSymbols, qtKey)) return code;
    return Lookup(kNamedKeys, qtKey);
}

}  // namespace cadenzo
