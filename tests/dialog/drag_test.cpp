// The drag buttons: values taken from the mouse point, read as a point of the document.
#include "dialog_fixture.hpp"

namespace dialog_tests {
namespace {

// A view 800 by 600 pixels centred on the artwork origin: view (400 + x, 300 - y) shows artwork (x, y)
// at zoom 1.
class DragTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        useSwatches(12);
        host->document().removeViews();
        host->document().addView(800, 600, zoom, {0.0f, 0.0f});
    }
    float zoom = 1.0f;
};

struct DragCase {
    int32_t button;
    const char* page;
    ADMPoint point;
    int32_t spinEdit;
    double value;
};

class DragButtons : public DragTest, public testing::WithParamInterface<DragCase> {};

TEST_P(DragButtons, TakeTheirValueFromTheMousePoint) {
    const DragCase& c = GetParam();
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::page(c.page), UserAction::drag(c.button, c.point)}), kNoErr);
    EXPECT_EQ(failures(), "");
    const std::pair<int32_t, double> fields[] = {{8, record().frontPatternIndex},   {9, record().frontRotate},
                                                 {10, record().frontScaleH},        {11, record().frontScaleV},
                                                 {30, record().behindPatternIndex}, {31, record().behindRotate},
                                                 {32, record().behindScaleH},       {33, record().behindScaleV}};
    for (const auto& [spinEdit, value] : fields) {
        if (spinEdit == c.spinEdit) {
            EXPECT_NEAR(value, c.value, 1e-3) << "item " << spinEdit;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryButton, DragButtons,
    testing::Values(DragCase{160, "Front", {550, 300}, 10, 150}, DragCase{161, "Front", {400, 100}, 11, 200},
                    DragCase{162, "Behind", {550, 300}, 32, 150}, DragCase{163, "Behind", {400, 50}, 33, 250},
                    DragCase{164, "Front", {500, 200}, 9, 45}, DragCase{164, "Front", {600, 100}, 9, 45},
                    DragCase{164, "Front", {300, 300}, 9, 180}, DragCase{165, "Behind", {400, 400}, 31, -90},
                    DragCase{166, "Front", {459, 300}, 8, 2}, DragCase{167, "Behind", {519, 300}, 30, 5}));

// 59.9 points is pattern 2: truncated, not rounded.
TEST_F(DragTest, PatternNumberTruncates) {
    host->document().removeViews();
    host->document().addView(800, 600, 10.0f, {0.0f, 0.0f});
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::drag(166, {999, 300})}), kNoErr);
    EXPECT_EQ(record().frontPatternIndex, 2);
}

// Left of the origin the number is negative; the spin edit's range then decides what is kept.
TEST_F(DragTest, NegativePointGivesANegativeNumberBeforeTheRange) {
    record().preview = 0;
    ASSERT_EQ(openDialog({UserAction::run([](Dialog& dialog) { dialog.at(8).setMin(-100); }),
                          UserAction::drag(166, {370, 300})}),
              kNoErr);
    EXPECT_EQ(record().frontPatternIndex, -1);
    ASSERT_EQ(openDialog({UserAction::drag(166, {370, 300})}), kNoErr);
    EXPECT_EQ(record().frontPatternIndex, 0);
}

TEST_F(DragTest, WithoutTheButtonBitOnlyRefreshes) {
    const std::size_t before = artCount();
    simhost::ObjectId shape = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { shape = host->document().topLevelArt().back(); }),
                          UserAction::drag(160, {550, 300}, 0)}),
              kNoErr);
    EXPECT_FLOAT_EQ(record().frontScaleH, 100.0f);
    EXPECT_EQ(artCount(), before + 1);
    EXPECT_NE(host->document().topLevelArt().back(), shape);
}

TEST_F(DragTest, WithoutAViewTakesNoValueButStillRefreshes) {
    host->document().removeViews();
    const std::size_t before = artCount();
    simhost::ObjectId shape = 0;
    ASSERT_EQ(openDialog({UserAction::run([&](Dialog&) { shape = host->document().topLevelArt().back(); }),
                          UserAction::drag(160, {550, 300}), UserAction::drag(164, {550, 300}),
                          UserAction::drag(166, {550, 300})}),
              kNoErr);
    EXPECT_EQ(failures(), "");
    EXPECT_FLOAT_EQ(record().frontScaleH, 100.0f);
    EXPECT_FLOAT_EQ(record().frontRotate, 0.0f);
    EXPECT_EQ(record().frontPatternIndex, 0);
    EXPECT_EQ(artCount(), before + 1);
    EXPECT_NE(host->document().topLevelArt().back(), shape);
}

TEST_F(DragTest, HiddenPageButtonsCannotBeOperated) {
    record().preview = 0;
    EXPECT_EQ(openDialog({UserAction::drag(162, {550, 300})}), kCanceledErr);
    EXPECT_NE(failures(), "");
    EXPECT_FLOAT_EQ(record().behindScaleH, 100.0f);
}

}  // namespace
}  // namespace dialog_tests
