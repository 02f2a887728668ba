#include "monitor/notice_text.h"

#include <cstring>

namespace gm::mon {

std::optional<std::string> NoticeText(const void* data, std::size_t size) {
    if (data == nullptr || size != kNoticeCopySize)
        return std::nullopt;
    const char* text = static_cast<const char*>(data) + 1;
    return std::string(text, strnlen(text, kNoticeTextMax));
}

} // namespace gm::mon
