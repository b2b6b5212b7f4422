#include "common/text_encoding.h"

#include <gtest/gtest.h>

using namespace halyard;

TEST(TextEncoding, RoundTripsChineseAndAstralText) {
    const std::wstring text = L"平安银行 600000 \U0001F4C8";
    const std::string bytes = toUtf8(text);
    EXPECT_EQ(bytes, "\xE5\xB9\xB3\xE5\xAE\x89\xE9\x93\xB6\xE8\xA1\x8C 600000 \xF0\x9F\x93\x88");
    EXPECT_EQ(fromUtf8(bytes), text);
}

TEST(TextEncoding, RejectsMalformedUtf8) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_FALSE(
        isValidUtf8("\xC6\xBD"
                    "\xB0\xB2"));               // GBK for 平安
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));      // overlong NUL
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(isValidUtf8("\xE5\xB9"));      // truncated
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              L"a\uFFFDb");
}

TEST(TextEncoding, FallsBackToAnsiOnlyForInvalidUtf8) {
    EXPECT_EQ(fromUtf8OrAnsi("\xE5\xB9\xB3"), L"平");
    EXPECT_EQ(fromUtf8OrAnsi("600000"), L"600000");
    const std::wstring legacy = fromUtf8OrAnsi("\xC6\xBD\xB0\xB2");  // GBK 平安
    EXPECT_EQ(legacy, fromAnsi("\xC6\xBD\xB0\xB2"));
    EXPECT_FALSE(legacy.empty());
}
