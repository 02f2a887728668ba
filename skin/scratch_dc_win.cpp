#include "skin/scratch_dc_win.h"

#include <mutex>
#include <vector>

namespace gm::skin {
namespace {

// DCs kept for lending. Memory DCs belong to no thread, so one pool serves
// the whole process; a few are enough, as borrowers nest only a level or two.
constexpr std::size_t kKept = 8;

struct Pool {
    std::mutex lock;
    std::vector<HDC> free;
};

Pool& ThePool() {
    // Never destroyed: the platform frees the DCs with the process, and no
    // borrower at exit can find the pool gone.
    static Pool* pool = new Pool;
    return *pool;
}

} // namespace

ScratchDc::ScratchDc() {
    Pool& pool = ThePool();
    {
        std::lock_guard g(pool.lock);
        if (!pool.free.empty()) {
            dc_ = pool.free.back();
            pool.free.pop_back();
        }
    }
    if (!dc_)
        dc_ = ::CreateCompatibleDC(nullptr);
    if (dc_)
        saved_ = ::SaveDC(dc_);
}

ScratchDc::~ScratchDc() {
    if (!dc_)
        return;
    // Back to the state it was lent with: whatever the borrower selected is
    // deselected, so it can be deleted.
    if (!saved_ || !::RestoreDC(dc_, saved_)) {
        ::DeleteDC(dc_);
        return;
    }
    Pool& pool = ThePool();
    {
        std::lock_guard g(pool.lock);
        if (pool.free.size() < kKept) {
            pool.free.push_back(dc_);
            return;
        }
    }
    ::DeleteDC(dc_);
}

} // namespace gm::skin
