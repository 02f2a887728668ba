#include "shared/shared_block_win.h"

#include <windows.h>

#include <cstring>

namespace gm {

bool SharedBlock::Create(bool* mutexExisted) {
    Close();
    mutex_.reset(::CreateMutexA(nullptr, FALSE, MutexName().c_str()));
    if (mutexExisted)
        *mutexExisted = mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
    mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        DWORD(kBlockSize), MappingName().c_str()));
    if (!mutex_ || !mapping_) {
        Close();
        return false;
    }
    view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    if (!view_)
        Close();
    return IsOpen();
}

bool SharedBlock::Open() {
    Close();
    if (!OpenMutex() || OpenMapping() != MapResult::Opened) {
        Close();
        return false;
    }
    return true;
}

bool SharedBlock::OpenMutex() {
    mutex_.reset(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, MutexName().c_str()));
    return bool(mutex_);
}

SharedBlock::MapResult SharedBlock::OpenMapping() {
    CloseMapping();
    mapping_.reset(
        ::OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, MappingName().c_str()));
    if (!mapping_)
        return MapResult::NoSection;
    view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    if (!view_) {
        mapping_.reset();
        return MapResult::ViewFailed;
    }
    return MapResult::Opened;
}

void SharedBlock::CloseMapping() {
    view_.reset();
    mapping_.reset();
}

void SharedBlock::Close() {
    view_.reset();
    mapping_.reset();
    mutex_.reset();
}

bool SharedBlock::Lock() {
    if (!IsOpen())
        return false;
    const DWORD r = ::WaitForSingleObject(mutex_.get(), INFINITE);
    // An abandoned mutex is now ours: the block is whole (every copy is a
    // single memcpy), so use it and release it like any other.
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

void SharedBlock::Unlock() {
    ::ReleaseMutex(mutex_.get());
}

bool SharedBlock::CopyIn(SettingsBlock& target) {
    if (!Lock())
        return false;
    std::memcpy(target.data(), view_.get(), kBlockSize);
    Unlock();
    return true;
}

bool SharedBlock::CopyOut(const SettingsBlock& source) {
    if (!Lock())
        return false;
    std::memcpy(view_.get(), source.data(), kBlockSize);
    Unlock();
    return true;
}

} // namespace gm
