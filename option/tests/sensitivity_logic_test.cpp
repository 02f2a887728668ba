#include "option/pages/sensitivity_logic.h"
#include "option/widgets/stage_values.h"

#include <gtest/gtest.h>

namespace gm::option {
namespace {

struct Profile {
    SettingsBlock block;
    ProfileView view = block.Profile(0);
    Profile() { view.MakeDefault(0, LevelSet::Option); }
};

TEST(SensitivityTables, ShownPositionAndStoredValueAgreeOnTheEdges) {
    EXPECT_EQ(PositionForSensitivity(9), 5);
    EXPECT_EQ(SensitivityForPosition(5), 8) << "touching a slider at 9 stores 8";
    for (int v : {0, 10, 11, -1, 21, 1000})
        EXPECT_EQ(PositionForSensitivity(v), 6) << v;
    EXPECT_EQ(PositionForSensitivity(1), 1);
    EXPECT_EQ(PositionForSensitivity(20), 11);
    for (int p : {0, 12, -3})
        EXPECT_EQ(SensitivityForPosition(p), 10) << p;
    // Every position shows again where it was: the tables round-trip.
    for (int p = 1; p <= 11; ++p)
        EXPECT_EQ(PositionForSensitivity(SensitivityForPosition(p)), p) << p;
}

TEST(SensitivityCoupling, ASliderMovesTheOtherAxisOnlyWhileLinked) {
    Profile p;
    const auto other = MoveSensitivity(p.view, kSliderYId, 2);
    EXPECT_EQ(other, kSliderXId);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_X), 3);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_Y), 3);

    p.view.Set(prof::XYSynchronous, 0);
    EXPECT_EQ(MoveSensitivity(p.view, kSliderXId, 11), std::nullopt);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_X), 20);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_Y), 3);

    EXPECT_EQ(MoveSensitivity(p.view, 203, 4), std::nullopt);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_X), 20) << "another slider stores nothing";
}

TEST(SensitivityCoupling, SwitchingTheLinkOnCopiesXIntoYAndOffChangesNothing) {
    Profile p;
    p.view.Set(prof::XYSynchronous, 0);
    p.view.Set(prof::Sensitivity_X, 14);
    p.view.Set(prof::Sensitivity_Y, 5);
    EXPECT_TRUE(SetXYSynchronous(p.view, true));
    EXPECT_EQ(p.view.Get(prof::Sensitivity_Y), 14);
    EXPECT_EQ(PositionForSensitivity(14), 8);

    EXPECT_FALSE(SetXYSynchronous(p.view, false));
    EXPECT_EQ(p.view.Get(prof::XYSynchronous), 0);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_X), 14);
    EXPECT_EQ(p.view.Get(prof::Sensitivity_Y), 14);
    EXPECT_FALSE(SetXYSynchronous(p.view, true)) << "equal values need no new look";
}

TEST(StageNotices, EachKindWritesItsFieldAndStrangeNoticesNothing) {
    Profile p;
    const SettingsBlock before = p.block;

    EXPECT_EQ(ApplyStageNotice(p.view, 503, StageNoticeParam(StageNoticeKind::Enabled, 0)),
              StageEdit::Stored);
    EXPECT_EQ(p.view.Get(prof::StepFlag(3)), 0);

    EXPECT_EQ(ApplyStageNotice(p.view, 505, StageNoticeParam(StageNoticeKind::Code, 11)),
              StageEdit::Stored);
    EXPECT_EQ(p.view.Get(prof::CpiLevelX(5)), 11) << "the sixth element, held only in the block";
    EXPECT_EQ(p.view.Get(prof::CpiLevelY(5)), 18) << "Y levels are not this page's";

    EXPECT_EQ(ApplyStageNotice(p.view, 500, StageNoticeParam(StageNoticeKind::Select, 0)),
              StageEdit::Selected);
    EXPECT_EQ(p.view.Get(prof::CpiStep), 0) << "selected whatever the value";

    SettingsBlock after = p.block;
    EXPECT_EQ(ApplyStageNotice(p.view, 499, StageNoticeParam(StageNoticeKind::Code, 3)),
              StageEdit::Ignored);
    EXPECT_EQ(ApplyStageNotice(p.view, 506, StageNoticeParam(StageNoticeKind::Code, 3)),
              StageEdit::Ignored);
    EXPECT_EQ(ApplyStageNotice(p.view, 501, (4u << 16) | 3u), StageEdit::Ignored);
    EXPECT_EQ(ApplyStageNotice(p.view, 501, 3u), StageEdit::Ignored) << "kind 0";
    EXPECT_TRUE(p.block == after);
    EXPECT_FALSE(p.block == before);
}

TEST(IndicatorColours, CellsStoreCodesOneToSevenAndOthersShowGrey) {
    Profile p;
    EXPECT_TRUE(StoreIndicatorCell(p.view, 2, 0));
    EXPECT_EQ(p.view.Get(prof::Indicator(2)), 1);
    EXPECT_EQ(IndicatorColour(1), (Rgb{255, 0, 0}));
    EXPECT_TRUE(StoreIndicatorCell(p.view, 3, 6));
    EXPECT_EQ(IndicatorColour(p.view.Get(prof::Indicator(3))), (Rgb{255, 255, 255}));

    const SettingsBlock before = p.block;
    EXPECT_FALSE(StoreIndicatorCell(p.view, 0, 7));
    EXPECT_FALSE(StoreIndicatorCell(p.view, 0, -1));
    EXPECT_FALSE(StoreIndicatorCell(p.view, 4, 1)) << "stage 4 has no swatch";
    EXPECT_TRUE(p.block == before);

    // The fresh profile's codes 15-21 have no colour of their own.
    EXPECT_EQ(IndicatorColour(p.view.Get(prof::Indicator(0))), kUnknownIndicator);
    EXPECT_EQ(IndicatorColour(0), kUnknownIndicator);
    EXPECT_EQ(IndicatorColour(8), kUnknownIndicator);
}

TEST(StageValues, CpiTextAndNoticePacking) {
    EXPECT_EQ(CpiText(1), "250");
    EXPECT_EQ(CpiText(8), "2000");
    EXPECT_EQ(CpiText(9), "2500");
    EXPECT_EQ(CpiText(12), "4000");
    for (int code : {0, 13, -1, 1200})
        EXPECT_EQ(CpiText(code), "1200") << code;

    EXPECT_EQ(StageNoticeParam(StageNoticeKind::Enabled, 0), 0x10000u);
    EXPECT_EQ(StageNoticeParam(StageNoticeKind::Code, 12), 0x2000Cu);
    EXPECT_EQ(StageNoticeParam(StageNoticeKind::Select, 1), 0x30001u);
    EXPECT_EQ(StageNoticeParam(StageNoticeKind::Code, 0x12345), 0x22345u) << "value modulo 65536";
    EXPECT_EQ(StageNoticeKindOf(0x2000Cu), 2);
    EXPECT_EQ(StageNoticeValueOf(0x2000Cu), 12);
}

} // namespace
} // namespace gm::option
