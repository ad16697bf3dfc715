#include "core/text.hpp"

#include <gtest/gtest.h>

using namespace quenlio;

TEST(Text, CountsCharactersNotBytes) {
    EXPECT_EQ(CharCount(""), 0u);
    EXPECT_EQ(CharCount("MD239CH"), 7u);
    EXPECT_EQ(CharCount("中国-成都富士康"), 8u);
    EXPECT_EQ(CharCount("\xF0\x9F\x98\x80x"), 2u); // a four-byte character
}

TEST(Text, EveryMalformedByteCountsAsOne) {
    EXPECT_EQ(CharCount("\x80"), 1u);             // stray continuation byte
    EXPECT_EQ(CharCount("\xE4\xB8"), 2u);         // truncated three-byte sequence
    EXPECT_EQ(CharCount("\xC0\xAF"), 2u);         // overlong encoding
    EXPECT_EQ(CharCount("\xED\xA0\x80"), 3u);     // a surrogate
    EXPECT_EQ(CharCount("\xF5\x80\x80\x80"), 4u); // beyond U+10FFFF
    EXPECT_EQ(CharCount(std::string_view("a\0b", 3)), 3u);
}

TEST(Text, SliceCountsFromOneAndStopsAtTheEnd) {
    EXPECT_EQ(CharSlice("iPhone 5 16GB 黑色", 15, 2), "黑色");
    EXPECT_EQ(CharSlice("中国", 2, 5), "国");
    EXPECT_EQ(CharSlice("中国", 3, 1), "");
    EXPECT_EQ(CharSlice("abc", 0, 2), "");
    EXPECT_EQ(CharSlice("abc", 1, 0), "");
    EXPECT_EQ(CharSlice("", 1, 3), "");
    EXPECT_EQ(CharSlice("\xE4\xB8"
                        "A",
                        3, 1),
              "A");
}

TEST(Text, UpperCasesAsciiOnly) {
    EXPECT_EQ(UpperAscii("md239ch"), "MD239CH");
    EXPECT_EQ(UpperAscii("ä中z"), "ä中Z");
    EXPECT_EQ(UpperAscii("\xff"
                         "a"),
              "\xff"
              "A");
}
