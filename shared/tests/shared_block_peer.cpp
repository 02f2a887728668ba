// A second process for the shared-block tests.
//   peer check PREFIX SEED   open, copy in, verify SEED's pattern, copy out SEED+1's
//   peer abandon PREFIX      take the mutex and exit without releasing it
//   peer trylock PREFIX      exit 0 when the mutex can be taken at once
//   peer hold PREFIX         take the mutex, copy out seed 1's pattern, set the
//                            event PREFIX "Ready", wait 1 s, copy out seed 2's
//                            and only then release the mutex
#include "shared/shared_block_win.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Fill(gm::SettingsBlock& b, int seed) {
    for (std::size_t i = 0; i < gm::kBlockSize; ++i)
        b.data()[i] = uint8_t(i * 31 + seed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 90;
    const std::string cmd = argv[1];
    const std::string prefix = argv[2];
    if (cmd == "check" && argc == 4) {
        const int seed = std::atoi(argv[3]);
        gm::SharedBlock shared(prefix);
        if (!shared.Open())
            return 91;
        gm::SettingsBlock got, want;
        if (!shared.CopyIn(got))
            return 92;
        Fill(want, seed);
        if (!(got == want))
            return 93;
        Fill(want, seed + 1);
        return shared.CopyOut(want) ? 0 : 94;
    }
    HANDLE mutex =
        ::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (prefix + "Mutex_Object").c_str());
    if (!mutex)
        return 95;
    if (cmd == "abandon") {
        if (::WaitForSingleObject(mutex, INFINITE) != WAIT_OBJECT_0)
            return 96;
        ::ExitProcess(0); // still owned: the mutex is abandoned
    }
    if (cmd == "hold") {
        gm::SharedBlock shared(prefix);
        if (!shared.Open())
            return 91;
        HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, (prefix + "Ready").c_str());
        if (!ready || ::WaitForSingleObject(mutex, INFINITE) != WAIT_OBJECT_0)
            return 96;
        gm::SettingsBlock b;
        Fill(b, 1);
        if (!shared.CopyOut(b))
            return 94; // the mutex is held again: it counts
        ::SetEvent(ready);
        ::Sleep(1000);
        Fill(b, 2);
        if (!shared.CopyOut(b))
            return 94;
        ::ReleaseMutex(mutex);
        return 0;
    }
    if (cmd == "trylock") {
        const DWORD r = ::WaitForSingleObject(mutex, 0);
        if (r != WAIT_OBJECT_0)
            return 97;
        ::ReleaseMutex(mutex);
        return 0;
    }
    return 90;
}
