#pragma once
// A virtual mouse for a test: MouseEmulator.exe and hiddriver.dll copied into
// a fresh install folder with a pipe name of its own, started hidden, and
// stopped (and the folder removed) when the test ends. In "hid" mode the
// virtual mouse also runs as a HID device (serve --hid), and the test builds
// of hid.dll and setupapi.dll that reach it are copied beside the library.

#include "emulator/emulator_client_win.h"
#include "shared/tests/test_folder.h"

#include <windows.h>

#include <string>

namespace gm::test {

class EmulatorProcess {
  public:
    // `mode` goes into hiddriver.ini: "emulator" or "hid".
    explicit EmulatorProcess(const std::string& mode = "emulator");
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;
    ~EmulatorProcess();

    // Starts the virtual mouse and waits until it answers.
    [[nodiscard]] bool Start();
    void Stop();
    bool running() const { return process_ != nullptr; }

    const TestFolder& folder() const { return folder_; }
    const std::string& pipe() const { return pipe_; }
    // One command, as the command line would send it.
    std::pair<bool, std::string> Command(const std::string& text);

    // Runs MouseEmulator.exe with `args` and returns its exit code and output.
    std::pair<int, std::string> RunCli(const std::string& args) const;

  private:
    TestFolder folder_;
    std::string pipe_;
    bool asHid_;
    std::string setupError_; // what went wrong in making the folder
    HANDLE process_ = nullptr;
};

// Copies a file from the folder of the running test program.
bool CopyFromBuildFolder(const std::string& name, const std::string& toFolder);

} // namespace gm::test
