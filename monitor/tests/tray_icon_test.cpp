// The notification-area icon: wanted against shown, and what TaskbarCreated
// does, with a scripted shell and then with the real one.
#include "monitor/tray_icon_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace gm::mon {
namespace {

struct ScriptedShell {
    bool accepts = true;
    std::vector<DWORD> calls;
    TrayIcon::Notify Notify() {
        return [this](DWORD message, NOTIFYICONDATAA&) {
            calls.push_back(message);
            return message == NIM_ADD ? accepts : true;
        };
    }
};

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = ::CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }
    static UINT TaskbarCreated() { return ::RegisterWindowMessageA("TaskbarCreated"); }
    HWND owner_ = nullptr;
};

TEST_F(TrayIconTest, AnIconTheShellRefusedAtStartIsAddedWhenTheTaskbarAppears) {
    ScriptedShell shell;
    shell.accepts = false; // no notification area yet
    TrayIcon tray(owner_, 7, WM_APP, shell.Notify());
    tray.Show();
    EXPECT_TRUE(tray.wanted());
    EXPECT_FALSE(tray.shown());

    shell.accepts = true;
    EXPECT_FALSE(tray.OnMessage(WM_TIMER)) << "other messages are not the tray's";
    EXPECT_TRUE(tray.OnMessage(TaskbarCreated()));
    EXPECT_TRUE(tray.shown());
    EXPECT_EQ(shell.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
}

TEST_F(TrayIconTest, ARestartedExplorerGetsTheIconAgainOnlyWhileTheMouseIsThere) {
    ScriptedShell shell;
    TrayIcon tray(owner_, 7, WM_APP, shell.Notify());
    tray.Show();
    tray.Show();
    ASSERT_TRUE(tray.shown());
    EXPECT_EQ(shell.calls.size(), 1u) << "a shown icon is not added twice";

    // The new notification area knows no icon, though the last add worked.
    EXPECT_TRUE(tray.OnMessage(TaskbarCreated()));
    EXPECT_EQ(shell.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD}));

    tray.Hide();
    EXPECT_FALSE(tray.shown());
    EXPECT_TRUE(tray.OnMessage(TaskbarCreated()));
    EXPECT_EQ(shell.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_DELETE}))
        << "an unwanted icon stays away";
}

TEST_F(TrayIconTest, TheRealShellHoldsTheIconUntilItIsHiddenOrDestroyed) {
    const auto present = [&] {
        NOTIFYICONDATAA nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = owner_;
        nid.uID = 9;
        nid.uFlags = NIF_TIP;
        std::snprintf(nid.szTip, sizeof nid.szTip, "probe");
        return ::Shell_NotifyIconA(NIM_MODIFY, &nid) !=
               FALSE; // only an existing icon can be modified
    };
    {
        TrayIcon tray(owner_, 9, WM_APP);
        tray.SetLook(win::unique_hicon(::CopyIcon(::LoadIconA(nullptr, IDI_APPLICATION))), "tip");
        tray.Show();
        ASSERT_TRUE(tray.shown());
        EXPECT_TRUE(present());

        // What Explorer's restart leaves: an area without the icon.
        NOTIFYICONDATAA gone{};
        gone.cbSize = sizeof gone;
        gone.hWnd = owner_;
        gone.uID = 9;
        ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &gone));
        EXPECT_FALSE(present());
        tray.OnMessage(TaskbarCreated());
        EXPECT_TRUE(present());
    }
    EXPECT_FALSE(present()) << "the icon goes with its owner";
}

} // namespace
} // namespace gm::mon
