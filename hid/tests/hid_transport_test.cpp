// hiddriver.dll's HID transport, unchanged, through the real Win32 calls: the
// test builds of hid.dll and setupapi.dll (hid/tests/scripted) list the
// interfaces of a virtual mouse that runs as a HID device, so enumeration,
// matching, feature reports, input reports, arrival and removal are all the
// library's own code against a device that can be scripted and broken.
#include "emulator/tests/emulator_process.h"
#include "hid/tests/driver_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

namespace gm {
namespace {

using test::Driver;
using test::kEventMsg;
using test::kPlugMsg;
using test::Recorder;
using test::TestFolder;
using test::ThreadCount;

// The names `module` imports from `dll`.
std::set<std::string> ImportNames(HMODULE module, const char* dll) {
    auto* base = reinterpret_cast<const uint8_t*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::string> out;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         d->Name != 0; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        for (auto* t = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
             t->u1.AddressOfData != 0; ++t)
            out.insert(
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + t->u1.AddressOfData)->Name);
    }
    return out;
}

std::string ModulePath(HMODULE m) {
    char path[MAX_PATH * 2];
    const DWORD n = ::GetModuleFileNameA(m, path, sizeof path);
    return std::string(path, n);
}

bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The virtual mouse as a HID device, with the library loaded from its folder
// over the test builds of hid.dll and setupapi.dll beside it. They are
// loaded first, so the library's imports resolve to them; the test runs with
// WINEDLLOVERRIDES=hid,setupapi=n,b, which lets Wine take them at all.
class ScriptedHidTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(mouse.Start()); }
    void TearDown() override { Unload(); }

    std::string dir() const { return mouse.folder().path(); }

    void Load() {
        Unload();
        for (const char* stub : {"hid.dll", "setupapi.dll"}) {
            HMODULE m = ::LoadLibraryA((dir() + stub).c_str());
            ASSERT_NE(m, nullptr) << stub;
            stubs.push_back(m);
        }
        driver = std::make_unique<Driver>(dir());
        ASSERT_TRUE(driver->bound());
    }
    void Unload() {
        driver.reset();
        for (HMODULE m : stubs)
            ::FreeLibrary(m);
        stubs.clear();
    }

    void WriteIni(const std::string& vendor, const std::string& product, const std::string& page) {
        TestFolder::WriteFile(dir() + "hiddriver.ini",
                              "[Transport]\r\nMode=hid\r\nPipe=" + mouse.pipe() +
                                  "\r\n[Device]\r\nVendorId=" + vendor +
                                  "\r\nProductId=" + product + "\r\nUsagePage=" + page + "\r\n");
    }

    std::string Hid(const std::string& args) {
        auto [ok, text] = mouse.Command("hid " + args);
        EXPECT_TRUE(ok) << args << ": " << text;
        return text;
    }
    int AddDecoy(const std::string& args) {
        const std::string text = Hid("add " + args); // "interface N"
        if (text.rfind("interface ", 0) != 0)
            return -1; // matches no interface
        return std::atoi(text.c_str() + 10);
    }
    // Handles opened on an interface and feature reports sent to it.
    std::pair<int, int> Counters(int id) {
        std::istringstream in(Hid(""));
        for (std::string line; std::getline(in, line);) {
            std::istringstream w(line);
            int lineId = -1;
            w >> lineId;
            if (lineId != id)
                continue;
            const auto opened = line.find("opened ");
            const auto reports = line.find("reports ");
            return {std::atoi(line.c_str() + opened + 7), std::atoi(line.c_str() + reports + 8)};
        }
        return {-1, -1};
    }
    // Every set the mouse received, as its bytes.
    std::vector<std::vector<int>> Sets() {
        std::vector<std::vector<int>> out;
        std::istringstream in(mouse.Command("log").second);
        for (std::string line; std::getline(in, line);) {
            std::istringstream w(line);
            std::string time, kind, ok;
            w >> time >> kind >> ok;
            if (kind != "set")
                continue;
            std::vector<int> bytes;
            for (std::string b; w >> b;)
                bytes.push_back(std::stoi(b, nullptr, 16));
            out.push_back(bytes);
        }
        return out;
    }
    int Status() { return driver->Status(); }

    test::EmulatorProcess mouse{"hid"};
    std::vector<HMODULE> stubs;
    std::unique_ptr<Driver> driver;
};

