#include <string>
#include <vector>

#include "shell_fixture.hpp"

namespace shell_tests {
namespace {

TEST_F(ShellTest, RegistersTheFilterOfTheFirstPairAndLetsTheHostEnableItsMenuItem) {
    start();
    ASSERT_EQ(host->filters().size(), 1u);
    const simhost::RegisteredFilter& filter = host->filters().front();
    EXPECT_EQ(filter.name, "Vrom_Tesselwright");
    EXPECT_EQ(filter.category, "Yrk <Create>");
    EXPECT_EQ(filter.title, "Tesselwright...");
    EXPECT_TRUE(filter.autoEnabled);

    std::vector<std::string> menuUpdates;
    std::vector<std::string> reads;
    for (const auto& entry : journal().entries()) {
        if (entry.operation == "AIMenuSuite.UpdateMenuItemAutomatically")
            menuUpdates.push_back(entry.arguments.substr(entry.arguments.find(", ") + 2));
        if (entry.operation == "ADMBasicSuite.GetIndexString")
            reads.push_back(entry.arguments);
    }
    EXPECT_EQ(menuUpdates, std::vector<std::string>{"1, 0, 0, 0, 0, 1, 0"});
    EXPECT_EQ(reads, (std::vector<std::string>{"16000, 1, 65", "16000, 2, 65"}));
    EXPECT_EQ(globalsAfterUnload().filterCount, 1);
}

TEST_F(ShellTest, AnEmptyFirstEntryRegistersNothing) {
    host->stringOverrides()[16001] = "";
    EXPECT_EQ(host->startup(), kNoErr);
    EXPECT_TRUE(host->filters().empty());
    EXPECT_EQ(journal().count("AIFilterSuite.AddFilter"), 0u);
    EXPECT_EQ(globalsAfterUnload().filterCount, 0);
    EXPECT_TRUE(host->shown().empty());
}

TEST_F(ShellTest, ASecondPairIsNeverRead) {
    host->stringOverrides()[16003] = "Other Category";
    host->stringOverrides()[16004] = "Other Filter...";
    start();
    ASSERT_EQ(host->filters().size(), 1u);
    EXPECT_EQ(host->filters().front().title, "Tesselwright...");
    EXPECT_EQ(journal().count("ADMBasicSuite.GetIndexString"), 2u);
    EXPECT_EQ(globalsAfterUnload().filterCount, 1);
}

TEST_F(ShellTest, CategoryAndTitleAreCutAt65Characters) {
    host->stringOverrides()[16001] = std::string(64, 'c') + "XYZ";
    host->stringOverrides()[16002] = std::string(65, 't');
    start();
    ASSERT_EQ(host->filters().size(), 1u);
    EXPECT_EQ(host->filters().front().category, std::string(64, 'c') + "X");
    EXPECT_EQ(host->filters().front().title, std::string(65, 't'));
}

TEST_F(ShellTest, AFailedMenuUpdateLeavesTheFilterRegisteredAndIsReported) {
    host->faults().failCall("AIMenuSuite.UpdateMenuItemAutomatically", 1, 271);
    EXPECT_EQ(host->startup(), 271);
    EXPECT_EQ(host->filters().size(), 1u);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Error Dialog"});
    EXPECT_EQ(globalsAfterUnload().filterCount, 1);
}

TEST_F(ShellTest, AFailedMenuItemLookupEndsStartupWithItsCode) {
    host->faults().failCall("AIFilterSuite.GetFilterMenuItem", 1, kBadSelectorErr);
    EXPECT_EQ(host->startup(), kBadSelectorErr);
    EXPECT_EQ(journal().count("AIMenuSuite.UpdateMenuItemAutomatically"), 0u);
    EXPECT_EQ(itemText("Error Dialog", 3), "!sel");
}

TEST_F(ShellTest, AFailedReadOfTheCategoryRegistersNothing) {
    host->faults().failCall("ADMBasicSuite.GetIndexString", 1, -108);
    EXPECT_EQ(host->startup(), kNoErr);
    EXPECT_TRUE(host->filters().empty());
}

}  // namespace
}  // namespace shell_tests
