// The host's architecture and service suites, called directly as a plug-in would, without a plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/host.hpp"

namespace {

class HostSuitesTest : public ::testing::Test {
  protected:
    template <class Suite>
    const Suite* acquire(const char* name, int32_t version) {
        const void* suite = nullptr;
        EXPECT_EQ(host.suites().acquire(name, version, &suite), kNoErr) << name;
        return static_cast<const Suite*>(suite);
    }

    static std::string lengthPrefixed(const std::string& text) {
        return std::string(1, static_cast<char>(text.size())) + text;
    }
    static const unsigned char* bytes(const std::string& text) {
        return reinterpret_cast<const unsigned char*>(text.data());
    }

    simhost::Host host;
};

TEST_F(HostSuitesTest, AllFiveServiceSuitesAndTheArchitectureSuitesAreProvided) {
    EXPECT_TRUE(host.suites().provides("SP Blocks Suite", 2));
    EXPECT_TRUE(host.suites().provides("SP Access Suite", 3));
    EXPECT_TRUE(host.suites().provides("AI MdMemory Suite", 1));
    EXPECT_TRUE(host.suites().provides("AI User Suite", 5));
    EXPECT_TRUE(host.suites().provides("AI Menu Suite", 7));
    EXPECT_TRUE(host.suites().provides("AI Filter Suite", 2));
    EXPECT_TRUE(host.suites().provides("ADM Basic Suite", 2));
    EXPECT_FALSE(host.suites().provides("ADM Basic Suite", 3));
}

TEST_F(HostSuitesTest, BlocksAreCountedAndAForeignBlockIsRefused) {
    auto* blocks = acquire<SPBlocksSuite>(kSPBlocksSuite, 2);
    void* block = nullptr;
    ASSERT_EQ(blocks->AllocateBlock(12, "globals", &block), kNoErr);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(block)[0], simhost::HostMemory::kFreshByte);
    EXPECT_EQ(host.ledger().outstanding("block"), 1u);
    EXPECT_EQ(host.journal().entries().back().arguments, "12, globals");

    int local = 0;
    EXPECT_EQ(blocks->FreeBlock(&local), kBadParameterErr);
    EXPECT_EQ(host.ledger().violations().size(), 1u);
    EXPECT_EQ(blocks->FreeBlock(block), kNoErr);
    EXPECT_EQ(host.ledger().outstanding("block"), 0u);
    EXPECT_EQ(blocks->FreeBlock(block), kBadParameterErr);
    EXPECT_EQ(host.memory().blockCount(), 0u);
}

TEST_F(HostSuitesTest, OperationsHonourFaultInjection) {
    auto* blocks = acquire<SPBlocksSuite>(kSPBlocksSuite, 2);
    host.faults().failCall("SPBlocksSuite.AllocateBlock", 2, -108);
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ(blocks->AllocateBlock(4, "a", &first), kNoErr);
    EXPECT_EQ(blocks->AllocateBlock(4, "b", &second), -108);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(host.ledger().outstanding("block"), 1u);
    blocks->FreeBlock(first);
}

TEST_F(HostSuitesTest, NewHandlesAreFilledWithTheFreshByte) {
    auto* memory = acquire<AIMdMemorySuite>(kAIMdMemorySuite, 1);
    AIMdMemoryHandle handle = nullptr;
    ASSERT_EQ(memory->MdMemoryNewHandle(248, &handle), kNoErr);
    ASSERT_TRUE(host.memory().isHandle(handle));
    EXPECT_EQ(host.memory().handleSize(handle), 248u);
    EXPECT_EQ(static_cast<unsigned char*>(*handle)[247], 0xCD);
}

// Strict number reading: the whole text must be a plain decimal.
struct NumberText {
    const char* text;
    bool valid;
    float value;
};

class StringToAIRealTest : public HostSuitesTest, public ::testing::WithParamInterface<NumberText> {};

