#include "emulator/firmware.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace gm::emu {
namespace {

using Bytes = std::vector<uint8_t>;
using Events = std::vector<Event>;

bool Set(Firmware& fw, Bytes d) {
    return fw.SetFeature(d.data(), d.size());
}

std::optional<Bytes> Get(Firmware& fw, uint8_t id, std::size_t length) {
    Bytes d(length, 0xEE);
    d[0] = id;
    const Bytes before = d;
    if (!fw.GetFeature(d.data(), d.size())) {
        EXPECT_EQ(d, before) << "a refused get touched the buffer, report " << int(id);
        return std::nullopt;
    }
    return d;
}

int Poll(Firmware& fw) {
    return (*Get(fw, 4, 3))[1];
}

std::optional<Bytes> Read(Firmware& fw, uint8_t profile, uint8_t item, uint8_t id,
                          std::size_t length) {
    if (!Set(fw, {4, profile, item}))
        return std::nullopt;
    return Get(fw, id, length);
}

Bytes Macro(uint8_t profile, uint8_t button, uint8_t tag) {
    Bytes m(kMacroLength, 0);
    m[0] = 9, m[1] = 130, m[2] = profile, m[3] = button, m[4] = 3;
    m[5] = 'F', m[6] = tag, m[29] = 2, m[30] = 7, m[31] = 4, m[32] = 0x87, m[33] = 4;
    return m;
}

// Gives button (1-15) of a profile a function, as the host does: through report 7.
void Assign(Firmware& fw, int profile, int button, uint8_t type) {
    Bytes t(fw.flash().buttons[profile], fw.flash().buttons[profile] + kButtonTableLength);
    t[3 + 3 * (button - 1)] = type;
    ASSERT_TRUE(Set(fw, t));
}

void Stages(Firmware& fw, uint8_t enabled, uint8_t step) {
    fw.flash().performance[fw.flash().activeProfile][5] = enabled;
    fw.flash().performance[fw.flash().activeProfile][16] = step;
}

TEST(FirmwareReports, FactoryStateReadsBackAsTheDefaultProfiles) {
    Firmware fw;
    const uint8_t codes[] = {1, 3, 2, 5, 4};
    for (uint8_t p = 0; p < kProfiles; ++p) {
        // clang-format off
        const Bytes perf = {6, 37, p, 10, 10, 0x0F, 2, 4, 6, 8, 12, 2, 4, 6, 8, 12, 1,
                            15, 16, 17, 21, 20, 1, 2, 0, 2, 1, 1, 1, 0, 1, 0, 0, 2, 0, 4, codes[p]};
        // clang-format on
        EXPECT_EQ(Read(fw, p, 16, 6, 37), perf) << "profile " << int(p);
        Bytes table = {7, 50, p};
        for (uint8_t type : {1, 2, 3, 8, 7, 13, 21, 0, 0, 0, 0, 0, 0, 9, 10})
            table.insert(table.end(), {type, 0, 0});
        table.resize(50);
        EXPECT_EQ(Read(fw, p, 32, 7, 50), table);
    }
    Bytes empty(130, 0);
    empty[0] = 9, empty[1] = 130, empty[2] = 3, empty[3] = 14, empty[4] = 1;
    EXPECT_EQ(Read(fw, 3, 14, 9, 130), empty);
    EXPECT_EQ(Get(fw, 5, 3), (Bytes{5, 3, 0}));
    EXPECT_EQ(Get(fw, 8, 6), (Bytes{8, 6, 10, 1, 0, 0}));
    EXPECT_EQ(Get(fw, 10, 8), (Bytes{10, 8, 123, 0, 1, 0, 0, 0}));
}

TEST(FirmwareReports, SelectStatusDoneBusyCountdownAndFailed) {
    Firmware fw;
    EXPECT_TRUE(Set(fw, {4, 4, 32}));
    EXPECT_EQ(Poll(fw), 1);

    fw.faults().busyPolls = 2;
    EXPECT_TRUE(Set(fw, {4, 1, 0}));
    EXPECT_EQ(Poll(fw), 3);
    EXPECT_EQ(Poll(fw), 3);
    EXPECT_EQ(Poll(fw), 1);
    EXPECT_EQ(fw.faults().busyPolls, 0);

    for (Bytes bad : {Bytes{4, 5, 16}, Bytes{4, 0, 15}, Bytes{4, 0, 33}, Bytes{99, 0, 0}}) {
        fw.faults().busyPolls = 1;
        EXPECT_FALSE(Set(fw, bad));
        EXPECT_EQ(Poll(fw), 2) << "busy must not hide a refusal";
        fw.faults().busyPolls = 0;
        ASSERT_TRUE(Set(fw, {4, 0, 0}));
        EXPECT_EQ(Poll(fw), 1);
    }
    // A refused select leaves nothing selected: no get answers for the old one.
    EXPECT_FALSE(Set(fw, {4, 0, 17}));
    EXPECT_FALSE(Get(fw, 9, 130));

    // Each get answers only what was selected for it.
    ASSERT_TRUE(Set(fw, {4, 0, 32}));
    EXPECT_FALSE(Get(fw, 6, 37));
    EXPECT_FALSE(Get(fw, 9, 130));
    EXPECT_TRUE(Get(fw, 7, 50));
}

TEST(FirmwareReports, SetAndGetRoundTrips) {
    Firmware fw;
    EXPECT_TRUE(Set(fw, {5, 3, 4}));
    EXPECT_EQ(Get(fw, 5, 3), (Bytes{5, 3, 4}));

    Bytes perf = {6, 37, 2};
    for (int i = 3; i < 37; ++i)
        perf.push_back(uint8_t(100 + i));
    ASSERT_TRUE(Set(fw, perf));
    Bytes expected = perf;
    std::copy(perf.begin() + 6, perf.begin() + 11, expected.begin() + 11);
    EXPECT_EQ(Read(fw, 2, 16, 6, 37), expected) << "bytes 11-15 repeat the X levels";
    EXPECT_EQ(Bytes(fw.flash().performance[2] + 11, fw.flash().performance[2] + 16), Bytes(5))
        << "the sent bytes 11-15 are not kept";
    EXPECT_EQ((*Read(fw, 1, 16, 6, 37))[3], 10) << "other profiles untouched";

    Bytes table = {7, 50, 3};
    for (int i = 3; i < 50; ++i)
        table.push_back(uint8_t(i));
    ASSERT_TRUE(Set(fw, table));
    EXPECT_EQ(Read(fw, 3, 32, 7, 50), table);

    // OTG belongs to whichever profile is active.
    ASSERT_TRUE(Set(fw, {8, 6, 7, 1, 0, 0}));
    ASSERT_TRUE(Set(fw, {5, 3, 1}));
    EXPECT_EQ(Get(fw, 8, 6), (Bytes{8, 6, 10, 1, 0, 0}));
    ASSERT_TRUE(Set(fw, {5, 3, 4}));
    EXPECT_EQ(Get(fw, 8, 6), (Bytes{8, 6, 7, 1, 0, 0}));

    ASSERT_TRUE(Set(fw, Macro(1, 4, 'a')));
    ASSERT_TRUE(Set(fw, Macro(4, 14, 'b')));
    EXPECT_EQ(Read(fw, 1, 4, 9, 130), Macro(1, 4, 'a'));
    EXPECT_EQ(Read(fw, 4, 14, 9, 130), Macro(4, 14, 'b'));
    EXPECT_EQ((*Read(fw, 4, 4, 9, 130))[29], 0) << "same button, other profile stays empty";

    EXPECT_TRUE(Set(fw, {14, 3, 1}));
    EXPECT_EQ(fw.flash().hostAttached, 1);

    // A longer buffer: only the report's own bytes are read or written.
    Bytes big(64, 0xEE);
    big[0] = 5;
    ASSERT_TRUE(fw.GetFeature(big.data(), big.size()));
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 4), (Bytes{5, 3, 4, 0xEE}));
    EXPECT_TRUE(Set(fw, Bytes{14, 3, 0, 1, 2, 3}));
}

