// The notice text other programs hand the monitor in a copy message.
#include "fuzz/fuzz.h"
#include "monitor/notice_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    const std::vector<uint8_t> copy(data, data + size);
    const auto text = mon::NoticeText(copy.empty() ? nullptr : copy.data(), copy.size());
    if (!text)
        return 0;
    GM_FUZZ_CHECK(size == mon::kNoticeCopySize, "a copy of another size was taken");
    GM_FUZZ_CHECK(text->size() <= mon::kNoticeTextMax, "a text longer than its place");
    GM_FUZZ_CHECK(std::memcmp(text->data(), copy.data() + 1, text->size()) == 0 &&
                      text->find('\0') == std::string::npos,
                  "the text is not the copy's");
    return 0;
}
