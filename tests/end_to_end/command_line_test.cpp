// The command line as a user meets it: real processes, real files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <string>

#include "support/command_runner.hpp"

namespace fs = std::filesystem;

namespace {

using testing_support::CommandOutcome;

fs::path program() {
    return testing_support::tesselwrightProgram();
}

CommandOutcome runProgram(const std::string& arguments) {
    return testing_support::runCommand("'" + program().string() + "' " + arguments);
}

nlohmann::json readJson(const fs::path& file) {
    std::ifstream in(file);
    return nlohmann::json::parse(in);
}

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        if (program().empty())
            GTEST_SKIP() << "TESSELWRIGHT_BIN is not set";
        dir = fs::temp_directory_path() / ("tesselwright-e2e-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!dir.empty())
            fs::remove_all(dir);
    }
    std::string out(const std::string& stem = "result") const { return "'" + (dir / stem).string() + "'"; }

    fs::path dir;
};

TEST_F(CommandLine, RunWritesPicturesAndAReportThatMatchesTheRecord) {
    CommandOutcome run = runProgram("run --seed 5 --set repeatCount=3 --set baseShape=1 --out " + out());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::file_size(dir / "result.svg") > 0);
    EXPECT_TRUE(fs::file_size(dir / "result.png") > 0);
    EXPECT_NE(run.output.find("result.svg"), std::string::npos) << "the run says where the pictures are";

    nlohmann::json report = readJson(dir / "result.json");
    EXPECT_EQ(report["parameters"]["repeatCount"], 3);
    EXPECT_EQ(report["parameters"]["baseShape"], 1);
    ASSERT_EQ(report["document"]["art"].size(), 1u);
    // Stroke, front fill and three repeats; no random colour fill with the default fill mode.
    EXPECT_EQ(report["document"]["art"][0]["paintFields"].size(), 5u);
}

TEST_F(CommandLine, SameSeedGivesTheSameReport) {
    ASSERT_EQ(runProgram("run --seed 9 --tumble --out " + out("a")).status, 0);
    ASSERT_EQ(runProgram("run --seed 9 --tumble --out " + out("b")).status, 0);
    nlohmann::json a = readJson(dir / "a.json"), b = readJson(dir / "b.json");
    a.erase("outputs");
    b.erase("outputs");
    EXPECT_EQ(a, b);
}

TEST_F(CommandLine, ScriptedRandomNumbersThatRunOutAreAClearError) {
    std::ofstream(dir / "numbers.txt") << "0.5\n0.25\n";
    CommandOutcome run = runProgram("run --random '" + (dir / "numbers.txt").string() +
                                    "' --set randomFrontRotate=1 --set randomFrontScale=1 --set repeatCount=5"
                                    " --set randomBehindScale=1 --out " +
                                    out());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("ran out"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir / "result.json")) << "a failed run leaves no half-written report";
}

struct BadInvocation {
    const char* name;
    const char* arguments;
    const char* message;  // a part of the error text
};

// Names the case by its command line in test listings.
void PrintTo(const BadInvocation& invocation, std::ostream* os) {
    *os << invocation.arguments;
}

class BadInvocations : public CommandLine, public ::testing::WithParamInterface<BadInvocation> {};

TEST_P(BadInvocations, EndWithAClearMessageAndWriteNothing) {
    CommandOutcome run = runProgram(std::string(GetParam().arguments) + " --out " + out());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir / "result.svg"));
    EXPECT_FALSE(fs::exists(dir / "result.json"));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BadInvocations,
    ::testing::Values(BadInvocation{"UnknownOption", "run --no-such-option", "no-such-option"},
                      BadInvocation{"MissingPlugin", "run --plugin /nonexistent/plugin.so",
                                    "/nonexistent/plugin.so"},
                      BadInvocation{"UnknownField", "run --set noSuchField=1", "noSuchField"},
                      BadInvocation{"MalformedValue", "run --set repeatCount=many", "many"},
                      BadInvocation{"NegativeSeed", "run --seed -3", "seed"},
                      BadInvocation{"MissingItem", "run --type 999=5", "999"},
                      BadInvocation{"UnknownPage", "run --page Nowhere", "Nowhere"},
                      BadInvocation{"HiddenItem", "run --tick 69", "hidden"},
                      BadInvocation{"MissingRandomFile", "run --random /nonexistent/numbers.txt", "numbers.txt"}),
    [](const ::testing::TestParamInfo<BadInvocation>& invocation) { return std::string(invocation.param.name); });

TEST_F(CommandLine, InspectShowsWhatAHostReads) {
    CommandOutcome inspect =
        runProgram("inspect --json '" + (program().parent_path() / "Vrom_Tesselwright.so").string() + "'");
    ASSERT_EQ(inspect.status, 0) << inspect.output;
    EXPECT_NE(inspect.output.find("Yrk <Create>"), std::string::npos);
    EXPECT_NE(inspect.output.find("Tesselwright..."), std::string::npos);
    EXPECT_NE(inspect.output.find("PluginMain"), std::string::npos);
}

TEST_F(CommandLine, InspectOfAFileThatIsNoPlugInFails) {
    std::ofstream(dir / "junk.aip") << "this is not a library";
    CommandOutcome inspect = runProgram("inspect '" + (dir / "junk.aip").string() + "'");
    EXPECT_NE(inspect.status, 0);
    EXPECT_NE(inspect.output.find("junk.aip"), std::string::npos) << inspect.output;
}

}  // namespace
