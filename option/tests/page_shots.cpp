// Shows one setting page with the built skins in a top-level window at
// (40, 40) for a few seconds, for screenshots:
//   page_shots.exe lighting|sensitivity|system|advance [--chooser] [--seconds 6]
// The page edits a fresh profile; the sensitivity page's stages carry
// indicator colours, and --chooser opens the colour chooser on swatch 2.
#include "option/pages/advance_page_win.h"
#include "option/pages/lighting_page_win.h"
#include "option/pages/sensitivity_page_win.h"
#include "option/pages/system_page_win.h"
#include "option/tests/page_host.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace gm;
using namespace gm::option;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string which = "sensitivity";
    bool chooser = false;
    int seconds = 6;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg == "--chooser")
            chooser = true;
        else if (arg == "--seconds" && i + 1 < __argc)
            seconds = std::atoi(__argv[++i]);
        else
            which = arg;
    }
    option::test::PageHost host;
    std::unique_ptr<Page> page;
    if (which == "lighting") {
        page = std::make_unique<LightingPage>(host);
    } else if (which == "system") {
        page = std::make_unique<SystemPage>(host);
    } else if (which == "advance") {
        page = std::make_unique<AdvancePage>(host);
    } else {
        ProfileView p = host.working.Profile(0);
        for (int s = 0; s < 4; ++s)
            p.Set(prof::Indicator(s), uint8_t(s + 1));
        page = std::make_unique<SensitivityPage>(host);
    }
    if (!host.Open(*page))
        return 1;
    if (chooser) {
        if (auto* s = dynamic_cast<SensitivityPage*>(page.get()))
            ::SendMessageA(s->hwnd(), WM_COMMAND, 0, LPARAM(s->swatch(2).hwnd()));
    }
    ::SetTimer(nullptr, 0, UINT(seconds) * 1000, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    page->Destroy();
    return 0;
}
