// A profile file (Default0-4.gmp, or one being imported) of any content.
#include "fuzz/fuzz.h"
#include "fuzz/ini_text.h"
#include "shared/profile_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace gm;
    fuzz::Input in(data, size);
    fuzz::Record profile(kProfileSize);
    profile.Fill(in.Piece());
    fuzz::IniText file(in.RestText());
    LoadProfile(file, ProfileView(profile.data()));

    ProfileView p(profile.data());
    for (int b = 0; b < kButtonCount; ++b)
        GM_FUZZ_CHECK(p.Button(b).Get(btn::EventCount) <= kMaxEvents,
                      "a button holds more events than it can");
    // What was loaded is saved and read back unchanged.
    fuzz::IniText saved;
    GM_FUZZ_CHECK(SaveProfile(saved, p), "saving to memory failed");
    fuzz::Record again(profile);
    LoadProfile(saved, ProfileView(again.data()));
    GM_FUZZ_CHECK_SAME(again, profile, "a saved profile does not read back as itself");
    return 0;
}
