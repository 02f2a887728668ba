#include "monitor/device_jobs.h"

#include "emulator/firmware.h"
#include "monitor/device_reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace gm::mon {
namespace {

using Trace = std::vector<std::string>;

// The traffic a job is expected to produce, written the way the trace reads.
struct Expect {
    Trace t;
    Expect& Add(const std::string& s) {
        t.push_back(s);
        return *this;
    }
    // Wait(ms): 100 ms steps.
    Expect& Wait(unsigned ms) {
        for (unsigned i = 0; i < ms / 100; ++i)
            t.push_back("sleep 100");
        return *this;
    }
    Expect& Sleep(unsigned ms) { return Add("sleep " + std::to_string(ms)); }
    // A set report, acknowledged after `firstWait` at the first poll.
    Expect& Acked(const std::string& report, unsigned firstWait) {
        return Add(report).Wait(firstWait).Add("poll");
    }
    // An acknowledged report and the job's pause after it.
    Expect& Paced(const std::string& report, unsigned firstWait, unsigned pause) {
        return Acked(report, firstWait).Wait(pause);
    }
};

std::string Describe(const uint8_t* r, std::size_t n) {
    const auto b = [&](std::size_t i) { return i < n ? std::to_string(r[i]) : std::string("?"); };
    switch (r[0]) {
    case 4:
        return "select p" + b(1) + " " + b(2);
    case 5:
        return "profile " + b(2);
    case 6:
        return "performance p" + b(2);
    case 7:
        return "buttons p" + b(2);
    case 8:
        return "otg " + b(2);
    case 9:
        return "macro p" + b(2) + " b" + b(3);
    case 14:
        return "host " + b(2);
    default:
        return "set " + b(0);
    }
}

// The virtual mouse's firmware behind the jobs' interface. Records every
// exchange and sleep, never sleeps, and checks at each of them that the job
// does not hold the block lock.
class FakeMouse : public DeviceIo {
  public:
    explicit FakeMouse(WorkingBlock& w) : working_(&w) {}

    bool SetFeature(const uint8_t* report, std::size_t length) override {
        return Record(Describe(report, length)) && fw.SetFeature(report, length);
    }
    bool GetFeature(uint8_t* report, std::size_t length) override {
        return Record(report[0] == kSelectId ? "poll" : "read " + std::to_string(report[0])) &&
               fw.GetFeature(report, length);
    }
    void Sleep(unsigned ms) override { Record("sleep " + std::to_string(ms)); }
    bool Aborted() const override { return aborted; }

    void Watch(WorkingBlock& w) { working_ = &w; }
    int Count(const std::string& entry) const {
        return int(std::count(trace.begin(), trace.end(), entry));
    }

    emu::Firmware fw;
    Trace trace;
    bool aborted = false;
    int lockedCalls = 0;
    // Trace entries that fail their next N times.
    std::map<std::string, int> refuse;
    // The mouse goes away when this entry comes up (the report is lost, the
    // job is asked to stop).
    std::string unplugAt;

  private:
    bool Record(const std::string& entry) {
        std::thread([this] {
            // From another thread: a lock held by the job makes try_lock fail.
            if (working_->lock.try_lock())
                working_->lock.unlock();
            else
                ++lockedCalls;
        }).join();
        trace.push_back(entry);
        if (!unplugAt.empty() && entry == unplugAt) {
            fw.set_plugged(false);
            aborted = true;
        }
        auto it = refuse.find(entry);
        if (it != refuse.end() && it->second > 0) {
            --it->second;
            return false;
        }
        return true;
    }

    WorkingBlock* working_;
};

class FakeHost : public JobHost {
  public:
    void SaveAll(const SettingsBlock& b) override {
        calls.push_back("SaveAll");
        saved = std::make_unique<SettingsBlock>(b);
    }
    void CopyToShared(const SettingsBlock& b) override {
        calls.push_back("CopyToShared");
        shared = std::make_unique<SettingsBlock>(b);
    }
    void SettingsReadBack() override { calls.push_back("SettingsReadBack"); }
    void ApplyDone() override { calls.push_back("ApplyDone"); }
    void ShowProfileNotice() override { calls.push_back("ShowProfileNotice"); }
    void WriteFirmwareVersion(int version) override {
        calls.push_back("WriteFirmwareVersion " + std::to_string(version));
    }