TEST_P(StringToAIRealTest, ReadsOnlyPlainDecimals) {
    auto* user = acquire<AIUserSuite>(kAIUserSuite, 5);
    const std::string text = lengthPrefixed(GetParam().text);
    AIReal value = -1234.5f;
    ASErr error = user->StringToAIReal(bytes(text), &value);
    if (GetParam().valid) {
        EXPECT_EQ(error, kNoErr);
        EXPECT_FLOAT_EQ(value, GetParam().value);
    } else {
        EXPECT_NE(error, kNoErr);
        EXPECT_EQ(value, -1234.5f) << "a failed read leaves the result alone";
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, StringToAIRealTest,
                         ::testing::Values(NumberText{"-108", true, -108}, NumberText{"271", true, 271},
                                           NumberText{"70000", true, 70000}, NumberText{"+2.5", true, 2.5f},
                                           NumberText{".5", true, 0.5f}, NumberText{"", false, 0},
                                           NumberText{"-", false, 0}, NumberText{"12abc", false, 0},
                                           NumberText{" 12", false, 0}, NumberText{"1e5", false, 0},
                                           NumberText{"nan", false, 0}, NumberText{"1.2.3", false, 0},
                                           NumberText{"<Others>", false, 0}));

TEST_F(HostSuitesTest, RealsAreWrittenWithTheAskedDecimalsAsLengthPrefixedText) {
    auto* user = acquire<AIUserSuite>(kAIUserSuite, 5);
    unsigned char text[256];
    ASSERT_EQ(user->AIRealToString(-108.0f, 0, text), kNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "-108");
    ASSERT_EQ(user->AIRealToString(2.345f, 2, text), kNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "2.35");
    ASSERT_EQ(user->AIRealToString(-0.2f, 0, text), kNoErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "0");
}

TEST_F(HostSuitesTest, FiltersAreRegisteredWithTheirMenuItems) {
    auto* filters = acquire<AIFilterSuite>(kAIFilterSuite, 2);
    auto* menus = acquire<AIMenuSuite>(kAIMenuSuite, 7);
    std::string category = lengthPrefixed("Yrk <Create>");
    std::string title = lengthPrefixed("Tesselwright...");
    PlatformAddFilterData data{reinterpret_cast<unsigned char*>(category.data()),
                               reinterpret_cast<unsigned char*>(title.data())};
    AIFilterHandle filter = nullptr;
    ASSERT_EQ(filters->AddFilter(host.pluginRef(), "Vrom_Tesselwright", &data, 0, &filter), kNoErr);
    ASSERT_NE(filter, nullptr);
    ASSERT_EQ(host.filters().size(), 1u);
    EXPECT_EQ(host.filters()[0].category, "Yrk <Create>");
    EXPECT_EQ(host.filters()[0].title, "Tesselwright...");
    EXPECT_FALSE(host.filters()[0].autoEnabled);

    AIMenuItemHandle item = nullptr;
    ASSERT_EQ(filters->GetFilterMenuItem(filter, &item), kNoErr);
    EXPECT_EQ(item, host.filters()[0].menuItem);
    ASSERT_EQ(menus->UpdateMenuItemAutomatically(item, kAutoEnableMenuItemAction, 0, 0, 0, 0, 1, 0), kNoErr);
    EXPECT_TRUE(host.filters()[0].autoEnabled);
    EXPECT_TRUE(host.ledger().violations().empty());
}

TEST_F(HostSuitesTest, UnknownFilterHandlesAndMenuItemsAreRefusedAndRecorded) {
    auto* filters = acquire<AIFilterSuite>(kAIFilterSuite, 2);
    auto* menus = acquire<AIMenuSuite>(kAIMenuSuite, 7);
    AIMenuItemHandle item = nullptr;
    auto stray = reinterpret_cast<AIFilterHandle>(static_cast<std::uintptr_t>(0x40));
    EXPECT_EQ(filters->GetFilterMenuItem(stray, &item), kBadParameterErr);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(menus->UpdateMenuItemAutomatically(reinterpret_cast<AIMenuItemHandle>(stray), 1, 0, 0, 0, 0, 1, 0),
              kBadParameterErr);
    EXPECT_EQ(host.ledger().violations().size(), 2u);

    // Registration on behalf of another plug-in is refused too.
    std::string text = lengthPrefixed("x");
    PlatformAddFilterData data{reinterpret_cast<unsigned char*>(text.data()),
                               reinterpret_cast<unsigned char*>(text.data())};
    AIFilterHandle filter = nullptr;
    EXPECT_EQ(filters->AddFilter(nullptr, "Other", &data, 0, &filter), kBadParameterErr);
    EXPECT_TRUE(host.filters().empty());
}

TEST_F(HostSuitesTest, GetIndexStringCopiesAtMostMaxLengthCharactersThenAZero) {
    auto* basic = acquire<ADMBasicSuite>(kADMBasicSuite, 2);
    host.stringOverrides()[16001] = "Yrk <Create>";
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    ASSERT_EQ(basic->GetIndexString(host.pluginRef(), 16000, 1, buffer, 5), kNoErr);
    EXPECT_STREQ(buffer, "Yrk <");
    EXPECT_EQ(buffer[6], '#');
    EXPECT_EQ(host.journal().entries().back().operation, "ADMBasicSuite.GetIndexString");
    EXPECT_EQ(host.journal().entries().back().arguments, "16000, 1, 5");

    // Without an override and without a plug-in the entry is missing: an empty text.
    ASSERT_EQ(basic->GetIndexString(host.pluginRef(), 16000, 2, buffer, 5), kNoErr);
    EXPECT_STREQ(buffer, "");
}

TEST_F(HostSuitesTest, MessageAlertIsShownToTheUser) {
    auto* basic = acquire<ADMBasicSuite>(kADMBasicSuite, 2);
    basic->MessageAlert("Suite Loading Error: 5, suite: X, version: 1!");
    ASSERT_EQ(host.shown().size(), 1u);
    EXPECT_EQ(host.shown()[0].name, "alert");
    EXPECT_EQ(host.shown()[0].texts, std::vector<std::string>{"Suite Loading Error: 5, suite: X, version: 1!"});
    EXPECT_EQ(host.journal().count("ADMBasicSuite.MessageAlert"), 1u);
}

}  // namespace
