// MouseEmulator.exe: the virtual mouse.
//
//   MouseEmulator.exe [serve] [--hidden] [--hid] [--pipe NAME] [--flash PATH]
//       runs the virtual mouse (with a small window unless --hidden); --hid
//       also presents it as a HID device (emulator/hid_device_server_win.h)
//       with the ids of hiddriver.ini
//   MouseEmulator.exe [--pipe NAME] COMMAND [ARGS...]
//       sends one command to the running virtual mouse and prints its answer
//       (press 4, release 4, profile 3, event 0xC000 0x0A05, unplug, dump, log...)
//
// The pipe name defaults to the one in hiddriver.ini beside the program.
#include "emulator/emulator_client_win.h"
#include "emulator/emulator_window_win.h"
#include "emulator/flash_file_win.h"
#include "emulator/hid_device_server_win.h"
#include "emulator/pipe_server_win.h"
#include "hid/driver_config.h"
#include "win/install_dir.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace gm;

hid::DriverConfig ConfigFromIni() {
    const std::string ini = win::InstallDir() + "hiddriver.ini";
    auto value = [&](const char* section, const char* key) {
        char text[512];
        ::GetPrivateProfileStringA(section, key, "", text, sizeof text, ini.c_str());
        return std::string(text);
    };
    hid::DriverConfigText text;
    text.pipe = value("Transport", "Pipe");
    text.vendorId = value("Device", "VendorId");
    text.productId = value("Device", "ProductId");
    text.usagePage = value("Device", "UsagePage");
    return hid::ParseDriverConfig(text);
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

int RunServer(const std::string& pipe, const std::string& flashPath, bool hidden, bool asHid) {
    emu::VirtualMouse mouse([] { return uint64_t(::GetTickCount64()); });
    emu::LoadFlashFile(mouse.firmware(), flashPath);
    emu::EmulatorWindow window;
    emu::PipeServer server(pipe, mouse, [&] {
        if (mouse.TakeFlashChanged())
            emu::SaveFlashFile(mouse.firmware(), flashPath);
        window.Refresh();
    });
    emu::HidDeviceServer hidDevice(pipe, server, mouse);
    if (asHid) {
        const hid::DriverConfig ids = ConfigFromIni();
        if (ids.vendorId != 0 && ids.productId != 0)
            mouse.hid().SetMouseIds(ids.vendorId, ids.productId, ids.usagePage);
        if (!hidDevice.Attach()) {
            Print("Could not present the virtual mouse as a HID device.");
            return 3;
        }
    }
    if (!server.Start()) {
        Print("Another virtual mouse already serves " + pipe + ".");
        return 3;
    }
    if (asHid)
        hidDevice.Start();
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
    hidDevice.Stop();
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
    bool asHid = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pipe" && i + 1 < args.size())
            pipe = args[++i];
        else if (args[i] == "--flash" && i + 1 < args.size())
            flash = args[++i];
        else if (args[i] == "--hidden")
            hidden = true;
        else if (args[i] == "--hid")
            asHid = true;
        else
            words.push_back(args[i]);
    }
    if (pipe.empty())
        pipe = ConfigFromIni().pipe;
    if (words.empty() || words[0] == "serve")
        return RunServer(pipe, flash, hidden, asHid);
    std::string command;
    for (const auto& w : words)
        command += (command.empty() ? "" : " ") + w;
    return RunClient(pipe, command);
}
