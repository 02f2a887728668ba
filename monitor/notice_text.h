#pragma once
// The text of a notice another program hands the monitor to show (a copy
// of 151 bytes: a byte of its own, then the text in the other 150).

#include <cstddef>
#include <optional>
#include <string>

namespace gm::mon {

inline constexpr std::size_t kNoticeCopySize = 151;
inline constexpr std::size_t kNoticeTextMax = 150;

// Nothing for a copy of any other size; a text without its end is cut at
// 150 characters, and never read past the copy.
std::optional<std::string> NoticeText(const void* data, std::size_t size);

} // namespace gm::mon
