#include "emulator/hid_device_server_win.h"

#include "emulator/detached_thread_win.h"

#include <algorithm>
#include <atomic>
#include <optional>

namespace gm::emu {
namespace {

bool SameShape(const HidInterface& a, const HidInterface& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId && a.usagePage == b.usagePage &&
           a.usage == b.usage && a.featureLength == b.featureLength &&
           a.inputLength == b.inputLength && a.mouse == b.mouse;
}

} // namespace

// One open handle of the host on an interface. The handle is closed only
// when the last owner lets go; killing a connection disconnects it, which
// fails whatever the host does with it next.
struct HidDeviceServer::Connection {
    Connection(HANDLE p, int id) : pipe(p), iface(id) {
        readEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        writeEvent.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        dead.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    }
    ~Connection() { ::CloseHandle(pipe); }
    bool ok() const { return readEvent && writeEvent && dead; }

    void Kill() {
        ::DisconnectNamedPipe(pipe);
        ::SetEvent(dead.get());
    }

    bool Write(const Bytes& message, DWORD timeoutMs) {
        std::lock_guard g(writeLock);
        OVERLAPPED ov{};
        ov.hEvent = writeEvent.get();
        ::ResetEvent(ov.hEvent);
        DWORD n = 0;
        if (!::WriteFile(pipe, message.data(), DWORD(message.size()), nullptr, &ov) &&
            ::GetLastError() != ERROR_IO_PENDING)
            return false;
        if (::WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0) {
            ::CancelIoEx(pipe, &ov);
            ::GetOverlappedResult(pipe, &ov, &n, TRUE);
            return false;
        }
        return ::GetOverlappedResult(pipe, &ov, &n, FALSE) && n == message.size();
    }

    // One request; nothing when the host closed, the connection was killed
    // or the server stops.
    std::optional<Bytes> Read(HANDLE stop) {
        Bytes message(2048);
        OVERLAPPED ov{};
        ov.hEvent = readEvent.get();
        ::ResetEvent(ov.hEvent);
        DWORD n = 0;
        if (!::ReadFile(pipe, message.data(), DWORD(message.size()), nullptr, &ov) &&
            ::GetLastError() != ERROR_IO_PENDING)
            return std::nullopt;
        HANDLE waits[3] = {ov.hEvent, dead.get(), stop};
        if (::WaitForMultipleObjects(3, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
            ::CancelIoEx(pipe, &ov);
            ::GetOverlappedResult(pipe, &ov, &n, TRUE);
            return std::nullopt;
        }
        if (!::GetOverlappedResult(pipe, &ov, &n, FALSE))
            return std::nullopt; // broken, or longer than any request
        message.resize(n);
        return message;
    }

    HANDLE pipe;
    int iface;
    win::unique_handle readEvent, writeEvent, dead;
    std::mutex writeLock;
    std::atomic<bool> listener{true};
};

HidDeviceServer::HidDeviceServer(std::string controlPipe, PipeServer& server, VirtualMouse& mouse)
    : controlPipe_(std::move(controlPipe)), server_(server), mouse_(mouse) {}

HidDeviceServer::~HidDeviceServer() {
    Stop();
}

bool HidDeviceServer::Attach() {
    stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    wake_.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!stop_ || !wake_)
        return false;
    for (Slot& s : slots_) {
        s.event.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!s.event)
            return false;
    }
    server_.SetHidHooks({[this](const std::vector<Notification>& n) { Notify(n); },
                         [this] { Sync(); }, [this] { return List(); }});
    return true;
}

void HidDeviceServer::Start() {
    {
        std::lock_guard g(lock_);
        started_ = true;
    }
    acceptor_ = std::thread([this] { AcceptLoop(); });
    Sync();
}

void HidDeviceServer::Stop() {
    if (!stop_)
        return;
    {
        std::lock_guard g(lock_);
        stopping_ = true;
    }
    armed_.notify_all();
    ::SetEvent(stop_.get());
    if (acceptor_.joinable())
        acceptor_.join();
    {
        std::lock_guard g(lock_);
        stopping_ = true;
        while (!published_.empty())
            Unpublish(published_.begin()->first);
    }
    armed_.notify_all();
    std::unique_lock g(clientsLock_);
    clientsDone_.wait(g, [this] { return clients_ == 0; });
}

void HidDeviceServer::Notify(const std::vector<Notification>& notes) {
    {
        std::lock_guard g(lock_);
        if (!started_)
            return;
    }
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const Notification& n = notes[k];
        if (n.kind == Notification::Plug) {
            // Pulled and plugged in one go (replug): one step, so no host
            // can look in between and find the mouse missing.
            const bool replug = !n.plugged && k + 1 < notes.size() &&
                                notes[k + 1].kind == Notification::Plug && notes[k + 1].plugged;
            Sync(replug);
            k += replug ? 1 : 0;
            continue;
        }
        std::lock_guard g(lock_);
        if (n.kind == Notification::RawInput) {
            SendInput(n.input.interfaceId, n.input.bytes);
            continue;
        }
        for (auto& [id, p] : published_)
            if (p.info.mouse)
                SendInput(id, {2, uint8_t(n.cls), uint8_t(n.cls >> 8), uint8_t(n.value),
                               uint8_t(n.value >> 8)});
    }
}

