#include "monitor/device_jobs.h"

#include "monitor/device_reports.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <optional>

namespace gm::mon {
namespace {

constexpr unsigned kWaitStepMs = 100;
constexpr int kAckAttempts = 10;
constexpr unsigned kAckRetryMs[] = {1000, 1500, 2000}; // before attempts 1, 2, 3 and later
constexpr unsigned kMacroSelectAckMs = 300;
constexpr unsigned kSelectSettleMs = 200;
constexpr unsigned kGroupPauseMs = 500;
constexpr unsigned kOtgPauseMs = 100;
constexpr unsigned kMacroPauseMs = 200;
constexpr unsigned kProfileSettleMs = 500;
constexpr int kMacroReadAttempts = 3;

// The mouse's first status poll comes later after the larger reports.
unsigned FirstAckWaitMs(uint8_t id) {
    switch (id) {
    case kPerformanceId:
    case kMacroId:
        return 200;
    case kButtonTableId:
        return 500;
    default: // 5, 8, 14
        return 100;
    }
}

// Runs `f` on the block with the lock held: the only way jobs touch it.
template <class F> auto Locked(WorkingBlock& w, F&& f) {
    std::lock_guard<std::mutex> hold(w.lock);
    return f(w.block);
}

template <std::size_t N> bool Send(DeviceIo& io, const std::array<uint8_t, N>& report) {
    return SendAndAcknowledge(io, report.data(), N);
}

bool Select(DeviceIo& io, int profile, int item) {
    const SelectReport r = EncodeSelect(profile, item);
    return io.SetFeature(r.data(), r.size());
}

template <std::size_t N> bool Get(DeviceIo& io, std::array<uint8_t, N>& report, uint8_t id) {
    report.fill(0);
    report[0] = id;
    return io.GetFeature(report.data(), N);
}

// Performance record or button table: the select is not acknowledged, the
// mouse is given a fixed time instead. A refused select is not followed by a
// read, which could answer with whatever was selected before.
template <std::size_t N>
bool ReadSelected(DeviceIo& io, int profile, int item, std::array<uint8_t, N>& report, uint8_t id) {
    if (!Select(io, profile, item))
        return false;
    io.Sleep(kSelectSettleMs);
    return Get(io, report, id);
}

bool ReadMacro(DeviceIo& io, int profile, int button, MacroReport& report) {
    return Select(io, profile, button) && Acknowledge(io, kMacroSelectAckMs) &&
           Get(io, report, kMacroId);
}

enum class ReadResult { Complete, MacrosMissing, Aborted };

// For each profile whose change flags ask for it, the report `make` builds
// from the block (under the lock), sent and followed by the group pause;
// false when the job was aborted.
template <class Make> bool SendForEveryProfile(DeviceIo& io, WorkingBlock& working, Make make) {
    for (int p = 0; p < kProfileCount; ++p) {
        const auto r = Locked(working, [&](SettingsBlock& b) { return make(b, p); });
        if (!r)
            continue;
        Send(io, *r);
        Wait(io, kGroupPauseMs);
        if (io.Aborted())
            return false;
    }
    return true;
}

// One selected record (performance or button table) of each profile, with
// the pause after each; false when the job was aborted.
template <class Report, class Decode>
bool ReadEveryProfile(DeviceIo& io, WorkingBlock& working, int item, uint8_t id, Decode decode) {
    for (int p = 0; p < kProfileCount; ++p) {
        Report r;
        if (ReadSelected(io, p, item, r, id))
            Locked(working, [&](SettingsBlock& b) { decode(r.data(), r.size(), b.Profile(p)); });
        Wait(io, kGroupPauseMs);
        if (io.Aborted())
            return false;
    }
    return true;
}

ReadResult ReadEverything(DeviceIo& io, WorkingBlock& working) {
    ProfileReport current;
    if (Get(io, current, kProfileId)) {
        if (const auto p = DecodeCurrentProfile(current.data(), current.size()))
            Locked(working, [&](SettingsBlock& b) { b.SetCurrentProfile(*p); });
    }
    Wait(io, kGroupPauseMs);
    if (io.Aborted())
        return ReadResult::Aborted;

    if (!ReadEveryProfile<PerformanceReport>(io, working, kSelectPerformance, kPerformanceId,
                                             DecodePerformance) ||
        !ReadEveryProfile<ButtonTableReport>(io, working, kSelectButtonTable, kButtonTableId,
                                             DecodeButtonTable))
        return ReadResult::Aborted;

    OtgReport otg;
    if (Get(io, otg, kOtgId)) {
        Locked(working, [&](SettingsBlock& b) {
            if (b.HasCurrentProfile())
                DecodeOtg(otg.data(), otg.size(), b.Profile(b.CurrentProfile()));
        });
    }
    Wait(io, kGroupPauseMs);
    if (io.Aborted())
        return ReadResult::Aborted;

    // Macros of the buttons the mouse's own tables call macros; the first
    // macro that cannot be read ends the reading.
    bool allRead = true;
    for (int p = 0; p < kProfileCount && allRead; ++p) {
        for (int button = 0; button < kButtonCount && allRead; ++button) {
            const bool isMacro = Locked(working, [&](SettingsBlock& b) {
                return b.Profile(p).Button(button).Get(btn::FunctionType) == fn::Macro;
            });
            if (!isMacro)
                continue;
            bool read = false;
            for (int attempt = 0; attempt < kMacroReadAttempts && !read; ++attempt) {
                if (attempt > 0)
                    Wait(io, kGroupPauseMs);
                if (io.Aborted())
                    return ReadResult::Aborted;
                MacroReport r;
                read = ReadMacro(io, p, button, r) && Locked(working, [&](SettingsBlock& b) {
                           return DecodeMacro(r.data(), r.size(), b.Profile(p).Button(button), p,
                                              button);
                       });
            }
            if (io.Aborted())
                return ReadResult::Aborted;
            allRead = read;
        }
        if (!allRead)
            break;
        Wait(io, kMacroPauseMs);
        if (io.Aborted())
            return ReadResult::Aborted;
    }

    Locked(working, [](SettingsBlock& b) {
        for (int p = 0; p < kProfileCount; ++p)
            for (int button = 0; button < kButtonCount; ++button)
                b.SetButtonChangeFlag(p, button, 0);
    });
    return allRead ? ReadResult::Complete : ReadResult::MacrosMissing;
}

} // namespace

void Wait(DeviceIo& io, unsigned ms) {
    for (unsigned step = 0; step < ms / kWaitStepMs; ++step) {
        if (io.Aborted())
            return;
        io.Sleep(kWaitStepMs);
    }
}

bool Acknowledge(DeviceIo& io, unsigned firstWaitMs) {
    for (int attempt = 0; attempt < kAckAttempts; ++attempt) {
        Wait(io, attempt == 0
                     ? firstWaitMs
                     : kAckRetryMs[std::min<std::size_t>(attempt, std::size(kAckRetryMs)) - 1]);
        if (io.Aborted())
            return false;
        uint8_t status[kSelectLength] = {kSelectId, 0, 0};
        if (!io.GetFeature(status, sizeof status))
            return false;
        if (status[1] == kStatusDone)
            return true;
        if (status[1] != kStatusBusy)
            return false;
    }
    return false;
}

bool SendAndAcknowledge(DeviceIo& io, const uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0 || !io.SetFeature(report, length))
        return false;
    return Acknowledge(io, FirstAckWaitMs(report[0]));
}

