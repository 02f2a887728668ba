#include "emulator/pipe_server_win.h"

#include "emulator/detached_thread_win.h"

#include <algorithm>

namespace gm::emu {
namespace {

HANDLE MakePipe(const std::string& name) {
    return ::CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                              PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
}

} // namespace

PipeServer::PipeServer(std::string pipe, VirtualMouse& mouse, std::function<void()> changed)
    : pipe_(std::move(pipe)), mouse_(mouse), changed_(std::move(changed)) {}

PipeServer::~PipeServer() {
    Stop();
}

bool PipeServer::Start() {
    stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    quit_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop_ || !quit_)
        return false;
    // Create the first instance here so a second server on the same name
    // fails at once instead of serving half the clients.
    HANDLE first = ::CreateNamedPipeA(
        pipe_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 4096, 4096,
        0, nullptr);
    if (first == INVALID_HANDLE_VALUE)
        return false;
    acceptor_ = std::thread([this, first] { AcceptLoop(first); });
    return true;
}

void PipeServer::Stop() {
    if (!stop_)
        return;
    ::SetEvent(stop_.get());
    if (acceptor_.joinable())
        acceptor_.join();
    {
        std::lock_guard g(subscribersLock_);
        for (auto& s : subscribers_) {
            s->connection.Close();
            ::SetEvent(s->dead.get());
        }
        subscribers_.clear();
    }
    {
        std::unique_lock g(clientsLock_);
        clientsDone_.wait(g, [this] { return clients_ == 0; });
    }
    stop_.reset();
}

// The first instance listens from the start, so a client that comes as soon
// as the server is up finds the pipe. The next instance is made before a
// connected one is served: the name never lacks an instance, so a client
// finds either one that listens or, for a moment, only busy ones and waits.
void PipeServer::AcceptLoop(HANDLE first) noexcept {
    win::unique_handle connected(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE pipe = first;
    while (::WaitForSingleObject(stop_.get(), 0) != WAIT_OBJECT_0) {
        if (pipe == INVALID_HANDLE_VALUE)
            pipe = MakePipe(pipe_);
        if (pipe == INVALID_HANDLE_VALUE) {
            ::Sleep(100);
            continue;
        }
        OVERLAPPED ov{};
        ov.hEvent = connected.get();
        ::ResetEvent(ov.hEvent);
        bool ok = ::ConnectNamedPipe(pipe, &ov) != FALSE;
        if (!ok) {
            const DWORD e = ::GetLastError();
            if (e == ERROR_PIPE_CONNECTED) {
                ok = true;
            } else if (e == ERROR_IO_PENDING) {
                HANDLE waits[2] = {connected.get(), stop_.get()};
                DWORD n = 0;
                if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
                    ok = ::GetOverlappedResult(pipe, &ov, &n, FALSE) != FALSE;
                else {
                    ::CancelIoEx(pipe, &ov);
                    ::GetOverlappedResult(pipe, &ov, &n, TRUE);
                }
            }
        }
        if (!ok) {
            ::CloseHandle(pipe);
            pipe = INVALID_HANDLE_VALUE;
            continue;
        }
        const HANDLE next = MakePipe(pipe_);
        {
            std::lock_guard g(clientsLock_);
            ++clients_;
        }
        const bool started = StartDetachedThread([this, pipe] {
            Serve(pipe);
            std::lock_guard g(clientsLock_);
            if (--clients_ == 0)
                clientsDone_.notify_all();
        });
        if (!started) {
            ::CloseHandle(pipe);
            std::lock_guard g(clientsLock_);
            if (--clients_ == 0)
                clientsDone_.notify_all();
        }
        pipe = next;
    }
    if (pipe != INVALID_HANDLE_VALUE)
        ::CloseHandle(pipe); // made, never connected
}

std::shared_ptr<PipeServer::Subscriber> PipeServer::Subscribe(PipeConnection connection) {
    auto s = std::make_shared<Subscriber>();
    s->connection = std::move(connection);
    s->dead.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!s->dead)
        return nullptr;
    std::lock_guard g(subscribersLock_);
    bool plugged;
    {
        std::lock_guard m(mouseLock_);
        plugged = mouse_.plugged();
    }
    if (!s->connection.Write(EncodePlug(plugged), kExchangeTimeoutMs))
        return nullptr;
    subscribers_.push_back(s);
    return s;
}

