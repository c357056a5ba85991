// The builder as the live preview runs it: inside the settings dialog, each build first undoes the previous
// one, so the document always shows exactly one result.
#include <nlohmann/json.hpp>

#include "dialog/dialog_toolkit.hpp"
#include "report/document_json.hpp"
#include "style_host_support.hpp"

namespace {

using simhost::UserAction;
using style_tests::StyleHostTest;
using ::testing::IsEmpty;

constexpr int32_t kShuffleButton = 80;
const char kDialogName[] = "Vrom_Tesselwright";

// The document's contents; the redraw count and the views are not contents and are not undone.
nlohmann::json Contents(const simhost::Document& document) {
    nlohmann::json json = simhost::documentToJson(document);
    json.erase("redraws");
    json.erase("views");
    return json;
}

class Preview : public StyleHostTest {
  protected:
    UserAction capture(std::vector<nlohmann::json>& into) {
        return UserAction::run([this, &into](simhost::Dialog&) { into.push_back(Contents(doc())); });
    }
};

TEST_F(Preview, EachPreviewReplacesThePreviousOneCompletely) {
    record().colorModification = 5;  // negative, front swatch: a second application would undo the first
    record().createSymbol = 1;
    std::vector<nlohmann::json> seen;
    host->dialogs().script(kDialogName,
                           {capture(seen), UserAction::press(kShuffleButton), capture(seen), UserAction::ok()});
    int redraws = doc().redrawCount();

    ASSERT_EQ(host->getParameters(), kNoErr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0]["art"].size(), 1u);
    EXPECT_EQ(seen[0]["symbols"].size(), seen[1]["symbols"].size());
    // No random switch is set, so the second preview is the first one again, swatches included.
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_GE(doc().redrawCount(), redraws + 2);  // previews redraw the document
    EXPECT_EQ(record().previewDrawn, 1);

    // "Go" keeps the preview as the result.
    EXPECT_THAT(go(), IsEmpty());
    EXPECT_EQ(Contents(doc()), seen[1]);
    EXPECT_EQ(record().previewDrawn, 0);
    expectCleanLedger();
}

TEST_F(Preview, CancelLeavesTheDocumentExactlyAsItWas) {
    record().colorModification = 7;  // jitter both swatches
    record().fillBlendMode = 16;
    record().repeatCount = 4;
    record().createSymbol = 1;
    nlohmann::json before = Contents(doc());
    std::vector<nlohmann::json> seen;
    host->dialogs().script(kDialogName, {UserAction::press(kShuffleButton), capture(seen), UserAction::cancel()});

    EXPECT_EQ(host->getParameters(), kCanceledErr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0], before);  // there was a preview to take back
    EXPECT_EQ(Contents(doc()), before);
    expectCleanLedger();
}

// Endings that find nothing to build still redraw during the dialog, so the window shows the previous
// preview gone.
struct EmptyEnding {
    const char* name;
    bool removeSwatches;
    int32_t baseShape;
};

class NothingToBuild : public Preview, public ::testing::WithParamInterface<EmptyEnding> {};

TEST_P(NothingToBuild, PreviewRedrawsWithoutAResult) {
    if (GetParam().removeSwatches)
        doc().clearPatterns();
    record().baseShape = GetParam().baseShape;
    host->dialogs().script(kDialogName, {UserAction::press(kShuffleButton), UserAction::ok()});
    int redraws = doc().redrawCount();
    ASSERT_EQ(host->getParameters(), kNoErr);
    EXPECT_GE(doc().redrawCount(), redraws + 2);
    EXPECT_THAT(doc().topLevelArt(), IsEmpty());
    expectCleanLedger();
}

INSTANTIATE_TEST_SUITE_P(Endings, NothingToBuild,
                         ::testing::Values(EmptyEnding{"no_swatches", true, 0},
                                           EmptyEnding{"unknown_shape", false, 11}),
                         [](const ::testing::TestParamInfo<EmptyEnding>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