// Publishes what the table says is present now, and only that.
void HidDeviceServer::Sync(bool renewMouse) {
    std::vector<HidInterface> want;
    {
        std::lock_guard m(server_.lock());
        for (const HidInterface& i : mouse_.hid().list())
            if (i.present && (!i.mouse || mouse_.plugged()))
                want.push_back(i);
    }
    std::unique_lock g(lock_);
    if (!started_ || stopping_)
        return;
    std::vector<int> gone;
    for (const auto& [id, p] : published_) {
        auto it = std::find_if(want.begin(), want.end(), [&](auto& w) { return w.id == id; });
        if (it == want.end() || !SameShape(*it, p.info) || (renewMouse && p.info.mouse))
            gone.push_back(id);
    }
    for (int id : gone)
        Unpublish(id);
    for (const HidInterface& w : want)
        if (!published_.count(w.id))
            Publish(w);
    // Return once the new interfaces listen: whoever changed the table may
    // open them next.
    armed_.wait(g, [this] {
        return stopping_ || std::none_of(slots_.begin(), slots_.end(),
                                         [](const Slot& s) { return s.armNeeded; });
    });
}

Bytes HidDeviceServer::List() {
    std::vector<HidInterface> table;
    {
        std::lock_guard m(server_.lock());
        table = mouse_.hid().list();
    }
    std::lock_guard g(lock_);
    if (!started_)
        return EncodeHidList({});
    std::vector<HidInterface> listed;
    for (HidInterface i : table) {
        auto p = published_.find(i.id);
        if (p == published_.end())
            continue;
        i.generation = p->second.info.generation;
        listed.push_back(i);
    }
    return EncodeHidList(listed);
}

void HidDeviceServer::Publish(const HidInterface& info) {
    Published& p = published_[info.id];
    p.info = info;
    p.info.generation = ++generation_;
    p.path = HidInterfacePath(controlPipe_, p.info);
    std::size_t armed = 0;
    for (Slot& s : slots_) {
        if (armed == kListeners)
            break;
        if (s.owner >= 0)
            continue;
        s.owner = info.id;
        s.armNeeded = true;
        ++armed;
    }
    ::SetEvent(wake_.get());
}

void HidDeviceServer::Unpublish(int id) {
    auto it = published_.find(id);
    if (it == published_.end())
        return;
    for (Slot& s : slots_)
        if (s.owner == id)
            Disarm(s);
    for (auto& c : it->second.connections)
        c->Kill();
    published_.erase(it);
}

void HidDeviceServer::ArmPending() {
    for (Slot& s : slots_) {
        if (!s.armNeeded)
            continue;
        s.armNeeded = false;
        if (s.owner >= 0)
            Arm(s);
    }
    armed_.notify_all();
}