TEST_F(ScriptedHidTest, WineLoadsTheTestBuildsAndTheyExportWhatTheLibraryImports) {
    Load();
    for (const char* stub : {"hid.dll", "setupapi.dll"})
        EXPECT_TRUE(SamePath(ModulePath(::GetModuleHandleA(stub)), dir() + stub))
            << stub << " came from " << ModulePath(::GetModuleHandleA(stub));
    EXPECT_EQ(test::ExportNames(::GetModuleHandleA("hid.dll")),
              ImportNames(driver->module, "hid.dll"));
    EXPECT_EQ(test::ExportNames(::GetModuleHandleA("setupapi.dll")),
              ImportNames(driver->module, "setupapi.dll"));
    EXPECT_EQ(ImportNames(driver->module, "hid.dll").size(), 7u);
    EXPECT_EQ(ImportNames(driver->module, "setupapi.dll").size(), 4u);
}

TEST_F(ScriptedHidTest, TheInterfaceListFollowsTheDocumentedSizeProtocol) {
    Load();
    const HMODULE setup = ::GetModuleHandleA("setupapi.dll");
    auto getDevs = win::ProcAddress<decltype(&SetupDiGetClassDevsA)>(setup, "SetupDiGetClassDevsA");
    auto enumIfs = win::ProcAddress<decltype(&SetupDiEnumDeviceInterfaces)>(
        setup, "SetupDiEnumDeviceInterfaces");
    auto detail = win::ProcAddress<decltype(&SetupDiGetDeviceInterfaceDetailA)>(
        setup, "SetupDiGetDeviceInterfaceDetailA");
    auto destroy = win::ProcAddress<decltype(&SetupDiDestroyDeviceInfoList)>(
        setup, "SetupDiDestroyDeviceInfoList");
    ASSERT_TRUE(getDevs && enumIfs && detail && destroy);
    AddDecoy("0x1111 0x2222 0xFF00 1");

    GUID hid;
    win::ProcAddress<void(WINAPI*)(LPGUID)>(::GetModuleHandleA("hid.dll"), "HidD_GetHidGuid")(&hid);
    HDEVINFO set = getDevs(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data + 1;
    EXPECT_FALSE(enumIfs(set, nullptr, &hid, 0, &data));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_INVALID_USER_BUFFER));
    data.cbSize = sizeof data;
    ASSERT_TRUE(enumIfs(set, nullptr, &hid, 1, &data)) << "decoy first, then the mouse";
    EXPECT_FALSE(enumIfs(set, nullptr, &hid, 2, &data));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_NO_MORE_ITEMS));
    ASSERT_TRUE(enumIfs(set, nullptr, &hid, 1, &data));

    DWORD size = 0;
    EXPECT_FALSE(detail(set, &data, nullptr, 0, &size, nullptr));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    const std::string path = mouse.pipe() + "#hid#vid_1a2b&pid_3c4d";
    ASSERT_GT(size, path.size());
    std::vector<uint8_t> buffer(size);
    auto* d = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    d->cbSize = size; // the whole buffer instead of the fixed part
    EXPECT_FALSE(detail(set, &data, d, size, nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_INVALID_USER_BUFFER));
    d->cbSize = sizeof *d;
    EXPECT_FALSE(detail(set, &data, d, size - 1, nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_TRUE(detail(set, &data, d, size, nullptr, nullptr));
    EXPECT_EQ(std::string(d->DevicePath).substr(0, path.size()), path);
    EXPECT_EQ(std::strlen(d->DevicePath) + 1 +
                  offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath),
              size);
    EXPECT_TRUE(destroy(set));

    ASSERT_TRUE(mouse.Command("unplug").first);
    set = getDevs(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    EXPECT_TRUE(enumIfs(set, nullptr, &hid, 0, &data)) << "the decoy stays";
    EXPECT_FALSE(enumIfs(set, nullptr, &hid, 1, &data)) << "an unplugged mouse is not listed";
    EXPECT_TRUE(destroy(set));
}

TEST_F(ScriptedHidTest, OnlyTheInterfaceWithTheIdsAndUsagePageIsOpened) {
    // Listed before the mouse: another vendor's device on the same page, the
    // mouse's keyboard collection and another vendor page of the mouse.
    const int other = AddDecoy("0x1111 0x2222 0xFF00 1 130 8");
    const int keyboard = AddDecoy("0x1A2B 0x3C4D 0x0001 6");
    const int page = AddDecoy("0x1A2B 0x3C4D 0xFF01 1 130 8");
    Load();
    Recorder window;
    ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_NE(driver->openDevice(), 0);
    unsigned char select[3] = {4, 0, 16};
    ASSERT_NE(driver->set(select, 3), 0);
    EXPECT_EQ(Status(), 1);

    EXPECT_EQ(Counters(other).first, 0) << "its path names other ids: never opened";
    for (int id : {keyboard, page})
        EXPECT_EQ(Counters(id).second, 0) << "interface " << id << " got a report";
    EXPECT_GE(Counters(0).second, 2);

    // What looks like a profile event on a wrong interface is not read.
    Hid("input " + std::to_string(page) + " 2 0x00 0x30 3 0");
    Hid("input " + std::to_string(keyboard) + " 2 0x00 0x30 4 0");
    ASSERT_TRUE(mouse.Command("event 0xC000 0x0A05").first);
    ASSERT_TRUE(window.WaitFor([&] { return !window.got.empty(); }));
    test::Settle(300);
    ASSERT_EQ(window.got.size(), 1u);
    EXPECT_EQ(window.got[0].wp, 0xC000u);
}

TEST_F(ScriptedHidTest, IdsWrittenInDecimalMatchAsInHex) {
    WriteIni("6699", "15437", "65280"); // 0x1A2B, 0x3C4D, 0xFF00
    Load();
    ASSERT_NE(driver->openDevice(), 0);
    unsigned char version[8] = {10};
    ASSERT_NE(driver->get(version, 8), 0);
    EXPECT_EQ(version[2], 123);
}

TEST_F(ScriptedHidTest, NoMatchingInterfaceOpensNothingAndLeavesNoThread) {
    AddDecoy("0x1A2B 0x3C4D 0xFF01 1"); // the right ids on another page
    for (auto ids : {std::vector<std::string>{"0x1A2B", "0x3C4E", "0xFF00"},
                     std::vector<std::string>{"0x1A2C", "0x3C4D", "0xFF00"},
                     std::vector<std::string>{"0x1A2B", "0x3C4D", "0xFF02"},
                     std::vector<std::string>{"0", "0", "0xFF00"}}) {
        WriteIni(ids[0], ids[1], ids[2]);
        Load();
        const int before = ThreadCount();
        EXPECT_EQ(driver->openDevice(), 0) << ids[0] << " " << ids[1] << " " << ids[2];
        unsigned char r[3] = {4, 0, 16};
        EXPECT_EQ(driver->set(r, 3), 0);
        EXPECT_EQ(ThreadCount(), before) << "no report thread for a device that is not there";
        driver->closeDevice();
        EXPECT_EQ(ThreadCount(), before);
    }
    EXPECT_EQ(Counters(0).second, 0) << "no report reached the mouse";
}

TEST_F(ScriptedHidTest, EveryFeatureReportTravelsPaddedToTheInterfacesLength) {
    Hid("mouse 0x1A2B 0x3C4D 0xFF00 160 8"); // longer than the longest report
    Load();
    ASSERT_NE(driver->openDevice(), 0);

    unsigned char r5[3] = {5, 3, 2};
    ASSERT_NE(driver->set(r5, 3), 0);
    EXPECT_EQ(Status(), 1);
    unsigned char g5[3] = {5, 0, 0};
    ASSERT_NE(driver->get(g5, 3), 0);
    EXPECT_EQ(g5[2], 2);

    unsigned char r6[37] = {6, 37, 3, 12, 13, 0x07, 2, 4, 6, 8, 12, 99, 99, 99, 99, 99, 2};
    ASSERT_NE(driver->set(r6, 37), 0);
    unsigned char select6[3] = {4, 3, 16};
    ASSERT_NE(driver->set(select6, 3), 0);
    unsigned char g6[37] = {6};
    ASSERT_NE(driver->get(g6, 37), 0);
    EXPECT_EQ(g6[3], 12);
    EXPECT_EQ(g6[16], 2);

    unsigned char r7[50] = {7, 50, 1};
    r7[3 + 3 * 4] = 16;
    r7[3 + 3 * 4 + 2] = 3;
    ASSERT_NE(driver->set(r7, 50), 0);
    unsigned char select7[3] = {4, 1, 32};
    ASSERT_NE(driver->set(select7, 3), 0);
    unsigned char g7[50] = {7};
    ASSERT_NE(driver->get(g7, 50), 0);
    EXPECT_EQ(std::memcmp(g7, r7, 50), 0);

    unsigned char r8[6] = {8, 6, 42, 1, 0, 0};
    ASSERT_NE(driver->set(r8, 6), 0);
    unsigned char g8[6] = {8};
    ASSERT_NE(driver->get(g8, 6), 0);
    EXPECT_EQ(g8[2], 42);

    unsigned char r9[130] = {9, 130, 4, 11, 2, 'j', 'u', 'm', 'p'};
    r9[29] = 1;
    r9[30] = 6;
    r9[31] = 0x2C;
    ASSERT_NE(driver->set(r9, 130), 0);
    unsigned char select9[3] = {4, 4, 11};
    ASSERT_NE(driver->set(select9, 3), 0);
    unsigned char g9[130] = {9};
    ASSERT_NE(driver->get(g9, 130), 0);
    EXPECT_EQ(std::memcmp(g9, r9, 130), 0);

    unsigned char g10[8] = {10};
    ASSERT_NE(driver->get(g10, 8), 0);
    EXPECT_EQ(g10[2], 123);

    unsigned char r14[3] = {14, 3, 1};
    ASSERT_NE(driver->set(r14, 3), 0);
    EXPECT_EQ(Status(), 1);

    // Each set reached the mouse as the report followed by zeros, 160 bytes.
    const std::vector<std::vector<int>> sets = Sets();
    ASSERT_EQ(sets.size(), 9u);
    for (const auto& s : sets) {
        ASSERT_EQ(s.size(), 160u);
        const std::size_t length = s[0] == 9   ? 130
                                   : s[0] == 7 ? 50
                                   : s[0] == 6 ? 37
                                   : s[0] == 8 ? 6
                                               : 3;
        for (std::size_t i = length; i < s.size(); ++i)
            ASSERT_EQ(s[i], 0) << "report " << s[0] << " byte " << i;
    }
    EXPECT_EQ(sets[0][0], 5);
    EXPECT_EQ(sets[0][2], 2);
}

TEST_F(ScriptedHidTest, AStalledMouseFailsTheCallWithinAboutASecondAndTheNextCallWorks) {
    Load();
    ASSERT_NE(driver->openDevice(), 0);
    unsigned char select[3] = {4, 0, 16};
    ASSERT_TRUE(mouse.Command("silent on").first);
    DWORD start = ::GetTickCount();
    EXPECT_EQ(driver->set(select, 3), 0);
    EXPECT_LT(::GetTickCount() - start, 3000u) << "given up after about a second";
    ASSERT_TRUE(mouse.Command("silent off").first);
    EXPECT_NE(driver->set(select, 3), 0);
    EXPECT_EQ(Status(), 1);

    // An answer that comes after the call gave up is never taken for the
    // answer to the next one.
    ASSERT_TRUE(mouse.Command("slow 1500").first);
    unsigned char g5[3] = {5, 0, 0};
    start = ::GetTickCount();
    EXPECT_EQ(driver->get(g5, 3), 0);
    EXPECT_LT(::GetTickCount() - start, 3000u);
    ASSERT_TRUE(mouse.Command("slow 0").first);
    unsigned char g10[8] = {10};
    ASSERT_NE(driver->get(g10, 8), 0);
    EXPECT_EQ(g10[0], 10);
    EXPECT_EQ(g10[2], 123);
}

TEST_F(ScriptedHidTest, AShortAnswerCarriesWhatCameAndZerosNeverAnEarlierReport) {
    Load();
    ASSERT_NE(driver->openDevice(), 0);
    unsigned char select[3] = {4, 2, 16};
    ASSERT_NE(driver->set(select, 3), 0);
    unsigned char full[37] = {6};
    ASSERT_NE(driver->get(full, 37), 0);
    ASSERT_NE(full[3], 0) << "a sensitivity to lose";

    // HidD_GetFeature cannot tell a short report from a whole one: what
    // came is there, the rest is zero, not the caller's bytes or the last
    // report's.
    ASSERT_TRUE(mouse.Command("short 3").first);
    unsigned char part[37];
    std::memset(part, 0x55, sizeof part);
    part[0] = 6;
    ASSERT_NE(driver->get(part, 37), 0);
    EXPECT_EQ(std::vector<unsigned char>(part, part + 3),
              std::vector<unsigned char>(full, full + 3));
    EXPECT_EQ(std::vector<unsigned char>(part + 3, part + 37), std::vector<unsigned char>(34, 0));
    unsigned char again[37] = {6};
    ASSERT_NE(driver->get(again, 37), 0);
    EXPECT_EQ(std::memcmp(again, full, 37), 0) << "only the next answer was short";
}

TEST_F(ScriptedHidTest, AMouseGoneMidTransferFailsCleanlyAndIsOpenedAgainWhenBack) {
    Load();
    const int before = ThreadCount();
    ASSERT_NE(driver->openDevice(), 0);
    ASSERT_TRUE(mouse.Command("unplugafter 1").first);
    unsigned char select[3] = {4, 0, 16};
    DWORD start = ::GetTickCount();
    EXPECT_EQ(driver->set(select, 3), 0) << "the report that found the mouse gone";
    unsigned char status[3] = {4, 0, 0};
    EXPECT_EQ(driver->get(status, 3), 0);
    EXPECT_EQ(status[1], 0) << "a failed get leaves the buffer alone";
    EXPECT_LT(::GetTickCount() - start, 3000u) << "a gone device fails at once, not by time-out";
    EXPECT_EQ(driver->openDevice(), 0) << "not listed any more";
    EXPECT_EQ(ThreadCount(), before) << "a failed open leaves no report thread behind";

    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_NE(driver->openDevice(), 0);
    EXPECT_NE(driver->set(select, 3), 0);
    EXPECT_EQ(Status(), 1);
    driver->closeDevice();
    EXPECT_EQ(ThreadCount(), before) << "closing ends the report thread";
}

TEST_F(ScriptedHidTest, InputReportsBecome1325InOrder) {
    Load();
    Recorder window;
    ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_NE(driver->openDevice(), 0);
    window.Pump();
    EXPECT_TRUE(window.got.empty()) << "the mouse that is already there is not announced";

    ASSERT_TRUE(mouse.Command("click 7").first); // profile cycle: 3000h, profile 2
    Hid("input 0 3 0x00 0x30 5 0");              // another report id: not an event
    ASSERT_TRUE(mouse.Command("event 0xC000 0x0A05").first);
    ASSERT_TRUE(mouse.Command("click 14").first); // tilt 1000h, 255
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 3; }));
    test::Settle(300);
    ASSERT_EQ(window.got.size(), 3u);
    EXPECT_EQ(window.got[0].msg, kEventMsg);
    EXPECT_EQ(window.got[0].wp, 0x3000u);
    EXPECT_EQ(window.got[0].lp, 2);
    EXPECT_EQ(window.got[1].wp, 0xC000u);
    EXPECT_EQ(window.got[1].lp, 0x0A05);
    EXPECT_EQ(window.got[2].wp, 0x1000u);
    EXPECT_EQ(window.got[2].lp, 255);
    EXPECT_FALSE(window.sentNotPosted);

    // Reports keep coming while feature reports are exchanged.
    unsigned char select[3] = {4, 0, 16};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(mouse.Command("event 0xB000 " + std::to_string(i + 1)).first);
        ASSERT_NE(driver->set(select, 3), 0);
    }
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 8; }));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window.got[3 + i].lp, i + 1);
}

