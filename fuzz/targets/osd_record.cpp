// The display's settings record in config.ini.
#include "fuzz/fuzz.h"
#include "fuzz/ini_text.h"
#include "shared/osd_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    const std::vector<uint8_t> old = in.Piece();
    fuzz::IniText file(in.RestText());

    OsdSettingsRecord record;
    for (std::size_t off = 0; off + 4 <= OsdSettingsRecord::kSize && !old.empty(); off += 4)
        record.SetI32(off, int32_t(uint32_t(old[off % old.size()]) * 0x01010101u));
    const auto before = record.bytes();
    if (!record.Read(file)) {
        GM_FUZZ_CHECK(record.bytes() == before, "a damaged record changed the settings");
        return 0;
    }
    fuzz::IniText saved;
    GM_FUZZ_CHECK(record.Write(saved), "writing to memory failed");
    OsdSettingsRecord again;
    GM_FUZZ_CHECK(again.Read(saved) && again.bytes() == record.bytes(),
                  "a written record does not read back as itself");
    return 0;
}
