// `tesselwright inspect` as a user runs it, on the built plug-in and on files it cannot read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "resources_test_files.hpp"

namespace {

using ::testing::HasSubstr;

struct CommandResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};

CommandResult runInspect(const std::string& arguments) {
    const char* program = std::getenv("TESSELWRIGHT_BIN");
    CommandResult run;
    if (program == nullptr)
        return run;
    std::string command = std::string("'") + program + "' inspect " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class InspectCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("TESSELWRIGHT_BIN") == nullptr)
            GTEST_SKIP() << "TESSELWRIGHT_BIN is not set (ctest sets it)";
    }
};

TEST_F(InspectCommand, JsonShowsWhatTheHostReads) {
    std::vector<std::filesystem::path> files = {testing_support::pluginPath()};
    if (std::filesystem::exists(resources_test::builtWindowsPlugin()))
        files.push_back(resources_test::builtWindowsPlugin());
    for (const auto& file : files) {
        CommandResult run = runInspect("--json '" + file.string() + "'");
        ASSERT_EQ(run.status, 0) << run.output;
        auto report = nlohmann::json::parse(run.output);
        EXPECT_EQ(report["propertyList"]["entryPoint"], "PluginMain") << file;
        EXPECT_EQ(report["propertyList"]["properties"][0]["value"], "SPEA") << file;
        EXPECT_EQ(report["propertyList"]["properties"][1]["value"], 2) << file;
        ASSERT_EQ(report["stringLists"].size(), 2u) << file;
        EXPECT_EQ(report["stringLists"][0]["id"], 16000);
        EXPECT_EQ(report["stringLists"][0]["entries"][1]["text"], "Yrk <Create>");
        EXPECT_EQ(report["stringLists"][0]["entries"][2]["text"], "Tesselwright...");
        EXPECT_EQ(report["stringLists"][1]["id"], 16050);
        EXPECT_EQ(report["stringLists"][1]["entries"].size(), 13u);
        std::vector<int> dialogs;
        for (const auto& dialog : report["dialogs"])
            dialogs.push_back(dialog["id"]);
        EXPECT_EQ(dialogs, (std::vector<int>{16050, 16051, 16100}));
        EXPECT_EQ(report["dialogs"][1]["items"][3]["style"], "0x50000007");
    }
}

TEST_F(InspectCommand, TextNamesTheEssentials) {
    CommandResult run = runInspect("'" + testing_support::pluginPath().string() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* part :
         {"\"PluginMain\"", "\"Yrk <Create>\"", "\"Tesselwright...\"", "Dialog 16051 \"Plug-in Error\"",
          "style 0x90C800C0", "GROUP_ICON 16051", "VERSION 1"})
        EXPECT_THAT(run.output, HasSubstr(part));
}

TEST_F(InspectCommand, UnreadableFilesFailWithASentence) {
    resources_test::ScratchFolder folder("inspect");
    auto garbage = folder.path() / "garbage.aip";
    resources_test::writeFile(garbage, resources_test::Bytes{'M', 'Z', 1, 2, 3});
    for (const auto& [argument, message] : std::vector<std::pair<std::string, std::string>>{
             {"/nonexistent/plugin.so", "no such file"}, {garbage.string(), "too short"}}) {
        CommandResult run = runInspect("'" + argument + "'");
        EXPECT_NE(run.status, 0) << argument;
        EXPECT_THAT(run.output, HasSubstr("tesselwright: cannot read")) << argument;
        EXPECT_THAT(run.output, HasSubstr(message)) << argument;
    }
}

}  // namespace