    std::vector<std::string> calls;
    std::unique_ptr<SettingsBlock> saved;
    std::unique_ptr<SettingsBlock> shared;
};

void FillDefaults(SettingsBlock& b, int current) {
    b.Reset();
    b.SetCurrentProfile(current);
    for (int p = 0; p < kProfileCount; ++p)
        b.Profile(p).MakeDefault(p, LevelSet::Monitor);
}

void MakeMacro(ButtonView b, const char* name, int repeat, int events) {
    b.Set(btn::FunctionType, uint8_t(fn::Macro));
    b.Set(btn::MacroName, name);
    b.Set(btn::RepeatCount, repeat);
    b.Set(btn::EventCount, uint16_t(events));
    for (int j = 0; j < events; ++j)
        b.SetEvent(j, {uint8_t(4 + j), uint8_t(1 + j % 2), uint16_t(25 * (j + 1))});
}

class DeviceJobs : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_EQ(mouse.lockedCalls, 0) << "the block lock was held across an exchange or a sleep";
    }

    // A macro stored in the mouse for button `b` of profile `p`.
    void MouseMacro(int p, int b, const char* name) {
        auto scratch = std::make_unique<SettingsBlock>();
        ButtonView v = scratch->Profile(p).Button(b);
        MakeMacro(v, name, 2, 3);
        const MacroReport r = EncodeMacro(v, p, b);
        std::copy(r.begin(), r.end(), mouse.fw.flash().macros[p][b]);
        uint8_t* entry = mouse.fw.flash().buttons[p] + 3 + 3 * b;
        entry[0] = 16, entry[1] = 0, entry[2] = 2;
    }

    WorkingBlock working;
    FakeMouse mouse{working};
    FakeHost host;
};

// ---------------------------------------------------------------------------
// Waiting and acknowledging

TEST_F(DeviceJobs, WaitSleepsInHundredMsStepsAndStopsOnAbort) {
    Wait(mouse, 350);
    EXPECT_EQ(mouse.trace, Expect().Wait(300).t);
    mouse.trace.clear();
    Wait(mouse, 99);
    EXPECT_TRUE(mouse.trace.empty()) << "a wait below 100 ms does not sleep";
    mouse.unplugAt = "sleep 100";
    Wait(mouse, 2000);
    EXPECT_EQ(mouse.trace, Expect().Wait(100).t);
}

TEST_F(DeviceJobs, AcknowledgePollsWhileBusyWithGrowingWaits) {
    mouse.fw.faults().busyPolls = 4;
    EXPECT_TRUE(Acknowledge(mouse, 300));
    EXPECT_EQ(mouse.trace, Expect()
                               .Wait(300)
                               .Add("poll")
                               .Wait(1000)
                               .Add("poll")
                               .Wait(1500)
                               .Add("poll")
                               .Wait(2000)
                               .Add("poll")
                               .Wait(2000)
                               .Add("poll")
                               .t);
    EXPECT_EQ(mouse.fw.faults().busyPolls, 0);
}

TEST_F(DeviceJobs, AcknowledgeGivesUpAfterTenBusyAnswersOrOneFailure) {
    mouse.fw.faults().busyPolls = 50;
    EXPECT_FALSE(Acknowledge(mouse, 200));
    EXPECT_EQ(mouse.Count("poll"), 10);
    EXPECT_EQ(mouse.fw.faults().busyPolls, 40);
    EXPECT_EQ(mouse.Count("sleep 100"), 2 + 10 + 15 + 7 * 20);

    // The mouse refused the last set: failed, not retried.
    mouse.fw.faults() = {};
    mouse.fw.faults().failNextSet = true;
    const auto r = EncodeCurrentProfile(1);
    EXPECT_FALSE(mouse.fw.SetFeature(r.data(), r.size()));
    mouse.trace.clear();
    EXPECT_FALSE(Acknowledge(mouse, 100));
    EXPECT_EQ(mouse.trace, Expect().Wait(100).Add("poll").t);

    // A status that cannot be read counts as failed.
    mouse.trace.clear();
    mouse.refuse["poll"] = 1;
    EXPECT_FALSE(Acknowledge(mouse, 100));
    EXPECT_EQ(mouse.Count("poll"), 1);

    mouse.trace.clear();
    mouse.aborted = true;
    EXPECT_FALSE(Acknowledge(mouse, 500));
    EXPECT_TRUE(mouse.trace.empty());
}

