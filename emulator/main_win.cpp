// MouseEmulator.exe: the virtual mouse.
//
//   MouseEmulator.exe [serve] [--hidden] [--pipe NAME] [--flash PATH]
//       runs the virtual mouse (with a small window unless --hidden)
//   MouseEmulator.exe [--pipe NAME] COMMAND [ARGS...]
//       sends one command to the running virtual mouse and prints its answer
//       (press 4, release 4, profile 3, event 0xC000 0x0A05, unplug, dump, log...)
//
// The pipe name defaults to the one in hiddriver.ini beside the program.
#include "emulator/emulator_client_win.h"
#include "emulator/emulator_window_win.h"
#include "emulator/flash_file_win.h"
#include "emulator/pipe_server_win.h"
#include "hid/driver_config.h"
#include "win/install_dir.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace gm;

std::string PipeFromIni() {
    const std::string ini = win::InstallDir() + "hiddriver.ini";
    char pipe[512];
    ::GetPrivateProfileStringA("Transport", "Pipe", "", pipe, sizeof pipe, ini.c_str());
    hid::DriverConfigText text;
    text.pipe = pipe;
    return hid::ParseDriverConfig(text).pipe;
}

void Print(const std::string& text) {
    ::AttachConsole(ATTACH_PARENT_PROCESS);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    const std::string line = text.empty() || text.back() == '\n' ? text : text + "\n";
    ::WriteFile(out, line.data(), DWORD(line.size()), &written, nullptr);
}

int RunClient(const std::string& pipe, const std::string& command) {
    emu::EmulatorClient client(pipe, 5000);
    auto answer = client.Command(command);
    if (!answer) {
        Print("The virtual mouse is not running (pipe " + pipe + ").");
        return 2;
    }
    Print(answer->second);
    return answer->first ? 0 : 1;
}

int RunServer(const std::string& pipe, const std::string& flashPath, bool hidden) {
    emu::VirtualMouse mouse([] { return uint64_t(::GetTickCount64()); });
    emu::LoadFlashFile(mouse.firmware(), flashPath);
    emu::EmulatorWindow window;
    emu::PipeServer server(pipe, mouse, [&] {
        if (mouse.TakeFlashChanged())
            emu::SaveFlashFile(mouse.firmware(), flashPath);
        window.Refresh();
    });
    if (!server.Start()) {
        Print("Another virtual mouse already serves " + pipe + ".");
        return 3;
    }
    window.Create(server, mouse, hidden);
    // Messages until the window closes or a client says "quit".
    for (;;) {
        const DWORD r = ::MsgWaitForMultipleObjects(
            1, std::vector<HANDLE>{server.quit_event()}.data(), FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            break;
        MSG msg;
        bool quit = false;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                quit = true;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (quit)
            break;
    }
    server.Stop();
    window.Destroy();
    std::lock_guard g(server.lock());
    emu::SaveFlashFile(mouse.firmware(), flashPath);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::string> args(__argv + 1, __argv + __argc);
    std::string pipe;
    std::string flash = win::InstallDir() + "MouseEmulator.flash";
    bool hidden = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pipe" && i + 1 < args.size())
            pipe = args[++i];
        else if (args[i] == "--flash" && i + 1 < args.size())
            flash = args[++i];
        else if (args[i] == "--hidden")
            hidden = true;
        else
            words.push_back(args[i]);
    }
    if (pipe.empty())
        pipe = PipeFromIni();
    if (words.empty() || words[0] == "serve")
        return RunServer(pipe, flash, hidden);
    std::string command;
    for (const auto& w : words)
        command += (command.empty() ? "" : " ") + w;
    return RunClient(pipe, command);
}
