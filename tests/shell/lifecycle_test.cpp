#include <string>
#include <vector>

#include "shell_fixture.hpp"

namespace shell_tests {
namespace {

using simhost::UserAction;

TEST_F(ShellTest, UnloadBeforeStartupHandsOverANullGlobalsPointerWithoutAnySuite) {
    EXPECT_EQ(host->unload(), kNoErr);
    EXPECT_EQ(host->globals(), nullptr);
    EXPECT_EQ(journal().count(kAcquire), 0u);
    EXPECT_TRUE(host->shown().empty());
}

TEST_F(ShellTest, StartupAllocatesTheGlobalsBlockThroughTheHost) {
    start();
    EXPECT_EQ(journal().count("SPBlocksSuite.AllocateBlock"), 1u);
    EXPECT_EQ(host->ledger().outstanding("block"), 1u);
    // The block reaches the host only at "Unload".
    EXPECT_EQ(host->globals(), nullptr);
    GlobalsView globals = globalsAfterUnload();
    ASSERT_EQ(host->filters().size(), 1u);
    EXPECT_EQ(globals.filterHandle, host->filters().front().handle);
    EXPECT_EQ(globals.filterCount, 1);
}

TEST_F(ShellTest, ReloadAfterUnloadKeepsTheGlobalsSoOurFilterIsStillRecognised) {
    start();
    ASSERT_EQ(host->unload(), kNoErr);
    void* handedOver = host->globals();
    ASSERT_NE(handedOver, nullptr);
    ASSERT_EQ(host->reload(), kNoErr);

    journal().clear();
    EXPECT_EQ(host->getParameters(), kNoErr);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Vrom_Tesselwright"});
    ASSERT_EQ(host->unload(), kNoErr);
    EXPECT_EQ(host->globals(), handedOver);
}

TEST_F(ShellTest, ShutdownFreesTheGlobalsAndLeavesTheHostHoldingNothing) {
    start();
    host->about();
    host->getParameters();
    host->go();
    ASSERT_EQ(host->unload(), kNoErr);
    ASSERT_EQ(host->reload(), kNoErr);

    EXPECT_EQ(host->shutdown(), kNoErr);
    EXPECT_EQ(host->globals(), nullptr);
    EXPECT_TRUE(host->ledger().empty()) << "still held: " << host->ledger().outstanding().begin()->first;
    EXPECT_TRUE(host->ledger().violations().empty());
    EXPECT_EQ(host->memory().blockCount(), 0u);
    // Shutdown takes the blocks suite once more for itself, inside the bracket.
    EXPECT_EQ(journal().count("SPBlocksSuite.FreeBlock"), 1u);
    // The plug-in no longer hands over a block.
    ASSERT_EQ(host->unload(), kNoErr);
    EXPECT_EQ(host->globals(), nullptr);
}

TEST_F(ShellTest, AFailedReacquisitionAtShutdownKeepsTheBlockButClearsTheHostsField) {
    start();
    ASSERT_EQ(host->unload(), kNoErr);
    ASSERT_EQ(host->reload(), kNoErr);
    ASSERT_NE(host->globals(), nullptr);
    // The bracket's 29 acquisitions succeed; the thirtieth, Shutdown's own, fails.
    host->faults().failCall(kAcquire, 30, 271);

    EXPECT_EQ(host->shutdown(), 271);
    EXPECT_EQ(host->globals(), nullptr);
    EXPECT_EQ(host->ledger().outstanding("block"), 1u);
    EXPECT_EQ(journal().count("SPBlocksSuite.FreeBlock"), 0u);
    EXPECT_NE(shown("Error Dialog"), nullptr);
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
}

TEST_F(ShellTest, AFailedAllocationAtStartupIsReportedAndRegistersNothing) {
    host->faults().failCall("SPBlocksSuite.AllocateBlock", 1, -108);
    EXPECT_EQ(host->startup(), -108);
    EXPECT_EQ(journal().count("AIFilterSuite.AddFilter"), 0u);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Error Dialog"});
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
}

TEST_F(ShellTest, ACallInsideAModalDialogReusesTheSuitesHeld) {
    start();
    journal().clear();
    ASErr inner = -1;
    host->dialogs().script("About Dialog", {UserAction::run([&](simhost::Dialog&) {
                                                inner = host->sendPlain("AI Menu", "AI Update");
                                                // Still held for the outer call.
                                                EXPECT_EQ(host->ledger().outstanding("suite"), 29u);
                                            }),
                                            UserAction::ok()});
    EXPECT_EQ(host->about(), kNoErr);
    EXPECT_EQ(inner, kNoErr);
    EXPECT_EQ(host->messageDepth(), 0);
    EXPECT_EQ(journal().count(kAcquire), 29u);
    EXPECT_EQ(journal().count(kRelease), 29u);
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
    const simhost::ShownDialog* about = shown("About Dialog");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->result, kADMDefaultItemID);
    EXPECT_TRUE(host->failures().empty());
}

TEST_F(ShellTest, ANestedFailureShowsItsErrorDialogInsideTheOuterDialog) {
    start();
    ASErr inner = kNoErr;
    host->dialogs().script(
        "About Dialog", {UserAction::run([&](simhost::Dialog&) { inner = host->sendPlain("AI Menu", "AI Go"); })});
    EXPECT_EQ(host->about(), kNoErr);
    EXPECT_EQ(inner, kBadSelectorErr);
    // The inner dialog closes first.
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Error Dialog", "About Dialog"}));
    EXPECT_EQ(host->ledger().outstanding("suite"), 0u);
}

TEST_F(ShellTest, AReloadFromInsideACallDoesNotLeaveLaterCallsWithoutSuites) {
    start();
    host->dialogs().script("About Dialog", {UserAction::run([&](simhost::Dialog&) {
                               host->unload();
                               host->reload();
                           })});
    EXPECT_EQ(host->about(), kNoErr);
    journal().clear();
    // The next call acquires its suites again and can use them.
    EXPECT_EQ(host->sendPlain("AI Menu", "AI Go"), kBadSelectorErr);
    EXPECT_EQ(journal().count(kAcquire), 29u);
    EXPECT_EQ(itemText("Error Dialog", 3), "!sel");
}

TEST_F(ShellTest, TheAboutBoxClosesWithItsOkButton) {
    start();
    host->dialogs().script("About Dialog", {UserAction::press(1)});
    EXPECT_EQ(host->about(), kNoErr);
    const simhost::ShownDialog* about = shown("About Dialog");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->resourceId, 16050);
    EXPECT_EQ(about->result, 1);
    const simhost::Dialog* dialog = host->dialogs().last("About Dialog");
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->item(1), nullptr);
    EXPECT_NE(dialog->item(1)->notifyProc, nullptr);
}

}  // namespace
}  // namespace shell_tests
