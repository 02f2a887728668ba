#include "emulator/emulator_client_win.h"

#include <algorithm>
#include <cstring>

namespace gm::emu {
bool PipeConnection::Connect(const std::string& pipe, DWORD timeoutMs, DWORD gapMs) {
    Close();
    const DWORD start = ::GetTickCount();
    for (;;) {
        HANDLE h = ::CreateFileA(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            pipe_ = win::unique_file(h);
            break;
        }
        const DWORD error = ::GetLastError();
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        if (error == ERROR_FILE_NOT_FOUND) {
            // Either no virtual mouse, or it is between two listening
            // instances for a moment: look again briefly before giving up.
            if (elapsed >= std::min<DWORD>(timeoutMs, gapMs))
                return false;
            ::Sleep(10);
            continue;
        }
        if (error != ERROR_PIPE_BUSY)
            return false;
        ::WaitNamedPipeA(pipe.c_str(), std::max<DWORD>(1, timeoutMs - elapsed));
    }
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!::SetNamedPipeHandleState(pipe_.get(), &mode, nullptr, nullptr)) {
        Close();
        return false;
    }
    return MakeEvents();
}

bool PipeConnection::Adopt(HANDLE pipe) {
    Close();
    pipe_ = win::unique_file(pipe);
    return MakeEvents();
}

bool PipeConnection::MakeEvents() {
    readEvent_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    writeEvent_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!readEvent_ || !writeEvent_)
        Close();
    return IsOpen();
}

void PipeConnection::Close() {
    if (pipe_)
        ::CancelIoEx(pipe_.get(), nullptr);
    pipe_.reset();
    readEvent_.reset();
    writeEvent_.reset();
}

bool PipeConnection::Write(const Bytes& message, DWORD timeoutMs) {
    if (!pipe_)
        return false;
    OVERLAPPED ov{};
    ov.hEvent = writeEvent_.get();
    ::ResetEvent(ov.hEvent);
    DWORD written = 0;
    if (!::WriteFile(pipe_.get(), message.data(), DWORD(message.size()), nullptr, &ov) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        Close();
        return false;
    }
    if (::WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0 ||
        !::GetOverlappedResult(pipe_.get(), &ov, &written, FALSE) || written != message.size()) {
        ::CancelIoEx(pipe_.get(), &ov);
        ::GetOverlappedResult(pipe_.get(), &ov, &written, TRUE);
        Close();
        return false;
    }
    return true;
}

std::optional<Bytes> PipeConnection::Read(DWORD timeoutMs, HANDLE cancel) {
    timedOut_ = false;
    if (!pipe_)
        return std::nullopt;
    Bytes message;
    const DWORD start = ::GetTickCount();
    for (;;) {
        // A message longer than one read arrives in pieces (ERROR_MORE_DATA).
        const std::size_t have = message.size();
        if (have >= kMaxAnswer)
            break;
        message.resize(have + 4096);
        OVERLAPPED ov{};
        ov.hEvent = readEvent_.get();
        ::ResetEvent(ov.hEvent);
        DWORD got = 0;
        if (!::ReadFile(pipe_.get(), message.data() + have, 4096, nullptr, &ov) &&
            ::GetLastError() != ERROR_IO_PENDING && ::GetLastError() != ERROR_MORE_DATA)
            break;
        const DWORD elapsed = ::GetTickCount() - start;
        HANDLE waits[2] = {ov.hEvent, cancel};
        const DWORD r = ::WaitForMultipleObjects(cancel ? 2 : 1, waits, FALSE,
                                                 timeoutMs == INFINITE  ? INFINITE
                                                 : elapsed >= timeoutMs ? 0
                                                                        : timeoutMs - elapsed);
        if (r != WAIT_OBJECT_0) {
            timedOut_ = r == WAIT_TIMEOUT;
            ::CancelIoEx(pipe_.get(), &ov);
            ::GetOverlappedResult(pipe_.get(), &ov, &got, TRUE);
            break;
        }
        if (::GetOverlappedResult(pipe_.get(), &ov, &got, FALSE)) {
            message.resize(have + got);
            return message;
        }
        if (::GetLastError() != ERROR_MORE_DATA)
            break;
        message.resize(have + got);
    }
    // Time-out, cancel, broken pipe or an oversized message: the connection
    // can no longer be trusted.
    Close();
    return std::nullopt;
}

std::optional<Answer> EmulatorClient::Exchange(const Bytes& request, Op expected) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool reused = connection_.IsOpen();
        if (!reused && !connection_.Connect(pipe_, timeout_, gap_))
            return std::nullopt;
        // A connection left over from a virtual mouse that has since gone
        // fails at once (broken pipe): try once more on a fresh one. A
        // time-out is never retried: the mouse got the request and went quiet.
        if (!connection_.Write(request, timeout_)) {
            if (reused)
                continue;
            return std::nullopt;
        }
        auto reply = connection_.Read(timeout_);
        if (!reply) {
            if (reused && !connection_.timed_out())
                continue;
            return std::nullopt;
        }
        auto answer = ParseAnswer(reply->data(), reply->size());
        if (!answer || answer->op != expected) {
            connection_.Close();
            return std::nullopt;
        }
        return answer;
    }
    return std::nullopt;
}

std::optional<bool> EmulatorClient::Hello() {
    auto a = Exchange(EncodeHello(), Op::Hello);
    if (!a)
        return std::nullopt;
    return a->ok;
}

bool EmulatorClient::SetFeature(const uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0 || length > kMaxReport)
        return false;
    auto a = Exchange(EncodeSet(report, length), Op::Set);
    return a && a->ok;
}

bool EmulatorClient::GetFeature(uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0 || length > kMaxReport)
        return false;
    auto a = Exchange(EncodeGet(report[0], length), Op::Get);
    if (!a || !a->ok || a->report.empty())
        return false;
    std::memcpy(report, a->report.data(), std::min(length, a->report.size()));
    return true;
}

std::optional<std::pair<bool, std::string>> EmulatorClient::Command(const std::string& text) {
    auto a = Exchange(EncodeCommand(text), Op::Command);
    if (!a)
        return std::nullopt;
    return std::make_pair(a->ok, a->text);
}

} // namespace gm::emu
