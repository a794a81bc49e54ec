#include "settings/value_format.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "settings/language.h"

TEST(ParseDecimal, ReadsLikeTheProfileReader) {
    EXPECT_EQ(ParseDecimal("300"), 300);
    EXPECT_EQ(ParseDecimal("   42abc"), 42);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal("+5"), 5);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal("- 3"), 0);
}

TEST(ParseDecimal, HugeNumbersAreClampedNotWrapped) {
    EXPECT_EQ(ParseDecimal("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("2147483648"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
}

TEST(LanguageIndex, NamesAreComparedCaseSensitively) {
    EXPECT_EQ(LanguageIndexFromName("English"), 0);
    EXPECT_EQ(LanguageIndexFromName("Deutsch"), 1);
    EXPECT_EQ(LanguageIndexFromName("Francais"), 2);
    EXPECT_EQ(LanguageIndexFromName("Italiano"), 3);
    EXPECT_EQ(LanguageIndexFromName("Espanol"), 4);
    EXPECT_EQ(LanguageIndexFromName("Nederlands"), 5);
    EXPECT_EQ(LanguageIndexFromName("Chinese"), 6);
    EXPECT_EQ(LanguageIndexFromName("Simple"), 7);
    EXPECT_EQ(LanguageIndexFromName("deutsch"), 0);
    EXPECT_EQ(LanguageIndexFromName("Klingon"), 0);
}