TEST(FirmwareReports, RefusesShortBadAndOutOfRangeReports) {
    Firmware fw;
    const Bytes before = fw.SaveFlash();
    const std::pair<uint8_t, std::size_t> reports[] = {{4, 3}, {5, 3},   {6, 37}, {7, 50},
                                                       {8, 6}, {9, 130}, {10, 8}, {14, 3}};
    for (auto [id, length] : reports) {
        Bytes shortSet(length - 1, 0);
        shortSet[0] = id;
        EXPECT_FALSE(Set(fw, shortSet)) << int(id);
        EXPECT_FALSE(Get(fw, id, length - 1)) << int(id);
    }
    EXPECT_EQ(fw.SaveFlash(), before);
    EXPECT_FALSE(Get(fw, 14, 3)) << "report 14 is set only";
    EXPECT_FALSE(Set(fw, {10, 8, 1, 0, 1, 0, 0, 0})) << "report 10 is get only";
    EXPECT_FALSE(Get(fw, 0, 8));

    Bytes perf(37), table(50);
    perf[0] = 6, perf[2] = 5, table[0] = 7, table[2] = 5;
    EXPECT_FALSE(Set(fw, perf) || Set(fw, table));
    EXPECT_FALSE(Set(fw, {5, 3, 5}));
    EXPECT_FALSE(Set(fw, Macro(5, 0, 'x')) || Set(fw, Macro(0, 15, 'x')));
    EXPECT_EQ(fw.SaveFlash(), before);
}

