#include "emulator/scripted_hid.h"
#include "emulator/virtual_mouse.h"

#include <gtest/gtest.h>

namespace gm::emu {
namespace {

std::vector<std::string> Words(std::initializer_list<const char*> w) {
    return {w.begin(), w.end()};
}

TEST(ScriptedHid, DecoysAreListedBeforeTheMouseAndOnlyDecoysLeave) {
    HidInterfaces table;
    ASSERT_TRUE(table.Execute(Words({"add", "0x1111", "0x2222", "0xFF00", "1"})).ok);
    auto r = table.Execute(Words({"add", "6699", "15437", "1", "6", "64", "9"}));
    ASSERT_TRUE(r.ok) << r.text;
    EXPECT_EQ(r.text, "interface 2");
    ASSERT_EQ(table.list().size(), 3u);
    EXPECT_EQ(table.list()[1].vendorId, 0x1A2B) << "decimal ids";
    EXPECT_EQ(table.list()[1].inputLength, 9);
    EXPECT_TRUE(table.list().back().mouse);

    EXPECT_FALSE(table.Execute(Words({"remove", "0"})).ok) << "the mouse is unplugged instead";
    EXPECT_TRUE(table.Execute(Words({"remove", "1"})).ok);
    EXPECT_FALSE(table.Execute(Words({"remove", "1"})).ok);
    EXPECT_EQ(table.list().size(), 2u);
    EXPECT_EQ(table.Execute(Words({"add", "1", "2", "3", "4"})).text, "interface 3")
        << "ids are never reused: they name pipes";

    for (auto bad :
         {Words({"add", "1", "2", "3"}), Words({"add", "1", "2", "3", "4", "64"}),
          Words({"add", "0x10000", "2", "3", "4"}), Words({"add", "1", "2", "3", "4", "1", "8"}),
          Words({"mouse", "1", "2", "3", "1025", "8"}), Words({"frob"})})
        EXPECT_FALSE(table.Execute(bad).ok) << bad[0];
    while (table.list().size() < kMaxHidInterfaces)
        ASSERT_TRUE(table.Execute(Words({"add", "1", "2", "3", "4"})).ok);
    EXPECT_FALSE(table.Execute(Words({"add", "1", "2", "3", "4"})).ok);
}

TEST(ScriptedHid, InputReportsArePaddedOrRefusedWhenTooLong) {
    HidInterfaces table;
    auto r = table.Execute(Words({"input", "0", "2", "0x00", "0x30", "3"}));
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.inputs.size(), 1u);
    EXPECT_EQ(HidInputReport(table.mouse(), r.inputs[0].bytes),
              (std::vector<uint8_t>{2, 0, 0x30, 3, 0, 0, 0, 0}));
    EXPECT_FALSE(
        table.Execute(Words({"input", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})).ok);
    EXPECT_FALSE(table.Execute(Words({"input", "7", "1"})).ok) << "no such interface";
    EXPECT_FALSE(table.Execute(Words({"input", "0", "256"})).ok);
}

TEST(ScriptedHid, PathsCarryTheIdsTheWayWindowsWritesThem) {
    HidInterfaces table;
    const std::string path = HidInterfacePath("\\\\.\\pipe\\m", table.mouse());
    EXPECT_EQ(path.rfind("\\\\.\\pipe\\m#hid#vid_1a2b&pid_3c4d&", 0), 0u) << path;
    HidInterface again = table.mouse();
    again.generation = 2;
    EXPECT_NE(HidInterfacePath("\\\\.\\pipe\\m", again), path)
        << "each publication a path of its own";
    EXPECT_NE(path.find("{4d1e55b2-f16f-11cf-88cb-001111000030}"), std::string::npos);
}

TEST(ScriptedHid, PipeMessagesRoundTripAndMalformedOnesAreRefused) {
    const uint8_t report[3] = {4, 1, 16};
    auto set = ParseHidRequest(EncodeHidSet(0x01020304, report, 3).data(), 8);
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->set);
    EXPECT_EQ(set->seq, 0x01020304u);
    EXPECT_EQ(set->report, (std::vector<uint8_t>{4, 1, 16}));
    const auto getBytes = EncodeHidGet(7, 10, 130);
    auto get = ParseHidRequest(getBytes.data(), getBytes.size());
    ASSERT_TRUE(get);
    EXPECT_EQ(get->length, 130u);
    EXPECT_EQ(get->reportId, 10);

    const auto zero = EncodeHidGet(7, 10, 0);
    const auto huge = EncodeHidGet(7, 10, kMaxHidReport + 1);
    const auto empty = EncodeHidSet(7, report, 0);
    for (const auto& bad : {zero, huge, empty, std::vector<uint8_t>{0xF3, 0, 0, 0, 0, 1}})
        EXPECT_FALSE(ParseHidRequest(bad.data(), bad.size()));

    auto a = EncodeHidGetAnswer(9, true, report, 2); // short: two bytes only
    auto answer = ParseHidAnswer(a.data(), a.size());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->report.size(), 2u);
    a = EncodeHidGetAnswer(9, false, nullptr, 0);
    a.push_back(1); // a refusal carries no report
    EXPECT_FALSE(ParseHidAnswer(a.data(), a.size()));
    a = EncodeHidSetAnswer(9, true);
    a.push_back(0);
    EXPECT_FALSE(ParseHidAnswer(a.data(), a.size()));
    // An input report is no answer, whatever its bytes.
    const uint8_t input[5] = {2, 0, 0x30, 1, 0};
    EXPECT_FALSE(ParseHidAnswer(input, 5));
}

TEST(ScriptedHid, TheListRoundTripsAndACountThatDisagreesIsRefused) {
    HidInterfaces table;
    ASSERT_TRUE(table.Execute(Words({"add", "1", "2", "3", "4", "20", "30"})).ok);
    auto bytes = EncodeHidList(table.list());
    auto list = ParseHidList(bytes.data(), bytes.size());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0].featureLength, 20);
    EXPECT_TRUE((*list)[1].mouse);
    bytes[0] = 3;
    EXPECT_FALSE(ParseHidList(bytes.data(), bytes.size()));
}

TEST(ScriptedHid, TheMouseAnswersShortOnceAndReplugsInOneStep) {
    uint64_t now = 0;
    VirtualMouse mouse([&] { return now; });
    ASSERT_TRUE(mouse.Execute("short 3").ok);
    uint8_t version[8] = {10};
    ReportResult r = mouse.Get(version, 8);
    EXPECT_EQ(r.reply, Reply::Ok);
    EXPECT_EQ(r.answerLength, 3u);
    EXPECT_EQ(mouse.Get(version, 8).answerLength, ReportResult::kWholeAnswer) << "once";
    EXPECT_FALSE(mouse.Execute("short 1025").ok);

    CommandResult c = mouse.Execute("replug");
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.notes.size(), 2u);
    EXPECT_FALSE(c.notes[0].plugged);
    EXPECT_TRUE(c.notes[1].plugged);
    EXPECT_TRUE(mouse.plugged());
    ASSERT_TRUE(mouse.Execute("unplug").ok);
    EXPECT_FALSE(mouse.Execute("replug").ok);

    c = mouse.Execute("hid input 0 2 1 2");
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.notes.size(), 1u);
    EXPECT_EQ(c.notes[0].kind, Notification::RawInput);
    EXPECT_EQ(c.notes[0].input.bytes, (std::vector<uint8_t>{2, 1, 2}));
}

} // namespace
} // namespace gm::emu
