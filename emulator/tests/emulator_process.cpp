#include "emulator/tests/emulator_process.h"

#include "shared/tests/test_process.h"
#include "win/install_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace gm::test {
namespace {

std::string Hex(DWORD v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(v));
    return text;
}

// Where every thread of a hung process waits, for the test's output: the
// debugger's backtraces go to this program's standard error.
void PrintThreads(DWORD pid) {
    std::string line = "winedbg --command \"bt all\" " + std::to_string(pid);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = ::GetStdHandle(STD_ERROR_HANDLE);
    si.hStdError = si.hStdOutput;
    PROCESS_INFORMATION pi{};
    std::fflush(stderr);
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                          &pi))
        return;
    if (::WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

} // namespace

bool CopyFromBuildFolder(const std::string& name, const std::string& toFolder) {
    return ::CopyFileA((win::InstallDir() + name).c_str(), (toFolder + name).c_str(), FALSE) !=
           FALSE;
}

EmulatorProcess::EmulatorProcess(const std::string& mode)
    : pipe_("\\\\.\\pipe\\" + UniqueName("gm_mouse")), asHid_(mode == "hid") {
    for (const char* name : {"MouseEmulator.exe", "hiddriver.dll"})
        if (!CopyFromBuildFolder(name, folder_.path()))
            setupError_ += std::string(setupError_.empty() ? "" : "; ") + "copying " + name +
                           " failed with error " + std::to_string(::GetLastError());
    if (asHid_)
        for (const char* stub : {"hid.dll", "setupapi.dll"})
            ::CopyFileA((win::InstallDir() + "scripted_hid\\" + stub).c_str(),
                        (folder_ / stub).c_str(), FALSE);
    TestFolder::WriteFile(folder_ / "hiddriver.ini",
                          "[Transport]\r\nMode=" + mode + "\r\nPipe=" + pipe_ +
                              "\r\n[Device]\r\nVendorId=0x1A2B\r\n"
                              "ProductId=0x3C4D\r\nUsagePage=0xFF00\r\n");
}

EmulatorProcess::~EmulatorProcess() {
    Stop();
}

bool EmulatorProcess::Start() {
    if (!setupError_.empty()) {
        std::fprintf(stderr, "virtual mouse not started: %s\n", setupError_.c_str());
        return false;
    }
    std::string line = "\"" + (folder_ / "MouseEmulator.exe") + "\" serve --hidden";
    if (asHid_)
        line += " --hid";
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const ULONGLONG started = ::GetTickCount64();
        if (!CreateTestProcess(line, folder_.path().c_str(), si, pi)) {
            std::fprintf(stderr, "virtual mouse not started: CreateProcess failed with error %lu\n",
                         static_cast<unsigned long>(::GetLastError()));
            return false;
        }
        ::CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        emu::EmulatorClient client(pipe_, 500);
        for (int i = 0; i < 100; ++i) {
            if (client.Hello())
                return true;
            if (::WaitForSingleObject(process_, 100) == WAIT_OBJECT_0)
                break;
        }
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process_, &code);
        const std::string what =
            (code == STILL_ACTIVE ? "gave no answer"
                                  : "ended with exit code 0x" + Hex(code) + " before it answered") +
            " after " + std::to_string(::GetTickCount64() - started) + " ms";
        // Exit code 3 is the virtual mouse's own refusal (pipe taken, HID
        // device refused); any other early end is a start that never got going.
        if (code != STILL_ACTIVE && code != 3 && attempt == 1) {
            ::CloseHandle(process_);
            process_ = nullptr;
            NoteFlaky("the virtual mouse " + what + "; starting it once more");
            continue;
        }
        std::fprintf(stderr, "the virtual mouse %s\n", what.c_str());
        Stop();
        return false;
    }
}

void EmulatorProcess::Stop() {
    if (!process_)
        return;
    emu::EmulatorClient client(pipe_, 1000);
    client.Command("quit");
    DWORD code = 0;
    if (::WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
        PrintThreads(::GetProcessId(process_));
        ::TerminateProcess(process_, 1);
        code = STILL_ACTIVE;
    } else if (!::GetExitCodeProcess(process_, &code)) {
        code = DWORD(-1);
    }
    ::CloseHandle(process_);
    process_ = nullptr;
    // A virtual mouse that crashes or hangs on its way out is a fault of its
    // own, even when the test got every answer it wanted.
    if (code != 0) {
        const std::string what = code == STILL_ACTIVE
                                     ? "the virtual mouse did not quit within 10 s"
                                     : "the virtual mouse quit with exit code " +
                                           std::to_string(code) + " (0x" + Hex(code) + ")";
        if (::testing::UnitTest::GetInstance()->current_test_info())
            ADD_FAILURE() << what;
        else
            std::fprintf(stderr, "%s\n", what.c_str());
    }
}

std::pair<bool, std::string> EmulatorProcess::Command(const std::string& text) {
    // The virtual mouse runs, so a missing pipe is only the moment between
    // two of its listening instances, which a loaded machine can stretch.
    emu::EmulatorClient client(pipe_, 5000, process_ ? 3000 : emu::PipeConnection::kInstanceGapMs);
    auto a = client.Command(text);
    if (!a)
        return {false, "<no answer>"};
    return *a;
}

std::pair<int, std::string> EmulatorProcess::RunCli(const std::string& args) const {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return {-1, ""};
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = nullptr;
    std::string line = "\"" + (folder_ / "MouseEmulator.exe") + "\" " + args;
    PROCESS_INFORMATION pi{};
    const BOOL started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          folder_.path().c_str(), &si, &pi);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return {-1, ""};
    }
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        out.append(buffer, got);
    ::CloseHandle(readEnd);
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return {int(code), out};
}

} // namespace gm::test