TEST(FirmwareReports, InjectedFaults) {
    Firmware fw;
    fw.set_plugged(false);
    EXPECT_FALSE(Set(fw, {5, 3, 1}));
    EXPECT_FALSE(Get(fw, 10, 8));
    EXPECT_TRUE(fw.Press(1).events.empty());
    fw.set_plugged(true);
    fw.faults().silent = true;
    EXPECT_FALSE(Set(fw, {5, 3, 1}));
    EXPECT_FALSE(Get(fw, 4, 3));
    fw.faults().silent = false;
    EXPECT_EQ(fw.flash().activeProfile, 0);

    fw.faults().failNextSet = true;
    EXPECT_FALSE(Set(fw, {5, 3, 1}));
    EXPECT_EQ(fw.flash().activeProfile, 0) << "a failed set changes nothing";
    EXPECT_EQ(Poll(fw), 2);
    EXPECT_TRUE(Set(fw, {5, 3, 1})) << "the fault fires once";
    fw.faults().failNextGet = true;
    EXPECT_FALSE(Get(fw, 5, 3));
    EXPECT_EQ(Get(fw, 5, 3), (Bytes{5, 3, 1}));

    // Unplugged in the middle of a read: select and status pass, the get fails.
    fw.faults().unplugAfter = 3;
    EXPECT_TRUE(Set(fw, {4, 2, 5}));
    EXPECT_EQ(Poll(fw), 1);
    EXPECT_FALSE(Get(fw, 9, 130));
    EXPECT_FALSE(fw.plugged());
    EXPECT_EQ(fw.faults().unplugAfter, -1);
    fw.set_plugged(true);
    EXPECT_TRUE(Get(fw, 9, 130)) << "replugged, the selection still answers";
}

struct Mapping {
    uint8_t type;
    Events press, release;
};

