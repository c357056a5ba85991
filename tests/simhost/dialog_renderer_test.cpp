// Pictures of a dialog: what is visible is drawn, what is hidden is not.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "core/host.hpp"
#include "core/host_error.hpp"
#include "dialog/dialog_renderer.hpp"
#include "dialog/dialog_toolkit.hpp"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class RendererTest : public ::testing::Test {
  protected:
    RendererTest() {
        dialog.title = "Tesselwright Plugin";
        dialog.createItem(1, simhost::ItemKind::TextPushButton, {200, 10, 260, 30}).setText("&OK");
        dialog.createItem(111, simhost::ItemKind::TextStatic, {10, 60, 148, 80}).setText("Front pattern");
        auto& hidden = dialog.createItem(112, simhost::ItemKind::TextStatic, {10, 60, 148, 80});
        hidden.setText("Behind pattern");
        hidden.visible = false;
        auto& spin = dialog.createItem(9, simhost::ItemKind::SpinEdit, {180, 82, 240, 102});
        spin.precision = 2;
        spin.setValue(-12.5);
        auto& popup = dialog.createItem(90, simhost::ItemKind::PopupList, {10, 110, 150, 130});
        popup.list()->insert(0)->text = " Normal";
        popup.list()->insert(1)->text = " Multiply <&>";
        popup.list()->select(*popup.list()->entry(1), true);
        auto& box = dialog.createItem(66, simhost::ItemKind::TextCheckBox, {10, 140, 150, 154});
        box.setText("Use swatch");
        box.enabled = false;
    }

    simhost::Host host;
    simhost::Dialog& dialog = host.dialogs().openDialog("Vrom_Tesselwright", {100, 80, 600, 370});
};

TEST_F(RendererTest, SvgShowsTheVisibleItemsAsTheUserReadsThem) {
    std::string svg = simhost::renderDialogSvg(dialog);
    EXPECT_THAT(svg, HasSubstr("<svg"));
    EXPECT_THAT(svg, HasSubstr("width=\"508\""));  // 500 wide plus the window frame
    EXPECT_THAT(svg, HasSubstr(">Tesselwright Plugin<"));
    EXPECT_THAT(svg, HasSubstr(">OK<"));
    EXPECT_THAT(svg, HasSubstr(">Front pattern<"));
    EXPECT_THAT(svg, HasSubstr(">-12.50<"));
    EXPECT_THAT(svg, HasSubstr("> Multiply &lt;&amp;&gt;<"));
    EXPECT_THAT(svg, HasSubstr(">Use swatch<"));
    EXPECT_THAT(svg, HasSubstr("fill=\"#808080\" xml:space=\"preserve\">Use swatch<")) << "disabled is grey";
    EXPECT_THAT(svg, Not(HasSubstr("Behind pattern")));
}

TEST_F(RendererTest, BoldCaptionsAreBold) {
    dialog.at(111).font = kADMBoldDialogFont;
    EXPECT_THAT(simhost::renderDialogSvg(dialog), HasSubstr("font-weight=\"bold\" xml:space=\"preserve\">Front"));
}

#ifdef SIMHOST_HAVE_CAIRO
TEST_F(RendererTest, PngIsAPictureOfTheWindow) {
    auto png = simhost::renderDialogPng(dialog);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto big = [&](std::size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(big(16), 508);  // width and height from the header chunk
    EXPECT_EQ(big(20), 290 + 8 + 19);
}
#endif

TEST_F(RendererTest, SavingWritesTheWholeFileOrNothing) {
    auto folder = std::filesystem::temp_directory_path() / ("dialog_renderer_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    simhost::saveDialogPicture(dialog, folder / "front.svg");
    std::ifstream in(folder / "front.svg");
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, simhost::renderDialogSvg(dialog));

    EXPECT_THROW(simhost::saveDialogPicture(dialog, folder / "front.bmp"), simhost::HostError);
    EXPECT_THROW(simhost::saveDialogPicture(dialog, folder / "missing" / "front.svg"), simhost::HostError);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1u) << "no partial file is left behind";
    std::filesystem::remove_all(folder);
}

}  // namespace
