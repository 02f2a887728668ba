#pragma once
// The virtual mouse as a HID device (MouseEmulator.exe serve --hid): every
// interface of its table that is present is a named pipe beside the mouse's
// own, named like a HID interface path. The test builds of hid.dll and
// setupapi.dll list these interfaces and talk to them, so the access
// library's HID transport runs unchanged against the virtual mouse.
//
// A handle opened on an interface behaves like one opened on a HID
// collection: it receives every input report from the moment it is open
// (until it sends its first feature request: the feature handle); feature
// requests reach the firmware with its faults; unplugging closes every pipe
// of the mouse, so open handles fail and new opens find nothing.

#include "emulator/pipe_server_win.h"
#include "emulator/scripted_hid.h"
#include "emulator/virtual_mouse.h"
#include "win/handles.h"

#include <windows.h>

#include <array>
#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gm::emu {

class HidDeviceServer {
  public:
    HidDeviceServer(std::string controlPipe, PipeServer& server, VirtualMouse& mouse);
    ~HidDeviceServer();
    HidDeviceServer(const HidDeviceServer&) = delete;
    HidDeviceServer& operator=(const HidDeviceServer&) = delete;

    // Hooks itself into `server`: call before the server starts.
    [[nodiscard]] bool Attach();
    // Presents the interfaces: call once the server runs, so a second
    // virtual mouse on the same pipe never serves any.
    void Start();
    void Stop();

  private:
    struct Connection;
    // A listening instance of an interface's pipe. Its event lives as long
    // as the server, so the accepting thread may wait on it at any time.
    // Only the accepting thread arms a slot: a pending connect belongs to
    // the thread that issued it and ends with that thread.
    struct Slot {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        OVERLAPPED ov{};
        win::unique_handle event;
        int owner = -1; // interface id
        bool armNeeded = false;
    };
    struct Published {
        HidInterface info;
        std::string path;
        std::list<std::shared_ptr<Connection>> connections;
    };
    static constexpr std::size_t kListeners = 4; // opens that may come at once

    void Notify(const std::vector<Notification>& notes);
    // Publishes what the table says is present; `renewMouse` closes the
    // mouse's interface and opens it anew even if it stays.
    void Sync(bool renewMouse = false);
    Bytes List();
    void AcceptLoop() noexcept;
    void Serve(std::shared_ptr<Connection> c) noexcept;
    bool Answer(Connection& c, const HidRequest& request);

    // With lock_ held.
    void Publish(const HidInterface& info);
    void Unpublish(int id);
    void Arm(Slot& slot);
    void ArmPending();
    void Disarm(Slot& slot);
    void AcceptPending(int id);
    void SendInput(int id, const std::vector<uint8_t>& bytes);
    void Count(int id, bool report);

    std::string controlPipe_;
    PipeServer& server_;
    VirtualMouse& mouse_;
    std::mutex lock_;
    std::condition_variable armed_;
    std::map<int, Published> published_;
    bool started_ = false;
    uint16_t generation_ = 0;
    bool stopping_ = false;
    std::array<Slot, kMaxHidInterfaces * kListeners> slots_;
    win::unique_handle stop_;
    win::unique_handle wake_;
    std::thread acceptor_;
    std::mutex clientsLock_;
    std::condition_variable clientsDone_;
    int clients_ = 0;
};

} // namespace gm::emu
