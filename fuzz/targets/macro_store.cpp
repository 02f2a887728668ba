// config\sequence.dat, the macro library, of any content.
#include "fuzz/fuzz.h"
#include "fuzz/ini_text.h"
#include "option/macros/macro_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const bool bounded = in.Byte() & 1;
    const std::string text = in.RestText();
    fuzz::IniText file(text);
    // The programs bound the reading by the keys the file holds; without
    // that bound only a small count can be read in a fuzz run.
    const int32_t keys = file.KeyCount("Macros");
    const int32_t number = file.ReadInt("Macros", "number", -1);
    if (!bounded && number > 4096)
        return 0;
    MacroList list;
    list.Load(file, bounded ? keys : INT32_MAX);
    GM_FUZZ_CHECK(list.size() <= std::size_t(keys), "more macros than keys in the file");

    fuzz::IniText saved;
    list.Save(saved);
    MacroList again;
    again.Load(saved, saved.KeyCount("Macros"));
    GM_FUZZ_CHECK(again.size() == list.size(), "a saved library lost macros");
    for (std::size_t i = 0; i < list.size(); ++i)
        GM_FUZZ_CHECK(
            std::memcmp(list.At(int(i))->data(), again.At(int(i))->data(), kMacroRecordSize) == 0,
            "a saved macro does not read back as itself");
    // Any macro of the library can be given to a button.
    for (std::size_t i = 0; i < list.size(); ++i) {
        fuzz::Record button(kButtonSize);
        CopyMacroToButton(*list.At(int(i)), ButtonView(button.data()));
        GM_FUZZ_CHECK(ButtonView(button.data()).Get(btn::EventCount) <= kMaxEvents,
                      "a button got more events than it holds");
    }
    return 0;
}
