// A fault campaign: the real Monitor.exe against the virtual mouse while the
// mouse misbehaves. Each round injects a random schedule of faults (busy
// polls, a refused set or get, silence, a pull after N reports, slow answers)
// and then applies settings, reads them back, switches the profile on the
// mouse, presses its buttons or pulls and plugs it. After every round, with
// the faults cleared:
//   - the monitor's window answers a message within 2 s;
//   - every apply ended with 1256 to the dialog, or, when the mouse was
//     pulled during it, with the dialog told to close;
//   - a read-back that did not end (no 1254) saved nothing;
//   - no key or mouse button is left pressed;
//   - after one clean apply of everything, the mouse's flash holds exactly
//     the applied block (a second apply of it, replayed on a copy of the
//     flash, changes nothing).
// Prints the rounds, the faults of each kind and every broken invariant with
// the seed and round that reproduce it; exits 1 when one broke.
//   bash tools/with-wine.sh build/windows/wineprefix wine build/windows/bin/fault_campaign.exe SEED
//   ROUNDS
#include "emulator/firmware.h"
#include "emulator/tests/emulator_process.h"
#include "monitor/device_jobs.h"
#include "monitor/tests/dialog_standin.h"
#include "option/link_logic.h"
#include "shared/settings_block.h"
#include "shared/shared_block_win.h"
#include "shared/tests/message_pump.h"
#include "shared/tests/test_folder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace gm;
using test::PumpUntil;
using test::TestFolder;

constexpr const char* kMonitorWindow = "Orvex_Gaming_Mouse_Normal_Monitor";

// A copy of the mouse's firmware as a device for the monitor's own jobs.
class FirmwareIo final : public mon::DeviceIo {
  public:
    explicit FirmwareIo(emu::Firmware& fw) : fw_(fw) {}
    bool SetFeature(const uint8_t* r, std::size_t n) override { return fw_.SetFeature(r, n); }
    bool GetFeature(uint8_t* r, std::size_t n) override { return fw_.GetFeature(r, n); }
    void Sleep(unsigned) override {}
    bool Aborted() const override { return false; }

  private:
    emu::Firmware& fw_;
};