void ApplyJob(DeviceIo& io, WorkingBlock& working, JobHost& host) {
    // Each report is built under the lock and sent without it. A failed
    // send or acknowledgement does not stop the job; an abort does.
    const auto profileReport =
        Locked(working, [](SettingsBlock& b) -> std::optional<ProfileReport> {
            if (b.CurrentProfileChangeFlag() != 1 || !b.HasCurrentProfile())
                return std::nullopt;
            return EncodeCurrentProfile(b.CurrentProfile());
        });
    if (profileReport) {
        Send(io, *profileReport);
        Wait(io, kGroupPauseMs);
    }
    if (io.Aborted())
        return;

    const bool sent =
        SendForEveryProfile(io, working,
                            [](SettingsBlock& b, int p) -> std::optional<PerformanceReport> {
                                if (b.PerformanceChangeFlag(p) != 1)
                                    return std::nullopt;
                                return EncodePerformance(b.Profile(p), p);
                            }) &&
        SendForEveryProfile(io, working,
                            [](SettingsBlock& b, int p) -> std::optional<ButtonTableReport> {
                                for (int button = 0; button < kButtonCount; ++button)
                                    if (b.ButtonChangeFlag(p, button) == 1)
                                        return EncodeButtonTable(b.Profile(p), p);
                                return std::nullopt;
                            });
    if (!sent || io.Aborted())
        return;

    const auto otg = Locked(working, [](SettingsBlock& b) -> std::optional<OtgReport> {
        if (!b.HasCurrentProfile() || b.OTGChangeFlag(b.CurrentProfile()) != 1)
            return std::nullopt;
        return EncodeOtg(b.Profile(b.CurrentProfile()));
    });
    if (otg) {
        Send(io, *otg);
        Wait(io, kOtgPauseMs);
    }
    if (io.Aborted())
        return;

    for (int p = 0; p < kProfileCount; ++p) {
        for (int button = 0; button < kButtonCount; ++button) {
            const auto r =
                Locked(working, [p, button](SettingsBlock& b) -> std::optional<MacroReport> {
                    const ButtonView v = b.Profile(p).Button(button);
                    if (b.ButtonChangeFlag(p, button) != 1 || v.Get(btn::FunctionType) != fn::Macro)
                        return std::nullopt;
                    return EncodeMacro(v, p, button);
                });
            if (!r)
                continue;
            Send(io, *r);
            Wait(io, kMacroPauseMs);
            if (io.Aborted())
                return;
        }
    }
    if (io.Aborted())
        return;

    // The change flags stay set: the configuration program sets them afresh
    // before every apply.
    host.ShowProfileNotice();
    host.ApplyDone();
}

