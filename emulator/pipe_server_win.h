#pragma once
// The virtual mouse's pipe server: one thread accepts connections, one
// thread serves each client, and every subscriber gets the events and plug
// changes in the order they happened.

#include "emulator/emulator_client_win.h"
#include "emulator/virtual_mouse.h"

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace gm::emu {

class PipeServer {
  public:
    // `changed` runs (on a server thread, with the mouse locked) after
    // anything about the mouse changed: save the flash, repaint a window.
    PipeServer(std::string pipe, VirtualMouse& mouse, std::function<void()> changed);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    [[nodiscard]] bool Start();
    void Stop();

    // Runs a command as if it came through the pipe (the window's buttons).
    CommandResult Execute(const std::string& line);
    // A feature report as a client's Set or Get runs it: on the firmware, with
    // the flash saved and every subscriber told what it caused.
    ReportResult SetReport(const uint8_t* data, std::size_t length);
    ReportResult GetReport(uint8_t* data, std::size_t length);

    // The HID side of the mouse (serve --hid), set before Start: it hears
    // every notification in the order the subscribers do, learns when a
    // command may have changed its interfaces, and gives the interface list.
    struct HidHooks {
        std::function<void(const std::vector<Notification>&)> notes;
        std::function<void()> commandDone;
        std::function<Bytes()> list;
    };
    void SetHidHooks(HidHooks hooks) { hid_ = std::move(hooks); }
    // Signalled when a client asked the mouse to quit.
    HANDLE quit_event() const { return quit_.get(); }
    std::mutex& lock() { return mouseLock_; }

  private:
    struct Subscriber {
        PipeConnection connection;
        win::unique_handle dead;
    };

    void AcceptLoop(HANDLE first) noexcept;
    void Serve(HANDLE pipe) noexcept;
    void Broadcast(const std::vector<Notification>& notes);
    std::shared_ptr<Subscriber> Subscribe(PipeConnection connection);

    std::string pipe_;
    HidHooks hid_;
    VirtualMouse& mouse_;
    std::function<void()> changed_;
    std::mutex mouseLock_;
    std::mutex subscribersLock_;
    std::list<std::shared_ptr<Subscriber>> subscribers_;
    // Client threads run detached; Stop waits until the last one is gone.
    std::mutex clientsLock_;
    std::condition_variable clientsDone_;
    int clients_ = 0;
    std::thread acceptor_;
    win::unique_handle stop_;
    win::unique_handle quit_;
};

} // namespace gm::emu