class NoHost final : public mon::JobHost {
  public:
    void SaveAll(const SettingsBlock&) override {}
    void CopyToShared(const SettingsBlock&) override {}
    void SettingsReadBack() override {}
    void ApplyDone() override {}
    void ShowProfileNotice() override {}
    void WriteFirmwareVersion(int) override {}
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Campaign {
  public:
    explicit Campaign(uint32_t seed) : seed_(seed), rng_(seed) {}

    bool Start() {
        const std::string dir = mouse_.folder().path();
        for (const char* f : {"Monitor.exe", "lan.dll"})
            if (!test::CopyFromBuildFolder(f, dir))
                return Say("cannot copy " + std::string(f));
        TestFolder::WriteFile(dir + "config.ini", "[Test]\r\nPacingPercent=1\r\n");
        if (!mouse_.Start())
            return Say("the virtual mouse did not start");
        std::string line = "\"" + dir + "Monitor.exe\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              dir.c_str(), &si, &pi))
            return Say("Monitor.exe did not start");
        ::CloseHandle(pi.hThread);
        monitor_ = pi.hProcess;
        if (!PumpUntil([&] { return dialog_.Count(1254) > 0; }, 60000))
            return Say("the monitor did not read the mouse back at start");
        return shared_.Open();
    }

    void Stop() {
        if (HWND w = ::FindWindowA(nullptr, kMonitorWindow))
            ::PostMessageA(w, WM_CLOSE, 0, 0);
        if (monitor_) {
            if (::WaitForSingleObject(monitor_, 30000) != WAIT_OBJECT_0) {
                Broken("the monitor did not end when asked");
                ::TerminateProcess(monitor_, 9);
            }
            ::CloseHandle(monitor_);
        }
    }

    void Round(int round) {
        round_ = round;
        const int action = Pick(0, 4);
        const std::vector<std::string> faults = InjectFaults();
        switch (action) {
        case 0:
            Apply(false);
            break;
        case 1:
            ReadBack();
            break;
        case 2:
            MouseProfile();
            break;
        case 3:
            Buttons();
            break;
        default:
            PullAndPlug();
            break;
        }
        Recover();
        CheckAnswers();
        CheckNothingHeld();
        CheckFlashAfterCleanApply();
        std::string line = "round " + std::to_string(round) + ": action " + std::to_string(action);
        for (const std::string& f : faults)
            line += ", " + f;
        std::fprintf(stderr, "%s\n", line.c_str());
    }

    int Report(int rounds) const {
        std::printf("seed %u: %d rounds\nfaults:", seed_, rounds);
        for (const auto& [kind, n] : faultCounts_)
            std::printf(" %s %d", kind.c_str(), n);
        std::printf("\nbroken invariants: %zu\n", broken_.size());
        for (const std::string& b : broken_)
            std::printf("  %s\n", b.c_str());
        return broken_.empty() ? 0 : 1;
    }

    bool ok() const { return broken_.empty(); }
    const std::vector<std::string>& broken() const { return broken_; }

  private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Say(const std::string& what) {
        Broken(what);
        return false;
    }
    void Broken(const std::string& what) {
        broken_.push_back("seed " + std::to_string(seed_) + " round " + std::to_string(round_) +
                          ": " + what);
    }
    std::string Mouse(const std::string& command) { return mouse_.Command(command).second; }
    HWND MonitorWindow() const { return ::FindWindowA(nullptr, kMonitorWindow); }

    // Up to two faults, each counted by kind.
    std::vector<std::string> InjectFaults() {
        std::vector<std::string> injected;
        for (int n = Pick(0, 2); n > 0; --n) {
            std::string command;
            switch (Pick(0, 5)) {
            case 0:
                command = "busy " + std::to_string(Pick(1, 15));
                break;
            case 1:
                command = "failset";
                break;
            case 2:
                command = "failget";
                break;
            case 3:
                command = "silent on";
                silentFor_ = unsigned(Pick(300, 2500));
                break;
            case 4:
                command = "unplugafter " + std::to_string(Pick(1, 40));
                break;
            default:
                command = "slow " + std::to_string(Pick(5, 40));
                break;
            }
            Mouse(command);
            ++faultCounts_[command.substr(0, command.find(' '))];
            injected.push_back(command);
        }
        return injected;
    }

    // Pumps for up to `ms`, lifting silence once its time has passed.
    bool WaitFor(const std::function<bool()>& done, DWORD ms) {
        const ULONGLONG silentEnd = ::GetTickCount64() + silentFor_;
        return PumpUntil(
            [&] {
                if (silentFor_ && ::GetTickCount64() >= silentEnd) {
                    Mouse("silent off");
                    silentFor_ = 0;
                }
                return done();
            },
            ms);
    }

    // Edits a few device values of the shared block, as the dialog would.
    void Apply(bool everything) {
        SettingsBlock b;
        if (!shared_.CopyIn(b))
            return Broken("the shared block could not be read");
        if (everything) {
            option::MarkAllChanged(b);
        } else {
            const int p = Pick(0, kProfileCount - 1);
            ProfileView profile = b.Profile(p);
            profile.Set(prof::Sensitivity_X, Pick(1, 20));
            profile.Set(prof::Sensitivity_Y, Pick(1, 20));
            profile.Set(prof::PollingRate, Pick(0, 3));
            b.SetPerformanceChangeFlag(p, 1);
            // A macro of a few keys on one button, a key on another.
            const int mb = Pick(5, 9), kb = mb + 1;
            ButtonView m = profile.Button(mb);
            m.Set(btn::FunctionType, uint8_t(fn::Macro));
            m.Set(btn::MacroName, "Campaign");
            const int events = Pick(1, 4) * 2;
            m.Set(btn::EventCount, uint8_t(events));
            m.Set(btn::RepeatCount, uint8_t(1));
            for (int e = 0; e < events; ++e)
                m.SetEvent(e,
                           {uint8_t(0x04 + e / 2), uint8_t(e % 2 ? 2 : 1), uint16_t(Pick(0, 20))});
            ButtonView k = profile.Button(kb);
            k.Set(btn::FunctionType, uint8_t(fn::Key));
            k.Set(btn::KeyUsage, uint8_t(Pick(0x04, 0x1D)));
            k.Set(btn::KeyModifiers, uint8_t(Pick(0, 1) ? 0x02 : 0));
            b.SetButtonChangeFlag(p, mb, 1);
            b.SetButtonChangeFlag(p, kb, 1);
        }
        if (!shared_.CopyOut(b))
            return Broken("the shared block could not be written");
        // An apply ends with 1256; one the mouse was pulled from is given up
        // without a word, and the dialog is told to close instead.
        const int before = dialog_.Count(1256), closes = dialog_.Count(WM_CLOSE);
        ::PostMessageA(MonitorWindow(), 1224, everything ? 1 : 0, 0);
        if (!WaitFor(
                [&] { return dialog_.Count(1256) > before || dialog_.Count(WM_CLOSE) > closes; },
                120000))
            Broken(std::string(everything ? "the clean apply" : "an apply") +
                   " ended neither with 1256 nor with the dialog closed");
        else if (everything && dialog_.Count(1256) == before)
            Broken("the clean apply did not end with 1256");
        applied_ = b;
    }

    std::vector<std::string> ProfileFiles() const {
        std::vector<std::string> files;
        for (int p = 0; p < kProfileCount; ++p)
            files.push_back(
                ReadAll(mouse_.folder().path() + "config\\Default" + std::to_string(p) + ".gmp"));
        return files;
    }

    // Pulled and plugged in: the monitor reads everything back.
    void ReadBack() {
        Mouse("unplug");
        WaitFor([] { return false; }, 200);
        const auto before = ProfileFiles();
        const int readBacks = dialog_.Count(1254);
        Mouse("plug");
        const bool ended = WaitFor([&] { return dialog_.Count(1254) > readBacks; }, 60000);
        if (!ended) {
            // It may still be stopping: give it a moment, then the files must be as they were.
            WaitFor([] { return false; }, 1000);
            if (dialog_.Count(1254) == readBacks && ProfileFiles() != before)
                Broken("a read-back that did not end saved the profile files");
        }
    }

    void MouseProfile() {
        const int before = dialog_.Count(1255);
        Mouse("profile " + std::to_string(Pick(1, 5)));
        WaitFor([&] { return dialog_.Count(1255) > before; }, 5000);
    }

    void Buttons() {
        for (int n = Pick(1, 6); n > 0; --n) {
            const std::string b = std::to_string(Pick(2, 15));
            Mouse("press " + b);
            WaitFor([] { return false; }, DWORD(Pick(0, 120)));
            Mouse("release " + b);
        }
        WaitFor([] { return false; }, 400);
    }

    void PullAndPlug() {
        Mouse("unplug");
        WaitFor([] { return false; }, DWORD(Pick(0, 300)));
        Mouse("plug");
        const int readBacks = dialog_.Count(1254);
        WaitFor([&] { return dialog_.Count(1254) > readBacks; }, 60000);
    }

    // Faults cleared and the mouse plugged in; a pull that fired is a
    // read-back to wait for.
    void Recover() {
        silentFor_ = 0;
        Mouse("silent off");
        Mouse("clearfaults");
        const int readBacks = dialog_.Count(1254);
        if (Mouse("plug") == "plugged" &&
            !PumpUntil([&] { return dialog_.Count(1254) > readBacks; }, 60000))
            Broken("no read-back after the mouse came back");
    }

    void CheckAnswers() {
        DWORD_PTR r = 0;
        if (!::SendMessageTimeoutA(MonitorWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r))
            Broken("the monitor's window did not answer within 2 s");
    }

    void CheckNothingHeld() {
        for (int vk = 1; vk < 255; ++vk)
            if (::GetAsyncKeyState(vk) & 0x8000)
                Broken("key " + std::to_string(vk) + " is left pressed");
    }

    void CheckFlashAfterCleanApply() {
        // Wait out whatever runs (a profile job, a macro), then apply all.
        WaitFor([] { return false; }, 300);
        Apply(true);
        WaitFor([] { return false; }, 300); // the mouse keeps its flash file
        std::string image = ReadAll(mouse_.folder().path() + "MouseEmulator.flash");
        emu::Firmware actual, replay;
        const std::vector<uint8_t> bytes(image.begin(), image.end());
        if (!actual.LoadFlash(bytes) || !replay.LoadFlash(bytes))
            return Broken("the mouse's flash file could not be read");
        mon::WorkingBlock working;
        working.block = applied_;
        FirmwareIo io(replay);
        NoHost host;
        mon::ApplyJob(io, working, host);
        if (replay.SaveFlash() != actual.SaveFlash())
            Broken("after a clean apply the mouse's flash differs from the applied block");
    }

    uint32_t seed_;
    std::mt19937 rng_;
    test::EmulatorProcess mouse_;
    DialogStandIn dialog_;
    HANDLE monitor_ = nullptr;
    SharedBlock shared_;
    SettingsBlock applied_;
    unsigned silentFor_ = 0;
    int round_ = 0;
    std::map<std::string, int> faultCounts_;
    std::vector<std::string> broken_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fault_campaign SEED ROUNDS\n");
        return 2;
    }
    const auto seed = uint32_t(std::strtoul(argv[1], nullptr, 10));
    const int rounds = std::atoi(argv[2]);
    Campaign campaign(seed);
    int done = 0;
    if (campaign.Start()) {
        for (std::size_t seen = 0; done < rounds; ++done) {
            campaign.Round(done);
            for (; seen < campaign.broken().size(); ++seen)
                std::fprintf(stderr, "  %s\n", campaign.broken()[seen].c_str());
        }
    }
    campaign.Stop();
    return campaign.Report(done);
}
