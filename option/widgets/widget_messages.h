#pragma once
// Notices the resolution-stage widgets post to their owners.

namespace gm::option {

// From a stage control: wParam kind x 65536 + value, lParam its identifier.
inline constexpr unsigned UM_STAGE_CHANGED = 0x0400 + 104; // 1128
// From the colour chooser: wParam 0, lParam the chosen cell 0-6.
inline constexpr unsigned UM_COLOR_CHOSEN = 0x0400 + 106; // 1130

} // namespace gm::option