TEST(FirmwareButtons, EachFunctionReportsItsEvents) {
    // clang-format off
    const Mapping cases[] = {
        {16, {{0x4000, 8}}, {{0x4000, 0x108}}},  {5, {{0x5000, 8}}, {{0x5000, 0x108}}},
        {54, {{0x5000, 8}}, {{0x5000, 0x108}}},  {17, {{0x6000, 8}}, {{0x6000, 0x108}}},
        {25, {{0xF000, 25}}, {{0xF000, 0x119}}}, {32, {{0xF000, 32}}, {{0xF000, 0x120}}},
        {9, {{0x1000, 255}}, {}}, {10, {{0x1000, 1}}, {}}, {23, {{0xA000, 1}}, {}}};
    // clang-format on
    for (const Mapping& m : cases) {
        Firmware fw;
        Assign(fw, 0, 8, m.type);
        EXPECT_EQ(fw.Press(8).events, m.press) << "type " << int(m.type);
        EXPECT_EQ(fw.Release(8).events, m.release) << "type " << int(m.type);
    }
    for (uint8_t type : {0, 1, 2, 3, 4, 6, 7, 8, 11, 12, 33, 38, 42, 43, 44, 45, 99}) {
        Firmware fw;
        Assign(fw, 0, 8, type);
        const Bytes before = fw.SaveFlash();
        const Outcome press = fw.Press(8), release = fw.Release(8);
        EXPECT_TRUE(press.events.empty() && release.events.empty()) << int(type);
        EXPECT_FALSE(press.action.empty());
        EXPECT_EQ(fw.SaveFlash(), before) << "type " << int(type) << " changed a setting";
    }
    Firmware fw;
    EXPECT_NE(fw.Press(1).action.find("left click"), std::string::npos);
    EXPECT_TRUE(fw.Press(0).action.empty() && fw.Press(16).events.empty());
}

TEST(FirmwareButtons, ActOnTheActiveProfileAndReleaseAsPressed) {
    Firmware fw;
    Assign(fw, 2, 1, 16);
    EXPECT_TRUE(fw.Press(1).events.empty());
    fw.Release(1);
    ASSERT_TRUE(Set(fw, {5, 3, 2}));
    EXPECT_EQ(fw.FunctionOf(1), 16);
    EXPECT_EQ(fw.Press(1).events, (Events{{0x4000, 1}}));

    // Button 7 cycles the profile; in the next profile it plays a macro. Its
    // release must not send a macro release that was never pressed.
    Assign(fw, 3, 7, 16);
    EXPECT_EQ(fw.Press(7).events, (Events{{0x3000, 4}}));
    EXPECT_TRUE(fw.Release(7).events.empty());
}

TEST(FirmwareButtons, ResolutionStagesMoveOverEnabledStagesOnly) {
    Firmware fw;
    Assign(fw, 0, 1, 13);
    Assign(fw, 0, 2, 14);
    Assign(fw, 0, 3, 15);
    Stages(fw, 0b10101, 1); // stage 1 disabled under the mouse's feet
    const auto stageAfter = [&](int button) {
        const Outcome o = fw.Press(button);
        fw.Release(button);
        return o.events;
    };
    EXPECT_EQ(stageAfter(1), (Events{{0xB000, 3}}));
    EXPECT_EQ(stageAfter(1), (Events{{0xB000, 5}}));
    EXPECT_EQ(stageAfter(1), (Events{{0xB000, 1}})) << "wraps to the first";
    EXPECT_EQ(fw.ActiveStage(), 0);

    Stages(fw, 0b01110, 1);
    EXPECT_EQ(stageAfter(2), (Events{{0xB000, 3}}));
    EXPECT_EQ(stageAfter(2), (Events{{0xB000, 4}}));
    EXPECT_TRUE(stageAfter(2).empty()) << "up stops at the highest enabled";
    EXPECT_EQ(fw.ActiveStage(), 3);
    Stages(fw, 0b01110, 2);
    EXPECT_EQ(stageAfter(3), (Events{{0xB000, 2}}));
    EXPECT_TRUE(stageAfter(3).empty()) << "down stops at the lowest enabled";
    Stages(fw, 0b00100, 2);
    EXPECT_TRUE(stageAfter(1).empty()) << "one enabled stage: cycle stays";
}

TEST(FirmwareButtons, SniperHoldsTheLowestStageAndRestores) {
    Firmware fw;
    Assign(fw, 0, 4, 24);
    Stages(fw, 0b01110, 3);
    EXPECT_EQ(fw.Press(4).events, (Events{{0xB000, 2}}));
    EXPECT_EQ(fw.ActiveStage(), 1);
    EXPECT_EQ(fw.Release(4).events, (Events{{0xB000, 4}}));
    EXPECT_EQ(fw.ActiveStage(), 3);

    Stages(fw, 0b01110, 1); // already at the lowest: nothing to report
    EXPECT_TRUE(fw.Press(4).events.empty());
    EXPECT_TRUE(fw.Release(4).events.empty());
    EXPECT_EQ(fw.ActiveStage(), 1);

    // Profile switched while held: that profile gets its stage back silently.
    Stages(fw, 0b01111, 2);
    fw.Press(4);
    fw.SwitchProfile(1);
    EXPECT_TRUE(fw.Release(4).events.empty());
    EXPECT_EQ(fw.flash().performance[0][16], 2);
}

