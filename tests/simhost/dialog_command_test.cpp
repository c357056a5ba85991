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
                          Case{"--action 'tick 66'", "cannot tick item 66: it is hidden"}}) {
        Outcome outcome = run(c.arguments);
        EXPECT_NE(outcome.status, 0) << c.arguments;
        EXPECT_THAT(outcome.output, HasSubstr(c.message)) << c.arguments;
        EXPECT_TRUE(files().empty()) << c.arguments;
    }
}

}  // namespace
