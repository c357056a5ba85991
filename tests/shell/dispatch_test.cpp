#include <string>
#include <vector>

#include "shell_fixture.hpp"

namespace shell_tests {
namespace {

// One row of the entry point's dispatch: the message, what it answers, whether the suites are bracketed
// around it, and which dialog (if any) the user sees.
struct DispatchRow {
    const char* caller;
    const char* selector;
    ASErr result;
    bool acquired;
    const char* shownDialog;  // null: nothing shown
};

void PrintTo(const DispatchRow& row, std::ostream* out) {
    *out << '"' << row.caller << "\" / \"" << row.selector << '"';
}

class DispatchTest : public ShellTest, public ::testing::WithParamInterface<DispatchRow> {};

// An "AI Filter" message about a filter that is not ours.
const AIFilterHandle kForeignFilter = reinterpret_cast<AIFilterHandle>(static_cast<std::uintptr_t>(0x5150));

TEST_P(DispatchTest, AnswersAndBracketsAsTheTableSays) {
    const DispatchRow& row = GetParam();
    start();
    journal().clear();

    ASErr result;
    if (std::string(row.caller) == kCallerAIFilter)
        result = host->sendFilter(row.selector, kForeignFilter);
    else
        result = host->sendPlain(row.caller, row.selector);

    EXPECT_EQ(result, row.result);
    const std::size_t bracket = row.acquired ? 29 : 0;
    EXPECT_EQ(journal().count(kAcquire), bracket);
    EXPECT_EQ(journal().count(kRelease), bracket);
    std::vector<std::string> expectedShown;
    if (row.shownDialog != nullptr)
        expectedShown.push_back(row.shownDialog);
    EXPECT_EQ(shownNames(), expectedShown);
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
    EXPECT_TRUE(host->ledger().violations().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, DispatchTest,
                         ::testing::Values(DispatchRow{"SP Access", "Unload", kNoErr, false, nullptr},
                                           DispatchRow{"SP Access", "Reload", kNoErr, false, nullptr},
                                           DispatchRow{"SP Access", "Refresh", kNoErr, false, nullptr},
                                           DispatchRow{"SP Interface", "About", kNoErr, true, "About Dialog"},
                                           DispatchRow{"SP Interface", "Wake", kNoErr, true, nullptr},
                                           DispatchRow{"AI Menu", "AI Go", kBadSelectorErr, true, "Error Dialog"},
                                           DispatchRow{"AI Menu", "AI Update", kNoErr, true, nullptr},
                                           DispatchRow{"AI Menu", "AI Other", kNoErr, true, nullptr},
                                           DispatchRow{"AI Filter", "AI Get Parameters", kNoErr, true, nullptr},
                                           DispatchRow{"AI Filter", "AI Go", kNoErr, true, nullptr},
                                           DispatchRow{"AI Filter", "AI Other", kNoErr, true, nullptr},
                                           DispatchRow{"AI Tool", "AI Go", kNoErr, true, nullptr}));

TEST_F(ShellTest, CallerAndSelectorAreComparedInTheTablesOrder) {
    start();
    journal().clear();
    host->sendPlain("AI Menu", "AI Update");
    std::vector<std::string> comparisons;
    for (const auto& entry : journal().entries())
        if (entry.operation == "SPBasicSuite.IsEqual")
            comparisons.push_back(entry.arguments);
    EXPECT_EQ(comparisons,
              (std::vector<std::string>{"AI Menu, SP Access", "AI Menu, SP Interface", "AI Menu, AI Menu",
                                        "AI Update, AI Go", "AI Update, AI Update"}));
}

TEST_F(ShellTest, StartupAcquiresEverySuiteInTableOrderAndReleasesThemInTheSameOrder) {
    start();
    const std::vector<std::string> table = {"SP Blocks Suite",    "SP Access Suite",
                                            "AI MdMemory Suite",  "AI Real Math Suite",
                                            "AI Art Suite",       "AI User Suite",
                                            "AI Document Suite",  "AI Document View Suite",
                                            "AI Undo Suite",      "AI Shape Construction Suite",
                                            "AI Path Suite",      "AI Path Style Suite",
                                            "AI Random Suite",    "AI Blend Style Suite",
                                            "AI Pattern Suite",   "AI Dictionary Suite",
                                            "AI Art Style Suite", "AI Art Style Parser Suite",
                                            "AI Symbol Suite",    "AI Menu Suite",
                                            "AI Filter Suite",    "ADM Basic Suite",
                                            "ADM Dialog Suite",   "ADM Item Suite",
                                            "ADM Icon Suite",     "ADM Notifier Suite",
                                            "ADM List Suite",     "ADM Entry Suite",
                                            "ADM Tracker Suite"};
    EXPECT_EQ(suitesIn(kAcquire), table);
    EXPECT_EQ(suitesIn(kRelease), table);
}

TEST_F(ShellTest, AGetParametersForOurFilterBeforeStartupDoesNothing) {
    // No globals block yet: no filter is ours.
    EXPECT_EQ(host->sendFilter(kSelectorAIGetParameters, nullptr), kNoErr);
    EXPECT_TRUE(host->shown().empty());
    EXPECT_EQ(journal().count(kAcquire), 29u);
}

}  // namespace
}  // namespace shell_tests