TEST(FirmwareButtons, SensitivityProfileAndPollingCycles) {
    Firmware fw;
    for (int b = 1; b <= 5; ++b)
        Assign(fw, 0, b, uint8_t(17 + b)); // 18-22
    fw.flash().performance[0][3] = 19;
    fw.flash().performance[0][4] = 20;
    EXPECT_EQ(fw.Press(1).events, (Events{{0xC000, 0x1414}}));
    EXPECT_TRUE(fw.Press(1).events.empty()) << "20 is the top";
    fw.flash().performance[0][3] = 2;
    fw.flash().performance[0][4] = 1;
    EXPECT_EQ(fw.Press(2).events, (Events{{0xC000, 0x0101}}));
    EXPECT_TRUE(fw.Press(2).events.empty()) << "1 is the bottom";
    EXPECT_EQ(fw.Press(3).events, (Events{{0xC000, 0x0A0A}}));
    EXPECT_TRUE(fw.Press(3).events.empty());
    EXPECT_EQ(fw.SensitivityX(), 10);

    fw.flash().performance[0][23] = 3;
    EXPECT_EQ(fw.Press(5).events, (Events{{0xD000, 1}}));
    EXPECT_EQ(fw.Press(5).events, (Events{{0xD000, 2}}));
    EXPECT_EQ(fw.PollingRate(), 1);

    ASSERT_TRUE(Set(fw, {5, 3, 4}));
    EXPECT_EQ(fw.Press(7).events, (Events{{0x3000, 1}})) << "5 wraps to 1";
    EXPECT_EQ(fw.Press(7).events, (Events{{0x3000, 2}}));
    EXPECT_EQ(Get(fw, 5, 3), (Bytes{5, 3, 1}));

    EXPECT_EQ(fw.SwitchProfile(1).events, (Events{{0x3000, 2}}))
        << "reported even when already active";
    EXPECT_TRUE(fw.SwitchProfile(5).events.empty());
    EXPECT_EQ(fw.flash().activeProfile, 1);
}

TEST(FirmwareFlash, ImageRoundTripsAndRefusesForeignImages) {
    Firmware fw;
    ASSERT_TRUE(Set(fw, {5, 3, 3}));
    ASSERT_TRUE(Set(fw, {8, 6, 42, 1, 0, 0}));
    ASSERT_TRUE(Set(fw, Macro(3, 9, 'z')));
    Assign(fw, 4, 15, 16);
    fw.flash().performance[2][3] = 17;
    const Bytes image = fw.SaveFlash();
    ASSERT_EQ(Bytes(image.begin(), image.begin() + 4), (Bytes{'G', 'M', 'F', '1'}));

    Firmware other;
    ASSERT_TRUE(other.LoadFlash(image));
    EXPECT_EQ(other.SaveFlash(), image);
    EXPECT_EQ(Read(other, 3, 9, 9, 130), Macro(3, 9, 'z'));
    EXPECT_EQ(Get(other, 8, 6), (Bytes{8, 6, 42, 1, 0, 0}));
    EXPECT_NE(other.Dump().find("\"Fz\""), std::string::npos) << other.Dump();

    const Bytes factory = Firmware().SaveFlash();
    Bytes truncated(image.begin(), image.end() - 1), longer = image, foreign = image,
                                                     badProfile = image;
    longer.push_back(0);
    foreign[3] = '2';
    badProfile[4] = 5;
    for (const Bytes& bad : {truncated, longer, foreign, badProfile, Bytes{}}) {
        Firmware fresh;
        EXPECT_FALSE(fresh.LoadFlash(bad));
        EXPECT_EQ(fresh.SaveFlash(), factory);
    }
}

} // namespace
} // namespace gm::emu
