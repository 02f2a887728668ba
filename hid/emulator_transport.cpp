// The way to the virtual mouse: its named pipe.
#include "emulator/emulator_client.h"
#include "hid/driver_config.h"
#include "hid/transport.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace gm::hid {
namespace {

class EmulatorTransport final : public Transport {
public:
    explicit EmulatorTransport(std::string pipe) : pipe_(pipe), client_(std::move(pipe), kReportTimeoutMs) {}
    ~EmulatorTransport() override { StopWatching(); }

    bool StartWatching(Sink sink) override {
        StopWatching();
        stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!stop_) return false;
        sink_ = std::move(sink);
        // What is there now is the starting point: only changes are reported.
        present_ = Present();
        watcher_ = std::thread([this] { Watch(); });
        return true;
    }

    void StopWatching() override {
        if (!watcher_.joinable()) return;
        ::SetEvent(stop_.get());
        watcher_.join();
        stop_.reset();
    }

    bool Open() override {
        std::lock_guard g(lock_);
        auto plugged = client_.Hello();
        open_ = plugged.value_or(false);
        return open_;
    }

    void Close() override {
        std::lock_guard g(lock_);
        open_ = false;
        client_.Disconnect();
    }

    bool SetFeature(const uint8_t* report, std::size_t length) override {
        std::lock_guard g(lock_);
        return open_ && client_.SetFeature(report, length);
    }

    bool GetFeature(uint8_t* report, std::size_t length) override {
        std::lock_guard g(lock_);
        return open_ && client_.GetFeature(report, length);
    }

private:
    bool Present() {
        emu::EmulatorClient probe(pipe_, 300);
        return probe.Hello().value_or(false);
    }

    void Report(bool present) {
        if (present == present_) return;
        present_ = present;
        if (sink_.plug) sink_.plug(present);
    }

    // Keeps one subscription open; when the virtual mouse goes away the
    // mouse counts as removed, and when it comes back as arrived.
    void Watch() noexcept {
        while (::WaitForSingleObject(stop_.get(), 0) != WAIT_OBJECT_0) {
            emu::PipeConnection events;
            if (!events.Connect(pipe_, 300) || !events.Write(emu::EncodeSubscribe(), kReportTimeoutMs)) {
                Report(false);
                ::WaitForSingleObject(stop_.get(), 500);
                continue;
            }
            for (;;) {
                auto message = events.Read(INFINITE, stop_.get());
                if (!message) break;
                auto a = emu::ParseAnswer(message->data(), message->size());
                if (!a) break;
                if (a->op == emu::Op::Plug) Report(a->ok);
                else if (a->op == emu::Op::Event && present_ && sink_.event) sink_.event(a->cls, a->value);
            }
            if (::WaitForSingleObject(stop_.get(), 0) == WAIT_OBJECT_0) break;
            Report(false);
            ::WaitForSingleObject(stop_.get(), 200);
        }
    }

    std::string pipe_;
    std::mutex lock_;
    emu::EmulatorClient client_;
    bool open_ = false;
    Sink sink_;
    std::atomic<bool> present_{false};
    win::unique_handle stop_;
    std::thread watcher_;
};

} // namespace

std::unique_ptr<Transport> MakeEmulatorTransport(const DriverConfig& config) {
    return std::make_unique<EmulatorTransport>(config.pipe);
}

} // namespace gm::hid
