// `tesselwright dialog` as a user meets it: a real process drawing the settings dialog's pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/command_runner.hpp"

namespace fs = std::filesystem;

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using Outcome = testing_support::CommandOutcome;

class DialogCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        program = testing_support::tesselwrightProgram();
        if (program.empty())
            GTEST_SKIP() << "TESSELWRIGHT_BIN is not set";
        dir = fs::temp_directory_path() / ("tesselwright-dialog-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
    }
    void TearDown() override {
        if (!dir.empty())
            fs::remove_all(dir);
    }

    Outcome run(const std::string& arguments) const {
        return testing_support::runCommand("'" + program.string() + "' dialog --out '" + dir.string() + "' " +
                                           arguments);
    }

    std::vector<std::string> files() const {
        std::vector<std::string> names;
        if (fs::exists(dir))
            for (const auto& entry : fs::directory_iterator(dir))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string read(const std::string& name) const {
        std::ifstream in(dir / name);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path program;
    fs::path dir;
};

TEST_F(DialogCommand, DrawsEveryPageByDefault) {
    Outcome outcome = run("");
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_THAT(files(),
                ::testing::ElementsAre("Behind.png", "Front.png", "Settings.png", "Size.png", "Tweak.png"));
    EXPECT_THAT(outcome.output, HasSubstr((dir / "Tweak.png").string())) << "it says where the pictures are";
}

TEST_F(DialogCommand, DrawsOnePageAsTheUserSeesIt) {
    Outcome outcome = run("--page size --format svg --action 'page Size' --action 'type 39=7'");
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    ASSERT_THAT(files(), ::testing::ElementsAre("Size.svg"));
    std::string svg = read("Size.svg");
    EXPECT_THAT(svg, HasSubstr(">Dimensions (p)<"));
    EXPECT_THAT(svg, HasSubstr(">7<")) << "the typed repeat count";
    EXPECT_THAT(svg, Not(HasSubstr("Front pattern"))) << "another page's label";
}

TEST_F(DialogCommand, RefusesBadRequestsWithoutWritingAnything) {
    struct Case {
        const char* arguments;
        const char* message;
    };
    for (const Case& c : {Case{"--page Colour", "there is no page \"Colour\""}, Case{"--format gif", "gif"},
                          Case{"--action 'jump 3'", "cannot read the user action \"jump 3\""},
                          Case{"--plugin /nonexistent/plugin.so", "/nonexistent/plugin.so"},
                          Case{"--action 'tick 66'", "cannot tick item 66: it is hidden"},
                          Case{"--action cancel", "would close the dialog before its pages are drawn"},
                          Case{"--action ok --items", "would close the dialog"}}) {
        Outcome outcome = run(c.arguments);
        EXPECT_NE(outcome.status, 0) << c.arguments;
        EXPECT_THAT(outcome.output, HasSubstr(c.message)) << c.arguments;
        EXPECT_FALSE(fs::exists(dir)) << c.arguments << ": the folder it made for the pictures is gone again";
    }
}

// The IDs the action options take, page by page, with what a person reads beside each item.
TEST_F(DialogCommand, ListsTheItemsAUserCanOperatePageByPage) {
    Outcome outcome = run("--items");
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    const std::string& text = outcome.output;
    auto at = [&](const std::string& part) { return text.find(part); };
    ASSERT_NE(at("On every page:"), std::string::npos) << text;
    ASSERT_NE(at("On the Front page"), std::string::npos) << text;
    ASSERT_NE(at("On the Settings page"), std::string::npos) << text;
    EXPECT_LT(at("Tumble"), at("On the Front page")) << "a button of every page is listed once, first";
    EXPECT_EQ(text.find("Tumble", at("On the Front page")), std::string::npos) << text;
    EXPECT_THAT(text, HasSubstr("\n      9  spin edit            Rotate(o)  (now 0.00; -360 to 360)\n"));
    EXPECT_THAT(text, HasSubstr("\n     11  spin edit            Scale(%), second  (now 100.00; 5 to 1000)\n"));
    EXPECT_THAT(text, HasSubstr("\n    164  picture button       drags item 9\n"));
    EXPECT_THAT(text, HasSubstr("\n     69  check box            Swap [R]  (not ticked)\n"));
    EXPECT_GT(at("Swap [R]"), at("On the Settings page"));
    EXPECT_LT(at("Rotate(o)"), at("On the Behind page"));
    EXPECT_FALSE(fs::exists(dir)) << "listing draws nothing";

    Outcome size = run("--items --page Size");
    ASSERT_EQ(size.status, 0) << size.output;
    EXPECT_THAT(size.output, HasSubstr("\n     39  spin edit            Repeats  (now 1; 1 to 40)\n"));
    EXPECT_THAT(size.output, HasSubstr("Tumble")) << "one page lists every item it shows";
    EXPECT_THAT(size.output, Not(HasSubstr("Rotate(o)")));
}

}  // namespace