TEST_F(DeviceJobs, SendAndAcknowledgeWaitsPerReportAndSkipsTheAckOfAFailedSend) {
    SettingsBlock& b = working.block;
    FillDefaults(b, 1);
    MakeMacro(b.Profile(1).Button(2), "m", 1, 2);
    const auto profile = EncodeCurrentProfile(1);
    const auto perf = EncodePerformance(b.Profile(1), 1);
    const auto table = EncodeButtonTable(b.Profile(1), 1);
    const auto otg = EncodeOtg(b.Profile(1));
    const auto macro = EncodeMacro(b.Profile(1).Button(2), 1, 2);
    const auto host14 = EncodeHostAttached(true);
    EXPECT_TRUE(SendAndAcknowledge(mouse, profile.data(), profile.size()));
    EXPECT_TRUE(SendAndAcknowledge(mouse, perf.data(), perf.size()));
    EXPECT_TRUE(SendAndAcknowledge(mouse, table.data(), table.size()));
    EXPECT_TRUE(SendAndAcknowledge(mouse, otg.data(), otg.size()));
    EXPECT_TRUE(SendAndAcknowledge(mouse, macro.data(), macro.size()));
    EXPECT_TRUE(SendAndAcknowledge(mouse, host14.data(), host14.size()));
    EXPECT_EQ(mouse.trace, Expect()
                               .Acked("profile 1", 100)
                               .Acked("performance p1", 200)
                               .Acked("buttons p1", 500)
                               .Acked("otg 10", 100)
                               .Acked("macro p1 b2", 200)
                               .Acked("host 1", 100)
                               .t);

    mouse.trace.clear();
    mouse.fw.faults().failNextSet = true;
    EXPECT_FALSE(SendAndAcknowledge(mouse, perf.data(), perf.size()));
    EXPECT_EQ(mouse.trace, Trace{"performance p1"});
}

// ---------------------------------------------------------------------------
// Job 1: apply

TEST_F(DeviceJobs, ApplySendsExactlyTheFlaggedReportsInOrder) {
    SettingsBlock& b = working.block;
    FillDefaults(b, 2);
    b.SetCurrentProfileChangeFlag(1);
    b.SetPerformanceChangeFlag(1, 1);
    b.Profile(1).Set(prof::Sensitivity_X, 17);
    b.SetPerformanceChangeFlag(3, 2); // only a 1 asks for a report
    MakeMacro(b.Profile(0).Button(3), "Combo", 4, 6);
    b.SetButtonChangeFlag(0, 3, 1);
    MakeMacro(b.Profile(0).Button(9), "unchanged", 1, 2);
    b.Profile(3).Button(5).Set(btn::FunctionType, 56);
    b.SetButtonChangeFlag(3, 5, 1); // a changed button that is no macro
    b.Profile(2).Set(prof::OTGSpeed, 33);
    b.SetOTGChangeFlag(2, 1);
    b.SetOTGChangeFlag(0, 1); // not the current profile
    const auto before = std::make_unique<SettingsBlock>(b);

    ApplyJob(mouse, working, host);

    EXPECT_EQ(mouse.trace, Expect()
                               .Paced("profile 2", 100, 500)
                               .Paced("performance p1", 200, 500)
                               .Paced("buttons p0", 500, 500)
                               .Paced("buttons p3", 500, 500)
                               .Paced("otg 33", 100, 100)
                               .Paced("macro p0 b3", 200, 200)
                               .t);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ShowProfileNotice", "ApplyDone"}));
    EXPECT_TRUE(working.block == *before)
        << "the apply leaves the block and its change flags alone";

    const emu::Flash& f = mouse.fw.flash();
    EXPECT_EQ(f.activeProfile, 2);
    EXPECT_EQ(f.performance[1][3], 17);
    EXPECT_EQ(f.buttons[3][3 + 3 * 5], 5);
    EXPECT_EQ(f.buttons[3][3 + 3 * 5 + 2], 29) << "Ctrl+Z";
    EXPECT_EQ(f.otg[2], 33);
    const MacroReport macro = EncodeMacro(b.Profile(0).Button(3), 0, 3);
    EXPECT_TRUE(std::equal(macro.begin(), macro.end(), f.macros[0][3]));
    EXPECT_EQ(f.macros[0][9][0], 0) << "an unflagged macro is not sent";
}

