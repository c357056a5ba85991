#include <string>
#include <vector>

#include "shell_fixture.hpp"

namespace shell_tests {
namespace {

const std::string kMemoryMessage = "The filter cannot complete because there isn't enough memory (RAM) available.";
const std::string kUnknownMessage = "The filter cannot complete because of an unknown error.";

struct ReportCase {
    ASErr code;
    std::string message;
    std::string codeText;
};

void PrintTo(const ReportCase& c, std::ostream* out) {
    *out << "code " << c.code << " (" << c.codeText << ")";
}

class ErrorReportTest : public ShellTest, public ::testing::WithParamInterface<ReportCase> {
  protected:
    // A failing registration ends Startup with the code, which the entry point reports.
    ASErr startupFailingWith(ASErr code) {
        host->faults().failCall("AIFilterSuite.AddFilter", 1, code);
        return host->startup();
    }
};

TEST_P(ErrorReportTest, ShowsTheMessageOfTheCodesEntryAndTheCodeAsText) {
    const ReportCase& c = GetParam();
    EXPECT_EQ(startupFailingWith(c.code), c.code);
    ASSERT_EQ(shownNames(), std::vector<std::string>{"Error Dialog"});
    EXPECT_EQ(host->shown()[0].resourceId, 16051);
    EXPECT_EQ(host->shown()[0].result, kADMDefaultItemID);
    EXPECT_EQ(itemText("Error Dialog", 2), c.message);
    EXPECT_EQ(itemText("Error Dialog", 3), c.codeText);
    EXPECT_TRUE(host->failures().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorReportTest,
    ::testing::Values(ReportCase{-108, kMemoryMessage, "-108"}, ReportCase{271, kMemoryMessage, "271"},
                      ReportCase{kBadSelectorErr, "The selection is not valid for this filter.", "!sel"},
                      ReportCase{HOSTAPI_FOURCC('S', 'E', 'G', 'M'),
                                 "The filter cannot complete because a layer is locked or invisible.", "SEGM"},
                      ReportCase{HOSTAPI_FOURCC('N', 'E', 'S', 'S'),
                                 "The filter cannot complete because a path has too many anchor points.", "NESS"},
                      ReportCase{kOutOfMemoryErr, kUnknownMessage, "!MEM"}, ReportCase{5, kUnknownMessage, "5"},
                      ReportCase{-65536, kUnknownMessage, "-65536"}, ReportCase{65535, kUnknownMessage, "65535"}));

TEST_F(ErrorReportTest, CancellationAndSuiteNotFoundShowNothing) {
    for (ASErr code : {kCanceledErr, kSPSuiteNotFoundError}) {
        EXPECT_EQ(startupFailingWith(code), code);
        EXPECT_TRUE(host->shown().empty()) << "code " << code;
        host->faults().clear();
    }
    // And success shows nothing either.
    EXPECT_EQ(host->startup(), kNoErr);
    EXPECT_TRUE(host->shown().empty());
}

TEST_F(ErrorReportTest, ANumericKeyStandsForItsLow16Bits) {
    host->stringOverrides()[16051] = "70000";
    EXPECT_EQ(startupFailingWith(4464), 4464);
    EXPECT_EQ(itemText("Error Dialog", 2), kMemoryMessage);
    EXPECT_EQ(itemText("Error Dialog", 3), "4464");
}

TEST_F(ErrorReportTest, ANumericKeyDoesNotMatchTheCodeItSpellsBeyond16Bits) {
    host->stringOverrides()[16051] = "70000";
    EXPECT_EQ(startupFailingWith(70000), 70000);
    EXPECT_EQ(itemText("Error Dialog", 2), kUnknownMessage);
}

TEST_F(ErrorReportTest, AShortKeyIsPaddedWithZerosNotWithTheLongerKeyReadBeforeIt) {
    // The key buffer still holds "-108" when "!s" is read into it.
    host->stringOverrides()[16053] = "!s";
    host->stringOverrides()[16054] = "short key";
    const ASErr code = HOSTAPI_FOURCC('!', 's', 0, 0);
    EXPECT_EQ(startupFailingWith(code), code);
    EXPECT_EQ(itemText("Error Dialog", 2), "short key");
    EXPECT_EQ(itemText("Error Dialog", 3), "!s");
}

TEST_F(ErrorReportTest, ANumericKeyThatIsNoNumberMatchesNoCode) {
    host->stringOverrides()[16053] = "-x";
    host->stringOverrides()[16054] = "not a number";
    EXPECT_EQ(startupFailingWith(5), 5);
    EXPECT_EQ(itemText("Error Dialog", 2), kUnknownMessage);
    EXPECT_EQ(journal().count("AIUserSuite.StringToAIReal"), 2u);  // "-108" and "-x"
}

TEST_F(ErrorReportTest, ALongMessageIsCutToTheReportsField) {
    host->stringOverrides()[16062] = std::string(300, 'm');
    EXPECT_EQ(startupFailingWith(5), 5);
    EXPECT_EQ(itemText("Error Dialog", 2), std::string(255, 'm'));
}

TEST_F(ErrorReportTest, AMessageThatCannotBeReadShowsNothing) {
    // Keys 1, 3, 5, 7, 9, 11 and the empty 13th: seven reads; the eighth is the message.
    host->faults().failCall("ADMBasicSuite.GetIndexString", 2 + 8, -108);
    EXPECT_EQ(startupFailingWith(5), 5);
    EXPECT_TRUE(host->shown().empty());
}

TEST_F(ErrorReportTest, AKeyThatCannotBeReadEndsTheListThere) {
    // Registration reads two entries, the lookup's first key is the third read, its second the fourth.
    host->faults().failCall("ADMBasicSuite.GetIndexString", 4, -108);
    EXPECT_EQ(startupFailingWith(5), 5);
    // The list now seems to end after its first pair, whose message serves every other code.
    EXPECT_EQ(itemText("Error Dialog", 2), kMemoryMessage);
    EXPECT_EQ(itemText("Error Dialog", 3), "5");
}

TEST_F(ErrorReportTest, TheCodeTextIsStillWrittenWhenTheHostCannotFormatTheNumber) {
    host->faults().failCall("AIUserSuite.AIRealToString", 1, -108);
    EXPECT_EQ(startupFailingWith(-5), -5);
    EXPECT_EQ(itemText("Error Dialog", 3), "-5");
}

}  // namespace
}  // namespace shell_tests
