#pragma once
// Memory DCs lent out for one drawing each. Making and deleting a memory DC
// costs about a fifth of a millisecond under Wine, far more than cutting or
// copying a control's image with it; a window full of controls made and
// painted dozens of them at every start. A lent DC comes back with the state
// it was lent with (nothing selected, default attributes), so one borrower
// never sees what another selected or set.

#include <windows.h>

namespace gm::skin {

class ScratchDc {
  public:
    ScratchDc();
    ~ScratchDc();
    ScratchDc(const ScratchDc&) = delete;
    ScratchDc& operator=(const ScratchDc&) = delete;
    // Null only when the platform could make no DC at all.
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HDC dc_ = nullptr;
    int saved_ = 0;
};

} // namespace gm::skin
