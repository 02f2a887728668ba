// The skinned warnings run modally in this process, with the real artwork,
// while a timer plays the user: keys first, then one of the buttons.
#include "option/dialogs/delete_macro_warning.h"
#include "option/dialogs/warning_dialogs_win.h"
#include "win/install_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace gm::option {
namespace {

// The script the timer runs, one step a tick, against the open warning.
std::function<void(int step)> g_script;
int g_step = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script)
        g_script(g_step++);
}

struct Owner {
    Owner(int x, int y, int w, int h) {
        hwnd = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    ~Owner() { ::DestroyWindow(hwnd); }
    HWND hwnd;
};

HWND PopupOf(HWND owner) {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w))
            return w;
    return nullptr;
}

// The button of record `key`: the n-th child, as created.
HWND ButtonOf(HWND dialog, int key) {
    HWND child = ::GetWindow(dialog, GW_CHILD);
    for (int i = 1; child && i < key; ++i)
        child = ::GetWindow(child, GW_HWNDNEXT);
    return child;
}

POINT Centre(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Runs `warning` over `owner`: Enter and Esc at it first, then button `key`.
int RunPressing(WarningDialog& warning, HWND owner, int key, bool* survivedKeys,
                POINT* centre = nullptr) {
    g_step = 0;
    g_script = [&](int step) {
        const HWND dialog = PopupOf(owner);
        if (!dialog)
            return;
        if (step == 0) {
            for (UINT k : {VK_RETURN, VK_ESCAPE}) {
                ::PostMessageA(dialog, WM_KEYDOWN, k, 1);
                ::PostMessageA(dialog, WM_CHAR, k == VK_RETURN ? '\r' : 27, 1);
                ::PostMessageA(ButtonOf(dialog, 1), WM_KEYDOWN, k, 1);
            }
        } else if (step == 3) {
            *survivedKeys = ::IsWindow(dialog) != FALSE;
            if (centre)
                *centre = Centre(dialog);
            ::PostMessageA(ButtonOf(dialog, key), BM_CLICK, 0, 0);
        }
    };
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, Tick);
    const int result = warning.Run(win::SkinFolder(), owner);
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    return result;
}

TEST(WarningDialogs, OnlyTheirButtonsCloseThemWithTheirAnswers) {
    Owner owner(100, 100, 600, 400);
    struct Case {
        const char* name;
        std::function<int(int key, bool* survived)> run;
        int buttons;
    };
    const Case cases[] = {
        {"click",
         [&](int key, bool* s) {
             ClickWarning w;
             return RunPressing(w, owner.hwnd, key, s);
         },
         3},
        {"reset",
         [&](int key, bool* s) {
             ResetWarning w(owner.hwnd);
             return RunPressing(w, owner.hwnd, key, s);
         },
         3},
        {"macro set",
         [&](int key, bool* s) {
             MacroSetWarning w;
             return RunPressing(w, owner.hwnd, key, s);
         },
         2},
    };
    for (const Case& c : cases)
        for (int key = 1; key <= c.buttons; ++key) {
            bool survived = false;
            const int result = c.run(key, &survived);
            EXPECT_TRUE(survived) << c.name << ": Enter and Esc close nothing";
            EXPECT_EQ(result, key == 1 ? skin::kDialogOk : skin::kDialogCancel)
                << c.name << " button " << key;
            EXPECT_EQ(PopupOf(owner.hwnd), nullptr) << c.name << ": gone after its button";
            EXPECT_TRUE(::IsWindowEnabled(owner.hwnd)) << c.name << ": the owner works again";
        }
}

TEST(WarningDialogs, TheDeleteMacroWarningTakesEscAsCancelAndIgnoresEnter) {
    Owner owner(100, 100, 600, 400);
    for (int key = 1; key <= 3; ++key) {
        DeleteMacroWarning w;
        bool survived = false;
        // Its buttons answer as every warning's do; Enter alone closes nothing.
        g_step = 0;
        g_script = [&](int step) {
            const HWND dialog = PopupOf(owner.hwnd);
            if (!dialog)
                return;
            if (step == 0) {
                ::PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
                ::PostMessageA(dialog, WM_CHAR, '\r', 1);
            } else if (step == 3) {
                survived = ::IsWindow(dialog) != FALSE;
                ::PostMessageA(ButtonOf(dialog, key), BM_CLICK, 0, 0);
            }
        };
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, Tick);
        EXPECT_EQ(w.Run(win::SkinFolder(), owner.hwnd),
                  key == 1 ? skin::kDialogOk : skin::kDialogCancel)
            << key;
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(survived) << "Enter closes nothing";
    }

    // Esc, at the dialog or at one of its buttons, keeps the macro. Should
    // it be ignored, OK is clicked a little later, and the answer shows it.
    for (bool atButton : {false, true}) {
        DeleteMacroWarning w;
        g_step = 0;
        g_script = [&](int step) {
            const HWND dialog = PopupOf(owner.hwnd);
            if (!dialog)
                return;
            if (step == 0)
                ::PostMessageA(atButton ? ButtonOf(dialog, 1) : dialog, WM_KEYDOWN, VK_ESCAPE, 1);
            else if (step == 6)
                ::PostMessageA(ButtonOf(dialog, 1), BM_CLICK, 0, 0);
        };
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 60, Tick);
        EXPECT_EQ(w.Run(win::SkinFolder(), owner.hwnd), skin::kDialogCancel)
            << (atButton ? "at a button" : "at the dialog");
        ::KillTimer(nullptr, timer);
        EXPECT_EQ(PopupOf(owner.hwnd), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(owner.hwnd));
    }
    g_script = nullptr;
}

TEST(WarningDialogs, TheResetWarningCentresOnTheMainDialogOthersOnTheirOpener) {
    Owner main(0, 0, 800, 600), opener(700, 500, 300, 200);
    bool survived = false;
    POINT centre{};
    ResetWarning reset(main.hwnd);
    EXPECT_EQ(RunPressing(reset, opener.hwnd, 2, &survived, &centre), skin::kDialogCancel);
    EXPECT_NEAR(centre.x, Centre(main.hwnd).x, 1);
    EXPECT_NEAR(centre.y, Centre(main.hwnd).y, 1);
    ClickWarning click;
    EXPECT_EQ(RunPressing(click, opener.hwnd, 1, &survived, &centre), skin::kDialogOk);
    EXPECT_NEAR(centre.x, Centre(opener.hwnd).x, 1);
    EXPECT_NEAR(centre.y, Centre(opener.hwnd).y, 1);
}

} // namespace
} // namespace gm::option