TEST_F(DeviceJobs, ApplyWithNothingFlaggedOnlyReportsDone) {
    FillDefaults(working.block, 0);
    ApplyJob(mouse, working, host);
    EXPECT_TRUE(mouse.trace.empty());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ShowProfileNotice", "ApplyDone"}));
}

TEST_F(DeviceJobs, ApplyGoesOnAfterFailedSendsAndAcknowledgements) {
    SettingsBlock& b = working.block;
    FillDefaults(b, 0);
    for (int p = 0; p < 3; ++p) {
        b.SetPerformanceChangeFlag(p, 1);
        b.Profile(p).Set(prof::PollingRate, 1);
    }
    mouse.fw.faults().busyPolls = 10; // the first acknowledgement never comes
    mouse.refuse["performance p1"] = 1;

    ApplyJob(mouse, working, host);

    Expect e;
    e.Add("performance p0").Wait(200).Add("poll");
    for (unsigned wait : {1000, 1500, 2000, 2000, 2000, 2000, 2000, 2000, 2000})
        e.Wait(wait).Add("poll");
    e.Wait(500).Add("performance p1").Wait(500).Acked("performance p2", 200).Wait(500);
    EXPECT_EQ(mouse.trace, e.t);
    EXPECT_EQ(mouse.fw.flash().performance[0][23], 1) << "sent, only not acknowledged";
    EXPECT_EQ(mouse.fw.flash().performance[2][23], 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ShowProfileNotice", "ApplyDone"}));
}

TEST_F(DeviceJobs, ApplyStopsAtAnAbortWithoutNotice) {
    SettingsBlock& b = working.block;
    FillDefaults(b, 0);
    for (int p = 0; p < kProfileCount; ++p)
        MakeMacro(b.Profile(p).Button(4), "m", 1, 2);
    b.SetAllFlags(1);
    mouse.unplugAt = "buttons p1";

    ApplyJob(mouse, working, host);

    EXPECT_EQ(mouse.trace.back(), "buttons p1") << "nothing after the removal";
    EXPECT_EQ(mouse.Count("otg 10"), 0);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(DeviceJobs, ApplyThenReadBackGivesTheSameSettings) {
    SettingsBlock& b = working.block;
    FillDefaults(b, 1);
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileView v = b.Profile(p);
        v.Set(prof::Sensitivity_X, 3 + p);
        v.Set(prof::Sensitivity_Y, 9 - p);
        for (int s = 0; s < kStoredStages; ++s) {
            v.Set(prof::StepFlag(s), uint8_t((p + s) % 2));
            v.Set(prof::CpiLevelX(s), 10 * p + s);
            v.Set(prof::CpiLevelY(s), 10 * p + s); // levels edited together
            v.Set(prof::Indicator(s), uint8_t(1 + (p + s) % 7));
        }
        v.Set(prof::CpiStep, p % 5);
        v.Set(prof::DpiIndicationType, uint8_t(p % 4));
        v.Set(prof::PollingRate, p % 4);
        v.Set(prof::BtnConfiguration, uint8_t(p));
        v.Set(prof::Color1Type, uint8_t(p + 1));
        v.Set(prof::Color2Type, uint8_t(p + 2));
        v.Set(prof::LightIntensity, p % 4);
        v.Set(prof::BreathSpeed, (p + 1) % 4);
        v.Set(prof::ColorFlag, p % 2);
        v.Set(prof::ColorOptions1, uint8_t(p % 2 ? p : 0));
        v.Set(prof::OTGSpeed, 20 + p);
        MakeMacro(v.Button(p), "Macro", 1 + p, 1 + 3 * p);
        v.Button(6).Set(btn::FunctionType, uint8_t(53 + p));
        v.Button(7).Set(btn::FunctionType, uint8_t(fn::Key));
        v.Button(7).Set(btn::KeyUsage, uint8_t(0x30 + p)); // no Ctrl shortcut key
        v.Button(7).Set(btn::KeyModifiers, uint8_t(p));
        v.Button(7).Set(btn::EventCount, uint16_t(1));
    }
    b.SetAllFlags(1);
    ApplyJob(mouse, working, host);
    ASSERT_EQ(host.calls.back(), "ApplyDone");

    WorkingBlock fresh;
    FillDefaults(fresh.block, 0);
    mouse.Watch(fresh);
    ReadBackJob(mouse, fresh, host);
    ASSERT_TRUE(host.saved);

    const SettingsBlock& got = fresh.block;
    EXPECT_EQ(got.CurrentProfile(), 1);
    for (int p = 0; p < kProfileCount; ++p) {
        SCOPED_TRACE("profile " + std::to_string(p));
        const ProfileView sent = b.Profile(p);
        const ProfileView back = got.Profile(p);
        for (I32Field f :
             {prof::Sensitivity_X, prof::Sensitivity_Y, prof::CpiStep, prof::PollingRate,
              prof::LightIntensity, prof::BreathSpeed, prof::ColorFlag})
            EXPECT_EQ(back.Get(f), sent.Get(f)) << "field at " << f.offset;
        for (U8Field f : {prof::DpiIndicationType, prof::BtnConfiguration, prof::Color1Type,
                          prof::Color2Type, prof::ColorOptions1, prof::ProfileSwitchIndictor})
            EXPECT_EQ(back.Get(f), sent.Get(f)) << "field at " << f.offset;
        for (int s = 0; s < kStoredStages; ++s) {
            EXPECT_EQ(back.Get(prof::StepFlag(s)), sent.Get(prof::StepFlag(s)));
            EXPECT_EQ(back.Get(prof::CpiLevelX(s)), sent.Get(prof::CpiLevelX(s)));
            EXPECT_EQ(back.Get(prof::Indicator(s)), sent.Get(prof::Indicator(s)));
        }
        for (int k = 0; k < kButtonCount; ++k)
            EXPECT_EQ(back.Button(k).Get(btn::FunctionType), sent.Button(k).Get(btn::FunctionType))
                << k;
        const ButtonView macro = back.Button(p);
        EXPECT_EQ(macro.Get(btn::MacroName), "Macro");
        EXPECT_EQ(macro.Get(btn::RepeatCount), 1 + p);
        ASSERT_EQ(macro.Get(btn::EventCount), 1 + 3 * p);
        for (int j = 0; j < 1 + 3 * p; ++j) {
            const MacroEvent e = macro.Event(j), s = sent.Button(p).Event(j);
            EXPECT_EQ(e.keyCode, s.keyCode);
            EXPECT_EQ(e.direction, s.direction);
            EXPECT_EQ(e.delay, s.delay);
        }
        EXPECT_EQ(back.Button(7).Get(btn::KeyUsage), 0x30 + p);
        EXPECT_EQ(back.Button(7).Get(btn::KeyModifiers), p);
    }
    EXPECT_EQ(got.Profile(1).Get(prof::OTGSpeed), 21);
}

// ---------------------------------------------------------------------------
// Job 2: read back

TEST_F(DeviceJobs, ReadBackFillsTheBlockSavesAndEndsAttached) {
    emu::Flash& f = mouse.fw.flash();
    f.activeProfile = 3;
    f.performance[2][3] = 17;
    f.otg[3] = 42;
    uint8_t* ctrlV = f.buttons[4] + 3 + 3 * 7;
    ctrlV[0] = 5, ctrlV[1] = 1, ctrlV[2] = 25;
    MouseMacro(1, 4, "Go");
    MouseMacro(1, 9, "");

    SettingsBlock& b = working.block;
    FillDefaults(b, 0);
    b.SetAllFlags(1);

    ReadBackJob(mouse, working, host);

    Expect e;
    e.Add("read 5").Wait(500);
    for (int p = 0; p < kProfileCount; ++p)
        e.Add("select p" + std::to_string(p) + " 16").Sleep(200).Add("read 6").Wait(500);
    for (int p = 0; p < kProfileCount; ++p)
        e.Add("select p" + std::to_string(p) + " 32").Sleep(200).Add("read 7").Wait(500);
    e.Add("read 8").Wait(500);
    e.Wait(200);
    e.Acked("select p1 4", 300).Add("read 9").Acked("select p1 9", 300).Add("read 9").Wait(200);
    e.Wait(200).Wait(200).Wait(200);
    e.Acked("host 1", 100);
    EXPECT_EQ(mouse.trace, e.t);

    EXPECT_EQ(b.CurrentProfile(), 3);
    EXPECT_EQ(b.Profile(2).Get(prof::Sensitivity_X), 17);
    EXPECT_EQ(b.Profile(3).Get(prof::OTGSpeed), 42);
    EXPECT_EQ(b.Profile(0).Get(prof::OTGSpeed), 10);
    EXPECT_EQ(b.Profile(4).Button(7).Get(btn::FunctionType), 55);
    EXPECT_EQ(b.Profile(1).Button(4).Get(btn::FunctionType), fn::Macro);
    EXPECT_EQ(b.Profile(1).Button(4).Get(btn::MacroName), "Go");
    EXPECT_EQ(b.Profile(1).Button(4).Get(btn::EventCount), 3);
    EXPECT_EQ(b.Profile(1).Button(9).Get(btn::MacroName), "Pro2-M10");

    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kButtonCount; ++k)
            ASSERT_EQ(b.ButtonChangeFlag(p, k), 0);
    EXPECT_EQ(b.PerformanceChangeFlag(2), 1) << "only the button flags are cleared";
    EXPECT_EQ(b.CurrentProfileChangeFlag(), 1);

    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"SaveAll", "CopyToShared", "SettingsReadBack"}));
    ASSERT_TRUE(host.saved && host.shared);
    EXPECT_TRUE(*host.saved == b);
    EXPECT_TRUE(*host.shared == b);
    EXPECT_EQ(f.hostAttached, 1);
}

