// The key-with-modifiers value between the shortcut dialog and its opener.
#include "option/dialogs/shortcut_record.h"

#include <gtest/gtest.h>

namespace gm {
namespace {

TEST(ShortcutRecord, ModifierBitsAreCtrlShiftAltWinFromBitZero) {
    SettingsBlock block;
    ButtonView button = block.Profile(0).Button(4);
    button.Set(btn::KeyUsage, uint8_t(0x04));
    button.Set(btn::KeyModifiers, uint8_t(5));
    const Shortcut s = ShortcutFromButton(button);
    EXPECT_EQ(s.keyCode, 0x04);
    EXPECT_EQ(s.modifiers, (std::array<uint8_t, 4>{1, 0, 1, 0}));
    Shortcut t;
    t.modifiers = {0, 1, 0, 1};
    EXPECT_EQ(t.PackedModifiers(), 0x0A);
    t.SetPackedModifiers(0xFF); // bits above Win are not modifiers
    EXPECT_EQ(t.PackedModifiers(), 0x0F);
}

TEST(ShortcutRecord, ApplyWritesOneKeyEventClearsTheNameAndKeepsTheRest) {
    SettingsBlock block;
    ButtonView button = block.Profile(2).Button(6);
    button.MakeFresh(6);
    button.Set(btn::FunctionType, uint8_t(fn::Macro));
    button.Set(btn::MacroName, "ABCDEFGHIJKLMNOPQRSTUVWX");
    button.Set(btn::RepeatCount, 3);
    button.SetEvent(1, MacroEvent{0x05, 2, 77});
    button.Set(btn::ProgramPath, "C:\\x.exe");

    Shortcut s;
    s.keyCode = 0xE1;
    s.modifiers = {1, 1, 0, 0};
    ApplyShortcut(s, button);

    EXPECT_EQ(button.Get(btn::FunctionType), fn::Key);
    EXPECT_EQ(button.Get(btn::EventCount), 1);
    EXPECT_EQ(button.data()[42], 0xE1);
    EXPECT_EQ(button.data()[43], 0x03);
    for (int i = 8; i <= 32; ++i)
        EXPECT_EQ(button.data()[i], 0) << i;
    EXPECT_EQ(button.Get(btn::ButtonIndex), 6);
    EXPECT_EQ(button.Get(btn::ProgramPath), "C:\\x.exe");
    EXPECT_EQ(button.Get(btn::RepeatCount), 3);
    EXPECT_EQ(button.Event(1).delay, 77);
}

} // namespace
} // namespace gm
