#include <gtest/gtest.h>

#include "ui/widgets/virtual_key.h"

namespace cadenzo {
namespace {

TEST(VirtualKey, UsLayoutCodesFromQtKeysAndModifiers) {
    EXPECT_EQ(VirtualKey(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(VirtualKey(Qt::Key_0, Qt::NoModifier), 48);
    EXPECT_EQ(VirtualKey(Qt::Key_Exclam, Qt::ShiftModifier), 49);
    EXPECT_EQ(VirtualKey(Qt::Key_ParenRight, Qt::ShiftModifier), 48);
    EXPECT_EQ(VirtualKey(Qt::Key_Underscore, Qt::ShiftModifier), 189);
    EXPECT_EQ(VirtualKey(Qt::Key_Minus, Qt::NoModifier), 189);
    EXPECT_EQ(VirtualKey(Qt::Key_Plus, Qt::ShiftModifier), 187);
    EXPECT_EQ(VirtualKey(Qt::Key_Bar, Qt::ShiftModifier), 220);
    EXPECT_EQ(VirtualKey(Qt::Key_Less, Qt::ShiftModifier), 188);
    EXPECT_EQ(VirtualKey(Qt::Key_AsciiTilde, Qt::ShiftModifier), 192);
    EXPECT_EQ(VirtualKey(Qt::Key_QuoteLeft, Qt::NoModifier), 192);
    EXPECT_EQ(VirtualKey(Qt::Key_BraceRight, Qt::ShiftModifier), 221);
    EXPECT_EQ(VirtualKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(VirtualKey(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(VirtualKey(Qt::Key_5, Qt::KeypadModifier), 101) << "keypad digits are not the top row";
    EXPECT_EQ(VirtualKey(Qt::Key_Insert, Qt::KeypadModifier), 45);
    EXPECT_EQ(VirtualKey(Qt::Key_F12, Qt::NoModifier), 123);
    EXPECT_EQ(VirtualKey(Qt::Key_Shift, Qt::ShiftModifier), 16);
    EXPECT_EQ(VirtualKey(Qt::Key_Control, Qt::ControlModifier), 17);
    EXPECT_EQ(VirtualKey(Qt::Key_Backspace, Qt::NoModifier), 8);
    // Keys the key map has no command for still have their codes for the monitor.
    EXPECT_EQ(VirtualKey(Qt::Key_Menu, Qt::NoModifier), 93);
    EXPECT_EQ(VirtualKey(Qt::Key_AltGr, Qt::NoModifier), 18);
    EXPECT_EQ(VirtualKey(Qt::Key_Clear, Qt::KeypadModifier), 12) << "keypad 5 without NumLock";
    EXPECT_EQ(VirtualKey(Qt::Key_VolumeUp, Qt::NoModifier), 175);
    EXPECT_EQ(VirtualKey(Qt::Key_unknown, Qt::NoModifier), kUnknownKey);
}

}  // namespace
}  // namespace cadenzo
