#pragma once
// A client of the virtual mouse's pipe: the mouse access library, the
// command line and the tests all talk to the virtual mouse through this.
// Every exchange has a time-out; after a failed exchange the connection is
// dropped and the next call connects again, so a late answer can never be
// taken for the answer to a later request.

#include "emulator/pipe_protocol.h"
#include "win/handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace gm::emu {

inline constexpr DWORD kExchangeTimeoutMs = 1000;

class PipeConnection {
  public:
    PipeConnection() = default;
    // `gapMs`: how long "no such pipe" is taken for a server between two
    // listening instances before it counts as no server at all.
    [[nodiscard]] bool Connect(const std::string& pipe, DWORD timeoutMs,
                               DWORD gapMs = kInstanceGapMs);
    static constexpr DWORD kInstanceGapMs = 200;
    // Takes over a server-side pipe handle (opened overlapped).
    [[nodiscard]] bool Adopt(HANDLE pipe);
    void Close();
    bool IsOpen() const { return bool(pipe_); }
    [[nodiscard]] bool Write(const Bytes& message, DWORD timeoutMs);
    // One whole message; nothing on time-out, error or `cancel` being set.
    std::optional<Bytes> Read(DWORD timeoutMs, HANDLE cancel = nullptr);
    // Whether the last failed Read ran out of time (rather than breaking).
    bool timed_out() const { return timedOut_; }

  private:
    bool MakeEvents();

    win::unique_file pipe_;
    // Separate events, so one thread may read while another writes.
    win::unique_handle readEvent_;
    win::unique_handle writeEvent_;
    bool timedOut_ = false;
};

class EmulatorClient {
  public:
    // `gapMs` as for PipeConnection::Connect: a caller that knows the virtual
    // mouse runs waits longer for its next listening instance.
    explicit EmulatorClient(std::string pipe, DWORD timeoutMs = kExchangeTimeoutMs,
                            DWORD gapMs = PipeConnection::kInstanceGapMs)
        : pipe_(std::move(pipe)), timeout_(timeoutMs), gap_(gapMs) {}

    // Whether the virtual mouse answers and is plugged in.
    std::optional<bool> Hello();
    [[nodiscard]] bool SetFeature(const uint8_t* report, std::size_t length);
    // `report[0]` holds the id; on success the report (id included) is copied
    // in, never more than `length` bytes.
    [[nodiscard]] bool GetFeature(uint8_t* report, std::size_t length);
    // The text answer of a command, and whether the command succeeded.
    std::optional<std::pair<bool, std::string>> Command(const std::string& text);

    void Disconnect() { connection_.Close(); }

  private:
    std::optional<Answer> Exchange(const Bytes& request, Op expected);

    std::string pipe_;
    DWORD timeout_;
    DWORD gap_;
    PipeConnection connection_;
};

} // namespace gm::emu