TEST_F(ScriptedHidTest, ArrivalAndRemovalArePostedWithinThePollingPeriod) {
    Load();
    Recorder window;
    ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_TRUE(mouse.Command("unplug").first);
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(window.WaitFor([&] { return !window.got.empty(); }, 10000));
    EXPECT_LT(::GetTickCount() - start, 3000u);
    EXPECT_EQ(window.got[0].msg, kPlugMsg);
    EXPECT_EQ(window.got[0].wp, 0u);

    ASSERT_TRUE(mouse.Command("plug").first);
    start = ::GetTickCount();
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 2; }, 10000));
    EXPECT_LT(::GetTickCount() - start, 3000u) << "found at the next look, once a second";
    EXPECT_EQ(window.got[1].msg, kPlugMsg);
    EXPECT_EQ(window.got[1].wp, 1u);

    // Back, it is read again.
    ASSERT_TRUE(mouse.Command("event 0xD000 2").first);
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 3; }));
    EXPECT_EQ(window.got[2].msg, kEventMsg);
    EXPECT_EQ(window.got[2].wp, 0xD000u);
}

TEST_F(ScriptedHidTest, AMouseThatVanishesAndComesBackAtOnceIsAnnouncedAndReachable) {
    Load();
    Recorder window;
    ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    ASSERT_NE(driver->openDevice(), 0);
    // Pulled and back in one breath: the handles the library holds are dead,
    // so its caller must hear of it to open the mouse again.
    ASSERT_TRUE(mouse.Command("replug").first);
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 2; }, 10000))
        << "removal and arrival, got " << window.got.size();
    EXPECT_EQ(window.got[0].wp, 0u);
    EXPECT_EQ(window.got[1].wp, 1u);
    ASSERT_NE(driver->openDevice(), 0);
    unsigned char select[3] = {4, 0, 16};
    EXPECT_NE(driver->set(select, 3), 0);
    ASSERT_TRUE(mouse.Command("event 0xD000 3").first);
    ASSERT_TRUE(window.WaitFor([&] { return window.got.size() >= 3; }));
    EXPECT_EQ(window.got[2].wp, 0xD000u);
}

