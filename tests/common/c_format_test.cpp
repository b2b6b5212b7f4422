#include "common/c_format.h"

#include <gtest/gtest.h>

using namespace halyard;

TEST(CFormat, FormatsNumbersAsTheCLibraryDoes) {
    EXPECT_EQ(cformat("%f", static_cast<double>(12.34f)), "12.340000");
    EXPECT_EQ(cformat("%f", static_cast<double>(0.1234567f)), "0.123457");
    EXPECT_EQ(cformat("%g", static_cast<double>(5.2f)), "5.2");
    EXPECT_EQ(wcformat("%.2f", 3.14159), L"3.14");
    EXPECT_EQ(wcformat("%d", -42), L"-42");
}

TEST(CFormat, HandlesOutputLongerThanItsFirstBuffer) {
    const std::string big = cformat("%300d", 7);
    EXPECT_EQ(big.size(), 300u);
    EXPECT_EQ(big.back(), '7');
}
