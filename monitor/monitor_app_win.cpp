// CMonitorApp: Monitor.exe's entry. One instance per user session; a second
// instance started with "1" asks the first to open the configuration
// program and ends.
#include "monitor/monitor_wnd_win.h"
#include "win/debug_out.h"
#include "win/handles.h"
#include "win/thread_stack.h"

#include <objbase.h>
#include <windows.h>

namespace {

constexpr const char* kInstanceMutex = "Orvex_Gaming_Mouse_Normal_Monitor_Mutex";

class CMonitorApp {
  public:
    int Run(const char* commandLine) {
        const bool showOption = commandLine && commandLine[0] == '1';
        instance_.reset(::CreateMutexA(nullptr, FALSE, kInstanceMutex));
        if (!instance_ || ::GetLastError() == ERROR_ALREADY_EXISTS) {
            instance_.reset();
            if (showOption) {
                if (HWND first = ::FindWindowA(nullptr, gm::ipc::kMonitorWindow))
                    ::PostMessageA(first, WM_COMMAND, gm::ipc::kCmdOpenOption, 0);
            }
            return 0;
        }
        ::CoInitialize(nullptr);
        int code = 0;
        {
            gm::mon::CMonitorWnd window(showOption);
            if (window.Create()) {
                // Start-up is over; what it left on the stack is not needed.
                gm::win::TrimThreadStack();
                MSG msg;
                while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageA(&msg);
                }
            } else {
                gm::win::DebugOut("CMonitorApp: %s\n", "the main window could not be created");
                code = 1;
            }
        }
        ::CoUninitialize();
        instance_.reset();
        return code;
    }

  private:
    gm::win::unique_handle instance_;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    CMonitorApp app;
    return app.Run(commandLine);
}
