#pragma once
// The settings block in named shared memory, guarded by a named mutex. Every
// access is one whole-block copy made while holding the mutex.

#include "shared/settings_block.h"
#include "win/handles.h"

#include <string>

namespace gm {

inline constexpr const char* kObjectPrefix = "Orvex_Gaming_Mouse_Normal_";

class SharedBlock {
  public:
    // `prefix` names the mapping (prefix + "Share_Data") and the mutex
    // (prefix + "Mutex_Object").
    explicit SharedBlock(std::string prefix = kObjectPrefix) : prefix_(std::move(prefix)) {}

    // The monitor's side: creates the mapping and the mutex, with the user's
    // default security. `mutexExisted` tells whether another program already
    // had the mutex (a second monitor, or a configuration program left over
    // from a monitor that died).
    [[nodiscard]] bool Create(bool* mutexExisted = nullptr);
    // The configuration program's side: opens what the monitor created.
    [[nodiscard]] bool Open();
    // The same in the configuration program's two steps: the mutex first,
    // the memory later. A section smaller than the block cannot be mapped
    // (ViewFailed), so a foreign section of that name is never overrun.
    enum class MapResult { Opened, NoSection, ViewFailed };
    bool OpenMutex();
    MapResult OpenMapping();
    void CloseMapping();
    bool HasMapping() const { return bool(view_); }
    void Close();
    bool IsOpen() const { return view_ && mutex_; }

    // Shared memory into `target`, whole. False, and nothing copied, when the
    // mutex cannot be taken. A mutex abandoned by a program that died holding
    // it counts as taken.
    [[nodiscard]] bool CopyIn(SettingsBlock& target);
    // `source` into the shared memory, whole; same rules.
    [[nodiscard]] bool CopyOut(const SettingsBlock& source);

    std::string MappingName() const { return prefix_ + "Share_Data"; }
    std::string MutexName() const { return prefix_ + "Mutex_Object"; }

  private:
    bool Lock();
    void Unlock();

    std::string prefix_;
    win::unique_handle mapping_;
    win::unique_handle mutex_;
    win::unique_view view_;
};

} // namespace gm
