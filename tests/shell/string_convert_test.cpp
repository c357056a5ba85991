// The converters are pure: their source is compiled into this test directly.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/string_convert.cpp"

namespace {

TEST(ToLengthPrefixed, PutsTheCountInFrontOfTheCharacters) {
    char buffer[8] = "abc";
    ASSERT_EQ(ToLengthPrefixed(buffer), buffer);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(std::string(buffer + 1, 3), "abc");
}

TEST(ToLengthPrefixed, Takes255CharactersButNot256) {
    char longest[257];
    std::memset(longest, 'x', 255);
    longest[255] = '\0';
    ASSERT_EQ(ToLengthPrefixed(longest), longest);
    EXPECT_EQ(static_cast<unsigned char>(longest[0]), 255);
    EXPECT_EQ(std::string(longest + 1, 255), std::string(255, 'x'));

    char tooLong[258];
    std::memset(tooLong, 'y', 256);
    tooLong[256] = '\0';
    EXPECT_EQ(ToLengthPrefixed(tooLong), nullptr);
    EXPECT_EQ(std::string(tooLong), std::string(256, 'y'));
}

TEST(ToLengthPrefixed, AnEmptyTextIsALengthByteOfZero) {
    char buffer[2] = "";
    ASSERT_EQ(ToLengthPrefixed(buffer), buffer);
    EXPECT_EQ(buffer[0], 0);
}

TEST(ToZeroTerminated, MovesTheCharactersToTheStartAndTerminatesThem) {
    char buffer[8] = {3, 'a', 'b', 'c', 'Z', 'Z', 'Z', 'Z'};
    ASSERT_EQ(ToZeroTerminated(buffer, sizeof(buffer)), buffer);
    EXPECT_STREQ(buffer, "abc");
}

TEST(ToZeroTerminated, ALengthByteOfZeroIsAnEmptyText) {
    char buffer[4] = {0, 'q', 'q', 'q'};
    ASSERT_EQ(ToZeroTerminated(buffer, sizeof(buffer)), buffer);
    EXPECT_STREQ(buffer, "");
}

TEST(ToZeroTerminated, TakesAll255CharactersWhenTheBufferHasRoom) {
    char buffer[256];
    buffer[0] = static_cast<char>(255);
    std::memset(buffer + 1, 'w', 255);
    ASSERT_EQ(ToZeroTerminated(buffer, sizeof(buffer)), buffer);
    EXPECT_EQ(std::string(buffer), std::string(255, 'w'));
}

TEST(ToZeroTerminated, NeverWritesPastTheBuffer) {
    // Eight bytes of buffer inside a guarded area: a length byte of 200 may fill only seven characters.
    char area[16];
    std::memset(area, '#', sizeof(area));
    char* buffer = area + 4;
    buffer[0] = static_cast<char>(200);
    std::memcpy(buffer + 1, "abcdefg", 7);
    ASSERT_EQ(ToZeroTerminated(buffer, 8), buffer);
    EXPECT_EQ(std::string(buffer), "abcdefg");
    EXPECT_EQ(std::string(area, 4), "####");
    EXPECT_EQ(std::string(area + 12, 4), "####");
}

TEST(ToZeroTerminated, ABufferWithoutRoomForTheZeroIsRefused) {
    char byte = 5;
    EXPECT_EQ(ToZeroTerminated(&byte, 0), nullptr);
    EXPECT_EQ(byte, 5);
    EXPECT_EQ(ToZeroTerminated(nullptr, 8), nullptr);
}

TEST(StringConverters, RoundTrip) {
    char buffer[32] = "Yrk <Create>";
    ASSERT_NE(ToLengthPrefixed(buffer), nullptr);
    ASSERT_NE(ToZeroTerminated(buffer, sizeof(buffer)), nullptr);
    EXPECT_STREQ(buffer, "Yrk <Create>");
}

}  // namespace
