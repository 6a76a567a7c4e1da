#include "module/output/FeedbackDisplayer.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/fakes/RecordingHost.h"

namespace aeroquin {
namespace {

using aeroquin::testsupport::RecordingHost;
using Lines = std::vector<std::string>;

class FeedbackDisplayerTest : public ::testing::Test {
  protected:
    void SetUp() override { host.reset(); }

    RecordingHost& host = RecordingHost::get();
};

TEST_F(FeedbackDisplayerTest, AnnotationIsCreatedYellowAndPlacedWithoutText) {
    {
        FeedbackDisplayer display(1);
        ASSERT_EQ(host.annotations.size(), 1u);
        const aeroquin::testsupport::FakeAnnotation& note = host.annotations.front();
        EXPECT_TRUE(note.exclusive);
        EXPECT_EQ(note.size, 1.0);
        EXPECT_EQ(note.colour.x, 0.8);
        EXPECT_EQ(note.colour.y, 0.8);
        EXPECT_EQ(note.colour.z, 0.1);
        EXPECT_TRUE(note.placed);
        EXPECT_EQ(note.box, (std::array<double, 4>{0.3, 0.4, 0.7, 0.6}));
        EXPECT_EQ(note.textSets, 0);
        EXPECT_EQ(host.callNames(), (Lines{"oapiCreateAnnotation", "oapiAnnotationSetPos"}));
    }
    ASSERT_EQ(host.deletedAnnotations.size(), 1u);
    EXPECT_EQ(host.deletedAnnotations.front(), &host.annotations.front());
}

TEST_F(FeedbackDisplayerTest, EveryChangeIsLoggedAndShown) {
    FeedbackDisplayer display(2);
    display.show("A");
    display.show("B");
    display.show("A");
    EXPECT_EQ(host.log, (Lines{"A", "B", "A"}));
    EXPECT_EQ(host.annotations.front().text, "A");
    EXPECT_EQ(host.annotations.front().textSets, 3);
}

TEST_F(FeedbackDisplayerTest, PercentSignsReachTheLogDoubledAndTheScreenAsWritten) {
    // The simulator's log reads its text as a printf format.
    FeedbackDisplayer display(1);
    display.show("Vessel 100%s%n% was not found");
    EXPECT_EQ(host.log, (Lines{"Vessel 100%%s%%n%% was not found"}));
    EXPECT_EQ(host.annotations.front().text, "Vessel 100%s%n% was not found");
}

TEST_F(FeedbackDisplayerTest, RepeatedTextCostsNoHostCall) {
    FeedbackDisplayer display(1);
    display.show("Mach: 0.7, AOA: -10");
    const std::size_t callsAfterFirst = host.calls.size();
    for (int frame = 0; frame < 5; ++frame) {
        display.show("Mach: 0.7, AOA: -10");
    }
    EXPECT_EQ(host.calls.size(), callsAfterFirst);
    EXPECT_EQ(host.log, (Lines{"Mach: 0.7, AOA: -10"}));
    EXPECT_EQ(host.annotations.front().textSets, 1);
}

TEST_F(FeedbackDisplayerTest, ComparisonIsExactToTheByte) {
    FeedbackDisplayer display(1);
    display.show("done");
    display.show("Done");
    display.show("Done ");
    display.show(std::string("Done \0", 6));
    EXPECT_EQ(host.log.size(), 4u);
    EXPECT_EQ(host.annotations.front().textSets, 4);
}

TEST_F(FeedbackDisplayerTest, EmptyTextAtFirstIsNoChange) {
    FeedbackDisplayer display(1);
    host.calls.clear();
    display.show("");
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(host.log.empty());
}

TEST_F(FeedbackDisplayerTest, EmptyTextAfterAnotherIsAccepted) {
    FeedbackDisplayer display(1);
    display.show("Capture completed");
    display.show("");
    EXPECT_EQ(host.log, (Lines{"Capture completed", ""}));
    EXPECT_EQ(host.annotations.front().text, "");
    EXPECT_EQ(host.annotations.front().textSets, 2);
}

TEST_F(FeedbackDisplayerTest, ModeZeroOnlyLogs) {
    {
        FeedbackDisplayer display(0);
        display.show("A");
        display.show("B");
        EXPECT_TRUE(host.annotations.front().placed);
    }
    EXPECT_EQ(host.log, (Lines{"A", "B"}));
    EXPECT_EQ(host.count("oapiAnnotationSetText"), 0);
    EXPECT_EQ(host.deletedAnnotations.size(), 1u);
}

TEST_F(FeedbackDisplayerTest, AnyNonZeroModeShows) {
    FeedbackDisplayer display(-1);
    display.show("A");
    EXPECT_EQ(host.annotations.front().text, "A");
}

TEST_F(FeedbackDisplayerTest, WithoutAnnotationTextsAreStillLoggedAndNullIsDeleted) {
    host.failing.insert("oapiCreateAnnotation");
    {
        FeedbackDisplayer display(1);
        display.show("A");
        display.show("B");
    }
    EXPECT_EQ(host.log, (Lines{"A", "B"}));
    EXPECT_EQ(host.callNames(),
              (Lines{"oapiCreateAnnotation", "oapiWriteLog", "oapiWriteLog", "oapiDelAnnotation"}));
    EXPECT_EQ(host.deletedAnnotations, (std::vector<NOTEHANDLE>{nullptr}));
}

TEST_F(FeedbackDisplayerTest, LongTextsGoThroughUnchanged) {
    const std::string text = std::string(3000, 'x') + "\nsecond line";
    FeedbackDisplayer display(1);
    display.show(text);
    EXPECT_EQ(host.log, (Lines{text}));
    EXPECT_EQ(host.annotations.front().text, text);
}

}  // namespace
}  // namespace aeroquin