TEST_F(DeviceJobs, ReadBackPollsABusyMouseAndRetriesAMacro) {
    MouseMacro(0, 2, "Busy");
    MouseMacro(2, 5, "Retry");
    FillDefaults(working.block, 0);
    mouse.fw.faults().busyPolls = 2;

    ReadBackJob(mouse, working, host);
    EXPECT_EQ(mouse.fw.faults().busyPolls, 0);
    EXPECT_EQ(mouse.Count("select p0 2"), 1) << "busy answers are polled, not retried";
    EXPECT_EQ(host.calls.front(), "SaveAll");

    // The second macro fails twice and is read at the third attempt.
    mouse.trace.clear();
    host.calls.clear();
    mouse.refuse["select p2 5"] = 2;
    ReadBackJob(mouse, working, host);
    const auto first = std::find(mouse.trace.begin(), mouse.trace.end(), "select p2 5");
    Expect e;
    e.Add("select p2 5")
        .Wait(500)
        .Add("select p2 5")
        .Wait(500)
        .Acked("select p2 5", 300)
        .Add("read 9");
    ASSERT_LE(e.t.size(), std::size_t(mouse.trace.end() - first));
    EXPECT_EQ(Trace(first, first + e.t.size()), e.t);
    EXPECT_EQ(working.block.Profile(2).Button(5).Get(btn::MacroName), "Retry");
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"SaveAll", "CopyToShared", "SettingsReadBack"}));
}