void ReadBackJob(DeviceIo& io, WorkingBlock& working, JobHost& host) {
    if (ReadEverything(io, working) == ReadResult::Complete) {
        // Saved and shared from a copy, so neither holds the lock.
        const auto copy = std::make_unique<SettingsBlock>();
        Locked(working, [&](SettingsBlock& b) { *copy = b; });
        host.SaveAll(*copy);
        host.CopyToShared(*copy);
        host.SettingsReadBack();
    }
    SendHostAttached(io, true);
}

void ProfileJob(DeviceIo& io, WorkingBlock& working, JobHost& host) {
    const auto r = Locked(working, [](SettingsBlock& b) -> std::optional<ProfileReport> {
        if (!b.HasCurrentProfile())
            return std::nullopt;
        return EncodeCurrentProfile(b.CurrentProfile());
    });
    if (!r)
        return;
    Send(io, *r);
    io.Sleep(kProfileSettleMs);
    host.ShowProfileNotice();
}

void ReadVersion(DeviceIo& io, WorkingBlock& working, JobHost& host) {
    std::array<uint8_t, kVersionLength> r;
    if (!Get(io, r, kVersionId))
        return;
    const auto v = DecodeVersion(r.data(), r.size());
    if (!v)
        return;
    host.WriteFirmwareVersion(v->firmware);
    Locked(working, [&](SettingsBlock& b) { b.SetMouseType(v->mouseType); });
}

void SendHostAttached(DeviceIo& io, bool attached) {
    Send(io, EncodeHostAttached(attached));
}

} // namespace gm::mon
