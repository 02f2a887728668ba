#pragma once
// The message loop of a test thread: its windows get what is posted and sent
// to them while the test waits for something to happen.
#include <windows.h>

#include <functional>

namespace gm::test {

// Delivers everything queued for this thread, translating keys as a
// program's own message loop does.
void Pump();
// Pumps until `done` holds or `limitMs` (a generous safety limit) passes;
// returns whether `done` held.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 30000);
// Pumps for `ms`, for things that must be shown not to happen.
void Settle(DWORD ms);

} // namespace gm::test
