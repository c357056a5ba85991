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

// A numbers file as editors write it: a byte-order mark, CRLF line ends; and a number just below 1 that
// single precision would round up to 1.
TEST_F(CommandLine, ScriptedRandomNumbersAreReadAsEditorsWriteThem) {
    {
        std::ofstream numbers(dir / "numbers.txt", std::ios::binary);
        numbers << "\xEF\xBB\xBF"
                << "0.99999999\r\n";
        for (int i = 0; i < 200; ++i)
            numbers << "0." << (i * 37 % 100) << "\r\n";
    }
    CommandOutcome run = runProgram("run --random '" + (dir / "numbers.txt").string() +
                                    "' --set randomFrontRotate=1 --set repeatCount=5 --out " + out());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("random numbers came from"), std::string::npos) << run.output;
}

// One frame per action; frames of an earlier run in the folder go, anything else stays.
TEST_F(CommandLine, FramesShowEveryActionAndReplaceAnEarlierRunsFrames) {
    fs::create_directories(dir / "frames");
    std::ofstream(dir / "frames" / "frame-009.png") << "old";
    std::ofstream(dir / "frames" / "notes.txt") << "mine";
    CommandOutcome run = runProgram("run --seed 3 --page Size --type 39=2 --frames '" + (dir / "frames").string() +
                                    "' --out " + out());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::exists(dir / "frames" / "frame-001.png"));
    EXPECT_TRUE(fs::exists(dir / "frames" / "frame-002.png"));
    EXPECT_FALSE(fs::exists(dir / "frames" / "frame-009.png")) << "an earlier run's frame";
    EXPECT_TRUE(fs::exists(dir / "frames" / "notes.txt"));
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
    ::testing::Values(
        BadInvocation{"UnknownOption", "run --no-such-option", "no-such-option"},
        BadInvocation{"MissingPlugin", "run --plugin /nonexistent/plugin.so", "/nonexistent/plugin.so"},
        BadInvocation{"UnknownField", "run --set noSuchField=1", "noSuchField"},
        BadInvocation{"MalformedValue", "run --set repeatCount=many", "many"},
        BadInvocation{"NegativeSeed", "run --seed -3", "seed"},
        BadInvocation{"MissingItem", "run --type 999=5", "999"},
        BadInvocation{"UnknownPage", "run --page Nowhere", "Nowhere"},
        BadInvocation{"HiddenItem", "run --tick 69", "hidden"},
        BadInvocation{"MissingRandomFile", "run --random /nonexistent/numbers.txt", "numbers.txt"},
        BadInvocation{"WholeNumberOutOfRange", "run --set repeatCount=99999999999", "out of the field's range"},
        BadInvocation{"RealNumberOutOfRange", "run --set shapeWidth=1e308", "too large or too small"},
        BadInvocation{"UnknownCommand", "frobnicate", "there is no command \"frobnicate\""},
        BadInvocation{"SeedOutOfRange", "run --seed 18446744073709551616", "18446744073709551615"},
        BadInvocation{"SeedAndRandomNumbers", "run --seed 3 --random /dev/null", "excludes"},
        BadInvocation{"ScriptIsAFolder", "run --script /", "it is a folder"},
        BadInvocation{"ScriptIsBinary", "run --script /bin/sh", "binary data"},
        BadInvocation{"FramesIntoAFile", "run --frames /bin/sh", "cannot make the folder /bin/sh"},
        BadInvocation{"UnreadableCommandLine", "run --size 9", "tesselwright: --size: the picture size must be"},
        BadInvocation{"UnknownPreset", "run --preset Nope", "its entries are \" Reset\""},
        BadInvocation{"ActionAfterTheDialogClosed", "run --ok --page Tweak",
                      "closed before the action \"page Tweak\""}),
    [](const ::testing::TestParamInfo<BadInvocation>& invocation) { return std::string(invocation.param.name); });

// A name of the set already taken by a folder is refused before any file of the set is written.
TEST_F(CommandLine, AnOutputNameTakenByAFolderWritesNothing) {
    fs::create_directories(dir / "result.json");
    CommandOutcome run = runProgram("run --seed 2 --out " + out());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("result.json: a folder has that name"), std::string::npos) << run.output;
    for (const char* left : {"result.svg", "result.png", "result.svg.part", "result.png.part", "result.json.part"})
        EXPECT_FALSE(fs::exists(dir / left)) << left;
}

// A run that designs nothing still writes the document, and says it is not a design.
TEST_F(CommandLine, ARunThatDesignsNothingSaysSo) {
    struct Case {
        const char* arguments;
        const char* said;
    };
    for (const Case& c : {Case{"--cancel", "the settings dialog was cancelled"},
                          Case{"--set baseShape=99", "the plug-in made no new art"}}) {
        CommandOutcome run = runProgram(std::string("run --seed 4 ") + c.arguments + " --out " + out());
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("Wrote the design"), std::string::npos) << run.output;
    }
}

// Without --seed the run draws one and shows it, so that a result worth keeping can be made again.
TEST_F(CommandLine, ADrawnSeedIsShownAndRepeatsTheRun) {
    CommandOutcome first = runProgram("run --tumble --out " + out("a"));
    ASSERT_EQ(first.status, 0) << first.output;
    auto at = first.output.find("run again with --seed ");
    ASSERT_NE(at, std::string::npos) << first.output;
    std::string seed = first.output.substr(at + 22, first.output.find(' ', at + 22) - (at + 22));
    CommandOutcome again = runProgram("run --tumble --seed " + seed + " --out " + out("b"));
    ASSERT_EQ(again.status, 0) << again.output;
    nlohmann::json a = readJson(dir / "a.json"), b = readJson(dir / "b.json");
    a.erase("outputs");
    b.erase("outputs");
    EXPECT_EQ(a, b);
}

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
