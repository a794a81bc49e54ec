#include "profile/value_format.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "profile/language.h"

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

TEST(FieldLists, FormatLeftJustifiedAndKeepWideNumbers) {
    EXPECT_EQ(FormatFields({255, -3, 0}, 5), "255  -3   0    ");
    EXPECT_EQ(FormatFields({78, 81, 150, 145}, 4), "78  81  150 145 ");
    EXPECT_EQ(FormatFields({123456}, 4), "123456");
    EXPECT_EQ(FormatFields({}, 5), "");
}

TEST(FieldLists, FieldsAreReadByPosition) {
    const std::string text = FormatFields({44, -115, 7}, 5);
    EXPECT_EQ(FieldAt(text, 0, 5), 44);
    EXPECT_EQ(FieldAt(text, 1, 5), -115);
    EXPECT_EQ(FieldAt(text, 2, 5), 7);
    // A short value: fields that start past its end read 0.
    EXPECT_EQ(FieldAt("  255", 1, 5), 0);
    EXPECT_EQ(FieldAt("", 0, 5), 0);
}

TEST(FieldLists, WideFieldsRunIntoTheNextOneUnlessTheWidthIsFixed) {
    // As a 17-character profile buffer leaves it.
    const std::string frame = CutToBuffer("12345  81 150 145", 17);
    EXPECT_EQ(frame, "12345  81 150 14");
    EXPECT_EQ(FieldAt(frame, 0, 4), 12345);
    EXPECT_EQ(FieldAt(frame, 1, 4), 5);
    EXPECT_EQ(FieldAt(frame, 2, 4), 1);
    EXPECT_EQ(FieldAt(frame, 3, 4), 0);
    // Settings files take four characters of each five.
    EXPECT_EQ(FieldAt("12345678", 0, 5, 4), 1234);
    EXPECT_EQ(FieldAt("12345678", 1, 5, 4), 678);
}

TEST(FieldLists, CutKeepsOneCharacterLessThanTheBuffer) {
    EXPECT_EQ(CutToBuffer("30000", 5), "3000");
    EXPECT_EQ(CutToBuffer("1", 2), "1");
    EXPECT_EQ(CutToBuffer("12", 2), "1");
    EXPECT_EQ(CutToBuffer("abc", 0), "");
}

TEST(FieldLists, NumbersAreClampedToTheirFields) {
    EXPECT_EQ(ClampToByte(-1), 0);
    EXPECT_EQ(ClampToByte(300), 255);
    EXPECT_EQ(ClampToSignedByte(-200), -128);
    EXPECT_EQ(ClampToSignedByte(200), 127);
    EXPECT_EQ(ClampToWord(-5), 0);
    EXPECT_EQ(ClampToWord(70000), 65535);
    EXPECT_EQ(ClampToWord(1200), 1200);
}