TEST_F(ScriptedHidTest, ClosingLeavesTheThreadsThatWereThereBefore) {
    Load();
    const int before = ThreadCount();
    {
        Recorder window;
        ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
        ASSERT_NE(driver->openDevice(), 0);
        unsigned char select[3] = {4, 0, 16};
        ASSERT_NE(driver->set(select, 3), 0);
        ASSERT_TRUE(mouse.Command("silent on").first);
        EXPECT_EQ(driver->set(select, 3), 0); // a report given up on
        ASSERT_TRUE(mouse.Command("unplug").first);
        ASSERT_TRUE(window.WaitFor([&] { return !window.got.empty(); }, 10000));
        EXPECT_EQ(driver->closeMonitor(), 1);
        EXPECT_EQ(driver->closeDevice(), 1);
    }
    EXPECT_EQ(ThreadCount(), before);
    ASSERT_TRUE(mouse.Command("plug").first);
    ASSERT_TRUE(mouse.Command("silent off").first);
    Recorder window;
    ASSERT_NE(driver->openMonitor(window.hwnd, kEventMsg, kPlugMsg), 0);
    // Plugged back, the mouse takes a moment to be found again.
    ASSERT_TRUE(window.WaitFor([&] { return driver->openDevice() != 0; }, 10000));
    EXPECT_EQ(driver->closeMonitor(), 1);
    EXPECT_EQ(driver->closeDevice(), 1);
    EXPECT_EQ(ThreadCount(), before) << "watching with the mouse there, too";
}

} // namespace
} // namespace gm
