// The way to the virtual mouse: its named pipe.
#include "emulator/emulator_client_win.h"
#include "hid/driver_config.h"
#include "hid/watching_transport_win.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace gm::hid {
namespace {

class EmulatorTransport final : public WatchingTransport {
  public:
    explicit EmulatorTransport(std::string pipe)
        : pipe_(pipe), client_(std::move(pipe), kReportTimeoutMs) {}
    ~EmulatorTransport() override { StopWatching(); }

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
    bool PresentNow() override {
        emu::EmulatorClient probe(pipe_, 300);
        return probe.Hello().value_or(false);
    }

    // Keeps one subscription open; when the virtual mouse goes away the
    // mouse counts as removed, and when it comes back as arrived.
    void Watch() noexcept override {
        while (!stopping()) {
            emu::PipeConnection events;
            if (!events.Connect(pipe_, 300) ||
                !events.Write(emu::EncodeSubscribe(), kReportTimeoutMs)) {
                ReportPresence(false);
                MarkReady();
                ::WaitForSingleObject(stop_event(), 500);
                continue;
            }
            for (;;) {
                auto message = events.Read(INFINITE, stop_event());
                if (!message)
                    break;
                auto a = emu::ParseAnswer(message->data(), message->size());
                if (!a)
                    break;
                if (a->op == emu::Op::Plug)
                    ReportPresence(a->ok);
                else if (a->op == emu::Op::Event)
                    ReportEvent(a->cls, a->value);
                MarkReady(); // the first answer is the Plug: we are on the list
            }
            MarkReady();
            if (stopping())
                break;
            ReportPresence(false);
            ::WaitForSingleObject(stop_event(), 200);
        }
    }

    std::string pipe_;
    std::mutex lock_;
    emu::EmulatorClient client_;
    bool open_ = false;
};

} // namespace

std::unique_ptr<Transport> MakeEmulatorTransport(const DriverConfig& config) {
    return std::make_unique<EmulatorTransport>(config.pipe);
}

} // namespace gm::hid