TEST_F(DeviceJobs, ReadBackStopsAtAMacroThatCannotBeReadAndDoesNotSave) {
    MouseMacro(0, 2, "Lost");
    MouseMacro(3, 1, "Never");
    FillDefaults(working.block, 0);
    working.block.SetAllFlags(1);
    mouse.fw.faults().busyPolls = 30; // three attempts of ten busy answers

    ReadBackJob(mouse, working, host);

    EXPECT_EQ(mouse.Count("select p0 2"), 3);
    EXPECT_EQ(mouse.Count("select p3 1"), 0) << "macro reading stops at the first failure";
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(working.block.ButtonChangeFlag(4, 14), 0)
        << "the button flags are cleared all the same";
    EXPECT_EQ(working.block.Profile(3).Button(1).Get(btn::FunctionType), fn::Macro)
        << "the tables were read";
    const Trace tail(mouse.trace.end() - 3, mouse.trace.end());
    EXPECT_EQ(tail, Expect().Acked("host 1", 100).t);
    EXPECT_EQ(mouse.fw.flash().hostAttached, 1);
}

TEST_F(DeviceJobs, ReadBackKeepsFieldsOfReportsThatFailed) {
    FillDefaults(working.block, 0);
    working.block.Profile(0).Set(prof::Sensitivity_X, 19);
    working.block.Profile(2).Set(prof::Sensitivity_X, 18);
    working.block.SetCurrentProfile(-1); // a fresh block
    mouse.fw.flash().activeProfile = 4;
    mouse.fw.flash().performance[0][3] = 5;
    mouse.fw.flash().performance[2][3] = 5;
    mouse.fw.flash().performance[3][3] = 5;
    mouse.refuse["read 5"] = 1;
    mouse.refuse["read 6"] = 1;       // profile 0's record
    mouse.refuse["select p2 16"] = 1; // profile 2's select

    ReadBackJob(mouse, working, host);

    EXPECT_EQ(working.block.CurrentProfile(), -1);
    EXPECT_EQ(working.block.Profile(0).Get(prof::Sensitivity_X), 19);
    EXPECT_EQ(working.block.Profile(2).Get(prof::Sensitivity_X), 18);
    EXPECT_EQ(working.block.Profile(3).Get(prof::Sensitivity_X), 5);
    EXPECT_EQ(mouse.Count("read 6"), 4) << "no read after a refused select";
    for (int p = 0; p < kProfileCount; ++p)
        EXPECT_EQ(working.block.Profile(p).Get(prof::OTGSpeed), 10)
            << "no current profile to put it in";
    EXPECT_EQ(host.calls.front(), "SaveAll");
}