void HidDeviceServer::Arm(Slot& s) {
    s.pipe = ::CreateNamedPipeA(published_[s.owner].path.c_str(),
                                PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    s.ov = OVERLAPPED{};
    s.ov.hEvent = s.event.get();
    ::ResetEvent(s.event.get());
    if (s.pipe == INVALID_HANDLE_VALUE)
        return;
    if (!::ConnectNamedPipe(s.pipe, &s.ov)) {
        const DWORD e = ::GetLastError();
        if (e == ERROR_PIPE_CONNECTED) {
            ::SetEvent(s.event.get()); // the host came between create and connect
        } else if (e != ERROR_IO_PENDING) {
            ::CloseHandle(s.pipe);
            s.pipe = INVALID_HANDLE_VALUE;
        }
    }
}

void HidDeviceServer::Disarm(Slot& s) {
    if (s.pipe != INVALID_HANDLE_VALUE) {
        DWORD n = 0;
        ::CancelIoEx(s.pipe, &s.ov);
        ::GetOverlappedResult(s.pipe, &s.ov, &n, TRUE);
        ::DisconnectNamedPipe(s.pipe);
        ::CloseHandle(s.pipe);
    }
    s.pipe = INVALID_HANDLE_VALUE;
    s.owner = -1;
    s.armNeeded = false;
    ::ResetEvent(s.event.get());
}

// Takes on every host handle that has connected to the interface. Also run
// before an input report goes out, so a handle the host has just opened
// never misses one.
void HidDeviceServer::AcceptPending(int id) {
    auto p = published_.find(id);
    if (p == published_.end())
        return;
    for (Slot& s : slots_) {
        if (s.owner != id || s.pipe == INVALID_HANDLE_VALUE ||
            ::WaitForSingleObject(s.event.get(), 0) != WAIT_OBJECT_0)
            continue;
        HANDLE pipe = s.pipe;
        DWORD n = 0;
        const bool connected = ::GetOverlappedResult(pipe, &s.ov, &n, FALSE) ||
                               ::GetLastError() == ERROR_PIPE_CONNECTED;
        s.pipe = INVALID_HANDLE_VALUE;
        ::ResetEvent(s.event.get());
        s.armNeeded = true; // the accepting thread listens on it again
        ::SetEvent(wake_.get());
        if (!connected) {
            ::CloseHandle(pipe);
            continue;
        }
        auto c = std::make_shared<Connection>(pipe, id);
        if (!c->ok())
            continue;
        // A thread of its own, its handle let go at once: a probing open
        // ends its thread quickly, and nothing waits for it but Stop.
        {
            std::lock_guard g(clientsLock_);
            ++clients_;
        }
        const bool started = StartDetachedThread([this, c] {
            Serve(c);
            std::lock_guard g(clientsLock_);
            if (--clients_ == 0)
                clientsDone_.notify_all();
        });
        if (!started) {
            c->Kill();
            std::lock_guard g(clientsLock_);
            if (--clients_ == 0)
                clientsDone_.notify_all();
            continue;
        }
        p->second.connections.push_back(c);
        Count(id, false);
    }
}

void HidDeviceServer::AcceptLoop() noexcept {
    std::vector<HANDLE> waits{stop_.get(), wake_.get()};
    for (Slot& s : slots_)
        waits.push_back(s.event.get());
    for (;;) {
        const DWORD r =
            ::WaitForMultipleObjects(DWORD(waits.size()), waits.data(), FALSE, INFINITE);
        if (r == WAIT_OBJECT_0 || r == WAIT_FAILED)
            return;
        std::lock_guard g(lock_);
        std::vector<int> ids;
        for (const auto& entry : published_)
            ids.push_back(entry.first);
        for (int id : ids)
            AcceptPending(id);
        ArmPending();
    }
}

void HidDeviceServer::SendInput(int id, const std::vector<uint8_t>& bytes) {
    auto p = published_.find(id);
    if (p == published_.end())
        return;
    AcceptPending(id);
    const Bytes report = HidInputReport(p->second.info, bytes);
    auto& list = p->second.connections;
    for (auto it = list.begin(); it != list.end();) {
        if (!(*it)->listener) {
            ++it;
        } else if ((*it)->Write(report, kExchangeTimeoutMs)) {
            ++it;
        } else {
            (*it)->Kill();
            it = list.erase(it);
        }
    }
}

void HidDeviceServer::Count(int id, bool report) {
    std::lock_guard m(server_.lock());
    if (HidInterface* i = mouse_.hid().Find(uint16_t(id)))
        ++(report ? i->reports : i->opens);
}

void HidDeviceServer::Serve(std::shared_ptr<Connection> c) noexcept {
    for (;;) {
        auto message = c->Read(stop_.get());
        if (!message)
            break;
        auto request = ParseHidRequest(message->data(), message->size());
        if (!request)
            break; // not a host speaking our interface
        c->listener = false;
        if (!Answer(*c, *request))
            break;
    }
    std::lock_guard g(lock_);
    auto p = published_.find(c->iface);
    if (p != published_.end())
        p->second.connections.remove(c);
}

bool HidDeviceServer::Answer(Connection& c, const HidRequest& request) {
    bool mouse = false;
    {
        std::lock_guard g(lock_);
        auto p = published_.find(c.iface);
        mouse = p != published_.end() && p->second.info.mouse;
    }
    Count(c.iface, true);
    if (!mouse) // a decoy has no feature reports: it refuses them all
        return c.Write(request.set ? EncodeHidSetAnswer(request.seq, false)
                                   : EncodeHidGetAnswer(request.seq, false, nullptr, 0),
                       kExchangeTimeoutMs);
    Bytes answer;
    ReportResult r;
    if (request.set) {
        r = server_.SetReport(request.report.data(), request.report.size());
        answer = EncodeHidSetAnswer(request.seq, r.reply == Reply::Ok);
    } else {
        Bytes report(request.length, 0);
        report[0] = request.reportId;
        r = server_.GetReport(report.data(), report.size());
        report.resize(std::min(report.size(), r.answerLength));
        answer =
            EncodeHidGetAnswer(request.seq, r.reply == Reply::Ok, report.data(), report.size());
    }
    if (r.reply == Reply::Silent)
        return true; // a stalled mouse: the host gives up on its own
    if (r.delayMs > 0) {
        HANDLE waits[2] = {stop_.get(), c.dead.get()};
        if (::WaitForMultipleObjects(2, waits, FALSE, r.delayMs) != WAIT_TIMEOUT)
            return false;
    }
    return c.Write(answer, kExchangeTimeoutMs);
}

} // namespace gm::emu
