#pragma once
// A thread of its own for one connection, never joined: the servers count
// their connections and wait for the count to reach zero when they stop.
// Made with CreateThread: with a detached std::thread per connection, the
// virtual mouse crashed now and then under many short connections (a heap
// block written after it was freed); with these it has not.

#include <windows.h>

#include <functional>
#include <memory>

namespace gm::emu {

// Whether the thread started; if not, `job` never runs.
inline bool StartDetachedThread(std::function<void()> job) {
    auto owned = std::make_unique<std::function<void()>>(std::move(job));
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(p));
            (*fn)();
            return 0;
        },
        owned.get(), 0, nullptr);
    if (!thread)
        return false;
    owned.release();
    ::CloseHandle(thread);
    return true;
}

} // namespace gm::emu
