#include <string>
#include <vector>

#include "shell_fixture.hpp"

namespace shell_tests {
namespace {

TEST_F(ShellTest, AnUnavailableListSuiteIsAnnouncedAndStopsTheAcquisition) {
    host->faults().makeUnavailable("ADM List Suite", 1);
    EXPECT_EQ(host->startup(), kSPSuiteNotFoundError);

    ASSERT_EQ(host->shown().size(), 1u) << "only the alert, no error dialog";
    EXPECT_EQ(host->shown()[0].name, "alert");
    EXPECT_EQ(host->shown()[0].texts,
              std::vector<std::string>{"Suite Loading Error: 1394689636, suite: ADM List Suite, version: 1!"});
    const std::vector<std::string> acquired = suitesIn(kAcquire);
    ASSERT_EQ(acquired.size(), 27u);
    EXPECT_EQ(acquired.back(), "ADM List Suite");
    // The dispatch was skipped.
    EXPECT_EQ(journal().count("SPBlocksSuite.AllocateBlock"), 0u);
    // Everything acquired is given back, and nothing that was not.
    EXPECT_EQ(suitesIn(kRelease).size(), 26u);
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
    EXPECT_TRUE(host->ledger().violations().empty());
}

// A failed acquisition with a code other than "suite not found": the alert always, the error dialog only
// when every suite the report needs was acquired before the failure.
struct AcquisitionFailure {
    const char* suite;
    int32_t version;
    std::size_t acquisitionsMade;
    bool alert;
};

void PrintTo(const AcquisitionFailure& failure, std::ostream* out) {
    *out << failure.suite;
}

class AcquisitionFailureTest : public ShellTest, public ::testing::WithParamInterface<AcquisitionFailure> {};

TEST_P(AcquisitionFailureTest, EndsTheCallWithTheCodeAndNoSuiteLeftHeld) {
    const AcquisitionFailure& failure = GetParam();
    host->faults().makeUnavailable(failure.suite, failure.version, 5);
    EXPECT_EQ(host->startup(), 5);

    EXPECT_EQ(journal().count(kAcquire), failure.acquisitionsMade);
    EXPECT_EQ(journal().count("SPBlocksSuite.AllocateBlock"), 0u);
    std::vector<std::string> expectedShown;
    if (failure.alert)
        expectedShown.push_back("alert");
    EXPECT_EQ(shownNames(), expectedShown);
    if (failure.alert) {
        EXPECT_EQ(host->shown()[0].texts[0], std::string("Suite Loading Error: 5, suite: ") + failure.suite +
                                                 ", version: " + std::to_string(failure.version) + "!");
    }
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
    EXPECT_TRUE(host->ledger().violations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Suites, AcquisitionFailureTest,
    ::testing::Values(
        // Before the ADM Basic Suite is held nobody can be told, but the call must not go on without the
        // suite: it ends at once.
        AcquisitionFailure{"SP Blocks Suite", 2, 1, false}, AcquisitionFailure{"AI MdMemory Suite", 1, 3, false},
        AcquisitionFailure{"AI User Suite", 5, 6, false}, AcquisitionFailure{"ADM Basic Suite", 2, 22, false},
        // Without the dialog suite the error dialog cannot be shown.
        AcquisitionFailure{"ADM Dialog Suite", 3, 23, true},
        // Without the item suite the error dialog could not fill its texts or close; it is not shown.
        AcquisitionFailure{"ADM Item Suite", 4, 24, true}));

TEST_F(ShellTest, AFailedAcquisitionAfterTheDialogSuitesIsShownInTheErrorDialog) {
    host->faults().makeUnavailable("ADM Icon Suite", 1, 271);
    EXPECT_EQ(host->startup(), 271);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"alert", "Error Dialog"}));
    EXPECT_EQ(itemText("Error Dialog", 3), "271");
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
}

TEST_F(ShellTest, AFailedReleaseKeepsTheRestHeldAndDoesNotChangeTheAnswer) {
    start();
    journal().clear();
    // The tenth release fails: suites 10 to 29 stay held.
    host->faults().failCall(kRelease, 10, 271);
    EXPECT_EQ(host->sendPlain("AI Menu", "AI Update"), kNoErr);
    EXPECT_EQ(journal().count(kRelease), 10u);
    EXPECT_EQ(host->ledger().outstanding("suite"), 20u);
    EXPECT_TRUE(host->shown().empty());
}

TEST_F(ShellTest, AfterAFailedAcquisitionTheNextCallAcquiresAgain) {
    host->faults().failCall(kAcquire, 2, 5);
    EXPECT_EQ(host->startup(), 5);
    EXPECT_EQ(host->startup(), kNoErr);
    EXPECT_EQ(host->filters().size(), 1u);
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
}

}  // namespace
}  // namespace shell_tests