void PipeServer::Broadcast(const std::vector<Notification>& notes) {
    if (notes.empty())
        return;
    std::lock_guard g(subscribersLock_);
    for (const Notification& n : notes) {
        if (n.kind == Notification::RawInput)
            continue; // for the HID interfaces only
        const Bytes message =
            n.kind == Notification::Plug ? EncodePlug(n.plugged) : EncodeEvent(n.cls, n.value);
        for (auto it = subscribers_.begin(); it != subscribers_.end();) {
            if ((*it)->connection.Write(message, kExchangeTimeoutMs)) {
                ++it;
            } else {
                ::SetEvent((*it)->dead.get());
                it = subscribers_.erase(it);
            }
        }
    }
    if (hid_.notes)
        hid_.notes(notes);
}

CommandResult PipeServer::Execute(const std::string& line) {
    CommandResult r;
    {
        std::lock_guard m(mouseLock_);
        r = mouse_.Execute(line);
        if (changed_)
            changed_();
    }
    Broadcast(r.notes);
    if (hid_.commandDone)
        hid_.commandDone();
    if (r.quit && quit_)
        ::SetEvent(quit_.get());
    return r;
}

ReportResult PipeServer::SetReport(const uint8_t* data, std::size_t length) {
    ReportResult r;
    {
        std::lock_guard m(mouseLock_);
        r = mouse_.Set(data, length);
        if (changed_)
            changed_();
    }
    Broadcast(r.notes);
    return r;
}

ReportResult PipeServer::GetReport(uint8_t* data, std::size_t length) {
    ReportResult r;
    {
        std::lock_guard m(mouseLock_);
        r = mouse_.Get(data, length);
        if (changed_)
            changed_();
    }
    Broadcast(r.notes);
    return r;
}

void PipeServer::Serve(HANDLE pipe) noexcept {
    PipeConnection c;
    if (!c.Adopt(pipe))
        return;
    for (;;) {
        auto message = c.Read(INFINITE, stop_.get());
        if (!message)
            return;
        auto request = ParseRequest(message->data(), message->size());
        if (!request)
            return; // a client that speaks nonsense is dropped
        Bytes answer;
        unsigned delayMs = 0;
        switch (request->op) {
        case Op::Hello: {
            std::lock_guard m(mouseLock_);
            answer = EncodeHelloAnswer(mouse_.plugged());
            break;
        }
        case Op::Interfaces:
            answer = EncodeInterfacesAnswer(hid_.list ? hid_.list() : EncodeHidList({}));
            break;
        case Op::Set: {
            ReportResult r = SetReport(request->report.data(), request->report.size());
            delayMs = r.delayMs;
            if (r.reply != Reply::Silent)
                answer = EncodeSetAnswer(r.reply == Reply::Ok);
            break;
        }
        case Op::Get: {
            Bytes report(request->length, 0);
            report[0] = request->reportId;
            ReportResult r = GetReport(report.data(), report.size());
            delayMs = r.delayMs;
            report.resize(std::min(report.size(), r.answerLength));
            if (r.reply != Reply::Silent)
                answer = EncodeGetAnswer(r.reply == Reply::Ok, report.data(), report.size());
            break;
        }
        case Op::Command: {
            CommandResult r = Execute(request->text);
            answer = EncodeCommandAnswer(r.ok, r.text);
            break;
        }
        case Op::Subscribe: {
            // The list and this thread share the subscriber, so its event
            // outlives whichever lets go first.
            auto subscriber = Subscribe(std::move(c));
            if (!subscriber)
                return;
            HANDLE waits[2] = {subscriber->dead.get(), stop_.get()};
            ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            return;
        }
        default:
            return;
        }
        // A slow mouse: the answer comes late, with the mouse free meanwhile
        // for buttons, commands and other clients.
        if (delayMs > 0 && !answer.empty() &&
            ::WaitForSingleObject(stop_.get(), delayMs) == WAIT_OBJECT_0)
            return;
        if (!answer.empty() && !c.Write(answer, kExchangeTimeoutMs))
            return;
    }
}

} // namespace gm::emu
