#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/host.hpp"
#include "dialog/dialog_toolkit.hpp"
#include "params/filter_parameters.h"
#include "support/plugin_host.hpp"

namespace {

using simhost::UserAction;

constexpr int32_t kFreshWord = static_cast<int32_t>(0xCDCDCDCD);
constexpr const char* kSettingsDialog = "Vrom_Tesselwright";
constexpr int32_t kFrontRotateSpin = 9;
constexpr int32_t kFrontScaleHSpin = 10;
constexpr int32_t kPreviewCheck = 3;

class ParametersTest : public testing_support::PluginTest {
  protected:
    FilterParameters* record() {
        AIFilterParameters handle = host->parameters();
        return handle == nullptr ? nullptr : static_cast<FilterParameters*>(*handle);
    }
    std::vector<int32_t> words() {
        std::vector<int32_t> copy(kFilterParametersWords);
        std::memcpy(copy.data(), record(), sizeof(FilterParameters));
        return copy;
    }
    std::size_t shownNamed(const std::string& name) const {
        std::size_t n = 0;
        for (const auto& shown : host->shown())
            n += shown.name == name ? 1 : 0;
        return n;
    }
};

TEST_F(ParametersTest, ANewRecordHasTheDefaultsAndCancelKeepsThem) {
    start();
    host->dialogs().script(kSettingsDialog, {UserAction::cancel()});
    EXPECT_EQ(host->getParameters(), kCanceledErr);
    EXPECT_EQ(shownNamed("Error Dialog"), 0u);

    ASSERT_NE(record(), nullptr);
    EXPECT_EQ(host->memory().handleSize(host->parameters()), 62u * 4u);
    // The defaults, word by word.
    FilterParameters expected;
    std::memset(&expected, 0, sizeof(expected));
    expected.viewZoom = 100.0f;
    expected.shapeWidth = 500.0f;
    expected.shapeHeight = 500.0f;
    expected.frontScaleH = 100.0f;
    expected.behindScaleH = 100.0f;
    expected.frontScaleV = 100.0f;
    expected.behindScaleV = 100.0f;
    expected.behindRotate = 90.0f;
    expected.repeatCount = 1;
    expected.presetIndex = 0;  // " Reset": a valid entry of the presets popup
    expected.patternBlendMode = 1;
    expected.activePage = 1;
    expected.fillBlendMode = 17;
    expected.preview = 1;
    expected.reserved = kFreshWord;
    expected.finalRun = kFreshWord;
    expected.dialogLeft = kFreshWord;
    expected.dialogTop = kFreshWord;
    expected.dialogRight = kFreshWord;
    expected.dialogBottom = kFreshWord;
    std::vector<int32_t> expectedWords(kFilterParametersWords);
    std::memcpy(expectedWords.data(), &expected, sizeof(expected));
    EXPECT_EQ(words(), expectedWords);

    const FilterParameters& p = *record();
    // Words without a default keep what the host's new block holds.
    EXPECT_EQ(p.reserved, kFreshWord);
    EXPECT_EQ(p.finalRun, kFreshWord);
    EXPECT_EQ(p.dialogLeft, kFreshWord);
    EXPECT_EQ(p.dialogBottom, kFreshWord);
}

TEST_F(ParametersTest, TheDialogRunsOverTheRecordItself) {
    start();
    void* userData = nullptr;
    host->dialogs().script(kSettingsDialog,
                           {UserAction::run([&](simhost::Dialog& d) { userData = d.userData(); })});
    EXPECT_EQ(host->getParameters(), kNoErr);
    EXPECT_EQ(userData, record());
    const simhost::Dialog* dialog = host->dialogs().last(kSettingsDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->resourceId(), 16100);
}

TEST_F(ParametersTest, OkKeepsWhatTheDialogWroteAndTheNextRunStartsFromIt) {
    start();
    host->dialogs().script(kSettingsDialog, {UserAction::type(kFrontRotateSpin, "45"), UserAction::ok()});
    EXPECT_EQ(host->getParameters(), kNoErr);
    ASSERT_NE(record(), nullptr);
    EXPECT_EQ(record()->frontRotate, 45.0f);
    AIFilterParameters handle = host->parameters();

    float shownAtOpen = 0;
    host->dialogs().script(
        kSettingsDialog,
        {UserAction::run([&](simhost::Dialog& d) { shownAtOpen = d.at(kFrontRotateSpin).floatValue(); })});
    EXPECT_EQ(host->getParameters(), kNoErr);
    EXPECT_EQ(host->parameters(), handle) << "the record is made once";
    EXPECT_EQ(shownAtOpen, 45.0f);
    EXPECT_EQ(host->journal().count("AIMdMemorySuite.MdMemoryNewHandle"), 1u);
}

TEST_F(ParametersTest, CancelUndoesTheRequestAndRestoresTheSnapshot) {
    start();
    host->dialogs().script(kSettingsDialog, {UserAction::type(kFrontRotateSpin, "45"), UserAction::ok()});
    ASSERT_EQ(host->getParameters(), kNoErr);
    std::vector<int32_t> before = words();

    host->dialogs().script(kSettingsDialog,
                           {UserAction::type(kFrontRotateSpin, "30"), UserAction::type(kFrontScaleHSpin, "150"),
                            UserAction::run([&](simhost::Dialog&) {
                                EXPECT_EQ(record()->frontRotate, 30.0f);
                                EXPECT_EQ(record()->frontScaleH, 150.0f);
                            }),
                            UserAction::cancel()});
    host->journal().clear();
    EXPECT_EQ(host->getParameters(), kCanceledErr);

    EXPECT_GE(host->journal().count("AIUndoSuite.UndoChanges"), 1u);
    EXPECT_EQ(host->journal().operations().back(), "SPBasicSuite.ReleaseSuite");
    std::vector<int32_t> after = words();
    before[56] = 0;  // previewDrawn is cleared
    EXPECT_EQ(after, before);
    EXPECT_EQ(record()->previewDrawn, 0);
    EXPECT_EQ(shownNamed("Error Dialog"), 0u);
    EXPECT_TRUE(host->failures().empty());
}

TEST_F(ParametersTest, AFailedUndoAfterCancelIsReturnedAndTheRecordKeepsTheDialogsValues) {
    start();
    // Without preview no build undoes anything, so the one UndoChanges is Cancel's.
    host->dialogs().script(kSettingsDialog, {UserAction::tick(kPreviewCheck, false), UserAction::ok()});
    ASSERT_EQ(host->getParameters(), kNoErr);
    ASSERT_EQ(record()->preview, 0);

    host->faults().failCall("AIUndoSuite.UndoChanges", 1, 271);
    host->dialogs().script(kSettingsDialog, {UserAction::type(kFrontRotateSpin, "30"), UserAction::cancel()});
    EXPECT_EQ(host->getParameters(), 271);
    EXPECT_EQ(record()->frontRotate, 30.0f);
    EXPECT_EQ(shownNamed("Error Dialog"), 1u);
}

TEST_F(ParametersTest, AFailedHandleCreationIsReturnedWithoutOpeningTheDialog) {
    start();
    host->faults().failCall("AIMdMemorySuite.MdMemoryNewHandle", 1, -108);
    EXPECT_EQ(host->getParameters(), -108);
    EXPECT_EQ(host->parameters(), nullptr);
    EXPECT_EQ(shownNamed(kSettingsDialog), 0u);
    EXPECT_EQ(shownNamed("Error Dialog"), 1u);
}

TEST_F(ParametersTest, GoMarksTheFinalRunAndAnswersZero) {
    start();
    host->dialogs().script(kSettingsDialog, {UserAction::tick(kPreviewCheck, false), UserAction::ok()});
    ASSERT_EQ(host->getParameters(), kNoErr);
    ASSERT_EQ(record()->previewDrawn, 0);
    host->journal().clear();
    EXPECT_EQ(host->go(), kNoErr);
    EXPECT_EQ(record()->finalRun, 1);
    EXPECT_EQ(host->journal().count("AIShapeConstructionSuite.NewRect"), 1u);
}

TEST_F(ParametersTest, GoAfterAPreviewKeepsItInsteadOfBuildingASecondResult) {
    start();
    ASSERT_EQ(host->getParameters(), kNoErr);
    ASSERT_EQ(record()->previewDrawn, 1);
    host->journal().clear();
    EXPECT_EQ(host->go(), kNoErr);
    EXPECT_EQ(record()->finalRun, 1);
    EXPECT_EQ(record()->previewDrawn, 0);
    EXPECT_EQ(host->journal().count("AIShapeConstructionSuite.NewRect"), 0u);
}

TEST_F(ParametersTest, CancelAfterMovingTheDialogReopensItWhereItWas) {
    start();
    ASSERT_EQ(host->getParameters(), kNoErr);
    const simhost::Dialog* first = host->dialogs().last(kSettingsDialog);
    ASSERT_NE(first, nullptr);
    const ADMRect place = first->bounds();

    host->dialogs().script(kSettingsDialog, {UserAction::move(30, 20), UserAction::cancel()});
    EXPECT_EQ(host->getParameters(), kCanceledErr);

    ADMRect reopened{};
    host->dialogs().script(kSettingsDialog, {UserAction::run([&](simhost::Dialog& d) { reopened = d.bounds(); })});
    EXPECT_EQ(host->getParameters(), kNoErr);
    EXPECT_EQ(reopened.left, place.left);
    EXPECT_EQ(reopened.top, place.top);
    EXPECT_EQ(reopened.right, place.right);
    EXPECT_EQ(reopened.bottom, place.bottom);
}

TEST_F(ParametersTest, GoAnswersZeroWhateverTheBuilderReports) {
    start();
    host->dialogs().script(kSettingsDialog, {UserAction::tick(kPreviewCheck, false), UserAction::ok()});
    ASSERT_EQ(host->getParameters(), kNoErr);
    host->faults().failCall("AIShapeConstructionSuite.NewRect", 1, -108);
    EXPECT_EQ(host->go(), kNoErr);
    EXPECT_EQ(shownNamed("Error Dialog"), 0u);
}

TEST_F(ParametersTest, GoWithoutARecordDoesNothing) {
    start();
    host->journal().clear();
    EXPECT_EQ(host->go(), kNoErr);
    EXPECT_EQ(host->parameters(), nullptr);
    EXPECT_EQ(host->journal().count("AIMdMemorySuite.MdMemoryNewHandle"), 0u);
    EXPECT_EQ(host->journal().count("AIShapeConstructionSuite.NewRect"), 0u);
    EXPECT_TRUE(host->shown().empty());
    EXPECT_TRUE(host->ledger().violations().empty());
}

TEST_F(ParametersTest, ARequestForAnotherFilterLeavesTheRecordAlone) {
    start();
    auto other = reinterpret_cast<AIFilterHandle>(static_cast<std::uintptr_t>(0x5150));
    EXPECT_EQ(host->sendFilter(kSelectorAIGetParameters, other), kNoErr);
    EXPECT_EQ(host->parameters(), nullptr);
    EXPECT_EQ(shownNamed(kSettingsDialog), 0u);
}

}  // namespace