TEST_F(DeviceJobs, AbortedReadBackIsNotSavedButStillEndsAttached) {
    for (const char* at : {"select p2 32", "select p1 4"}) {
        SCOPED_TRACE(at);
        mouse.fw = emu::Firmware();
        MouseMacro(1, 4, "m");
        mouse.trace.clear();
        mouse.aborted = false;
        host.calls.clear();
        FillDefaults(working.block, 0);
        working.block.SetAllFlags(1);
        mouse.unplugAt = at;

        ReadBackJob(mouse, working, host);

        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(working.block.ButtonChangeFlag(0, 0), 1);
        EXPECT_EQ(mouse.trace.back(), "host 1");
        EXPECT_EQ(mouse.Count("poll"), 0) << "no acknowledgement is awaited after an abort";
        const auto stop = std::find(mouse.trace.begin(), mouse.trace.end(), std::string(at));
        EXPECT_EQ(mouse.trace.end() - stop, 2) << "only the attached report follows";
    }
}

// ---------------------------------------------------------------------------
// Job 3, version, host attached

TEST_F(DeviceJobs, ProfileJobSendsTheProfileAndShowsTheNotice) {
    FillDefaults(working.block, 4);
    mouse.fw.faults().busyPolls = 10; // not acknowledged: the notice is shown anyway
    ProfileJob(mouse, working, host);
    EXPECT_EQ(mouse.trace.front(), "profile 4");
    EXPECT_EQ(mouse.trace.back(), "sleep 500");
    EXPECT_EQ(mouse.fw.flash().activeProfile, 4);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ShowProfileNotice"}));

    mouse.trace.clear();
    host.calls.clear();
    ProfileJob(mouse, working, host);
    EXPECT_EQ(mouse.trace, Expect().Acked("profile 4", 100).Sleep(500).t);

    mouse.trace.clear();
    host.calls.clear();
    working.block.SetCurrentProfile(-1);
    ProfileJob(mouse, working, host);
    EXPECT_TRUE(mouse.trace.empty()) << "no profile, nothing to send";
}

TEST_F(DeviceJobs, VersionAndHostAttachedReports) {
    mouse.fw.flash().firmwareVersion = 201;
    mouse.fw.flash().mouseType = 7;
    ReadVersion(mouse, working, host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"WriteFirmwareVersion 201"}));
    EXPECT_EQ(working.block.MouseType(), 7);

    host.calls.clear();
    mouse.refuse["read 10"] = 1;
    working.block.SetMouseType(3);
    ReadVersion(mouse, working, host);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(working.block.MouseType(), 3);

    mouse.trace.clear();
    SendHostAttached(mouse, true);
    EXPECT_EQ(mouse.fw.flash().hostAttached, 1);
    SendHostAttached(mouse, false);
    EXPECT_EQ(mouse.fw.flash().hostAttached, 0);
    EXPECT_EQ(mouse.trace, Expect().Acked("host 1", 100).Acked("host 0", 100).t);
}

} // namespace
} // namespace gm::mon
