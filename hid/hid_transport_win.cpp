// The way to the physical mouse: the HID interface whose vendor id, product
// id and usage page match hiddriver.ini. Feature reports go through
// HidD_SetFeature / HidD_GetFeature on an I/O thread of their own, so a mouse
// that stops answering makes a call fail after a second instead of hanging
// its caller; events come from the interface's input reports.
#include "hid/driver_config.h"
#include "hid/event_report.h"
#include "hid/watching_transport_win.h"
#include "win/handles.h"
#include "win/thread_stack.h"

#include <windows.h>
// The HID headers need the basic Windows types first, and carry no C
// linkage of their own.
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace gm::hid {
namespace {

struct FoundInterface {
    std::string path;
    USHORT featureLength = 0;
    USHORT inputLength = 0;
};

// Every present HID interface that is ours; usually one.
std::optional<FoundInterface> FindInterface(const DriverConfig& config) {
    GUID hidGuid;
    ::HidD_GetHidGuid(&hidGuid);
    HDEVINFO set =
        ::SetupDiGetClassDevsA(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<FoundInterface> found;
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    for (DWORD i = 0; !found && ::SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, i, &data);
         ++i) {
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || size > 4096)
            continue;
        std::vector<uint8_t> buffer(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!::SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr))
            continue;
        const std::string path = detail->DevicePath;
        // Cheap filter first: the ids are in the path.
        auto ids = IdsFromInterfacePath(path);
        if (!ids || ids->vendorId != config.vendorId || ids->productId != config.productId)
            continue;
        win::unique_file probe(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe)
            continue;
        HIDD_ATTRIBUTES attrs{};
        attrs.Size = sizeof attrs;
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (!::HidD_GetAttributes(probe.get(), &attrs) ||
            !::HidD_GetPreparsedData(probe.get(), &preparsed))
            continue;
        HIDP_CAPS caps{};
        const bool capsOk = ::HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
        ::HidD_FreePreparsedData(preparsed);
        if (capsOk && IsOurInterface(config, {attrs.VendorID, attrs.ProductID, caps.UsagePage}))
            found = FoundInterface{path, caps.FeatureReportByteLength, caps.InputReportByteLength};
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return found;
}

// Runs blocking calls on its own thread and gives up waiting after a time-out.
class IoThread {
  public:
    IoThread() : thread_([this] { Run(); }) {}
    ~IoThread() {
        {
            std::lock_guard g(m_);
            quit_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

    bool Call(const std::function<bool()>& fn, DWORD timeoutMs) {
        std::unique_lock g(m_);
        job_ = &fn;
        done_ = false;
        cv_.notify_all();
        if (!cv_.wait_for(g, std::chrono::milliseconds(timeoutMs), [this] { return done_; })) {
            // Unblock the stuck call; the job ends as a failure. A cancel
            // that came before the thread entered the call finds nothing to
            // cancel, so it is repeated until the call has ended.
            do
                ::CancelSynchronousIo(self_.get());
            while (!cv_.wait_for(g, std::chrono::milliseconds(50), [this] { return done_; }));
            return false;
        }
        return result_;
    }

  private:
    void Run() {
        win::TrimThreadStack();
        HANDLE self = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &self,
                          0, FALSE, DUPLICATE_SAME_ACCESS);
        std::unique_lock g(m_);
        self_.reset(self);
        for (;;) {
            cv_.wait(g, [this] { return quit_ || (job_ && !done_); });
            if (quit_)
                return;
            const std::function<bool()>* job = job_;
            g.unlock();
            const bool r = (*job)();
            g.lock();
            result_ = r;
            done_ = true;
            job_ = nullptr;
            cv_.notify_all();
        }
    }

    std::mutex m_;
    std::condition_variable cv_;
    const std::function<bool()>* job_ = nullptr;
    bool done_ = true;
    bool result_ = false;
    bool quit_ = false;
    win::unique_handle self_; // this thread, for cancelling a stuck call
    std::thread thread_;
};

class HidTransport final : public WatchingTransport {
  public:
    explicit HidTransport(DriverConfig config) : config_(std::move(config)) {}
    ~HidTransport() override {
        StopWatching();
        Close();
    }

    bool Open() override {
        std::lock_guard g(lock_);
        // Whatever was open before goes, its report thread too: an open that
        // finds no mouse leaves no thread behind.
        io_.reset();
        feature_.reset();
        auto found = FindInterface(config_);
        if (!found)
            return false;
        feature_ = win::unique_file(::CreateFileA(found->path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
        featureLength_ = found->featureLength;
        if (feature_)
            io_ = std::make_unique<IoThread>();
        return bool(feature_);
    }

    void Close() override {
        std::lock_guard g(lock_);
        io_.reset(); // no thread is left behind once the channel is closed
        feature_.reset();
    }

    bool SetFeature(const uint8_t* report, std::size_t length) override {
        std::lock_guard g(lock_);
        if (!feature_ || report == nullptr || length == 0)
            return false;
        // Windows wants exactly the interface's feature report length.
        std::vector<uint8_t> buffer(std::max<std::size_t>(featureLength_, length), 0);
        std::copy(report, report + length, buffer.begin());
        buffer.resize(featureLength_ ? featureLength_ : length);
        HANDLE h = feature_.get();
        return io_->Call(
            [&] { return ::HidD_SetFeature(h, buffer.data(), ULONG(buffer.size())) != FALSE; },
            kReportTimeoutMs);
    }

    bool GetFeature(uint8_t* report, std::size_t length) override {
        std::lock_guard g(lock_);
        if (!feature_ || report == nullptr || length == 0)
            return false;
        std::vector<uint8_t> buffer(featureLength_ ? featureLength_ : length, 0);
        buffer[0] = report[0];
        HANDLE h = feature_.get();
        if (!io_->Call(
                [&] { return ::HidD_GetFeature(h, buffer.data(), ULONG(buffer.size())) != FALSE; },
                kReportTimeoutMs))
            return false;
        std::copy(buffer.begin(), buffer.begin() + std::min(length, buffer.size()), report);
        return true;
    }

  private:
    // Polls for arrival and removal once a second and, while the mouse is
    // there, reads its event input reports.
    bool PresentNow() override { return FindInterface(config_).has_value(); }

    void Watch() noexcept override {
        while (!stopping()) {
            auto found = FindInterface(config_);
            ReportPresence(found.has_value());
            if (found && ReadEvents(*found)) {
                if (stopping())
                    break;
                // The reads broke: the mouse went away, and every handle the
                // caller holds went with it, even if it is listed again by
                // the next look. Its return is a new arrival.
                ReportPresence(false);
            }
            MarkReady();
            ::WaitForSingleObject(stop_event(), 1000);
        }
    }

    // Returns when the device goes away or watching stops.
    bool ReadEvents(const FoundInterface& found) {
        win::unique_file input(::CreateFileA(found.path.c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
        win::unique_handle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!input || !done || found.inputLength == 0)
            return false;
        MarkReady(); // the system queues this handle's reports from now on
        std::vector<uint8_t> buffer(found.inputLength);
        for (;;) {
            OVERLAPPED ov{};
            ov.hEvent = done.get();
            ::ResetEvent(ov.hEvent);
            DWORD got = 0;
            if (!::ReadFile(input.get(), buffer.data(), DWORD(buffer.size()), nullptr, &ov) &&
                ::GetLastError() != ERROR_IO_PENDING)
                return true;
            HANDLE waits[2] = {done.get(), stop_event()};
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                ::CancelIoEx(input.get(), &ov);
                ::GetOverlappedResult(input.get(), &ov, &got, TRUE);
                return true;
            }
            if (!::GetOverlappedResult(input.get(), &ov, &got, FALSE))
                return true; // removed
            if (auto e = DecodeEventReport(buffer.data(), got))
                ReportEvent(e->cls, e->value);
        }
    }

    DriverConfig config_;
    std::mutex lock_;
    win::unique_file feature_;
    USHORT featureLength_ = 0;
    std::unique_ptr<IoThread> io_;
};

} // namespace

std::unique_ptr<Transport> MakeHidTransport(const DriverConfig& config) {
    return std::make_unique<HidTransport>(config);
}

} // namespace gm::hid
