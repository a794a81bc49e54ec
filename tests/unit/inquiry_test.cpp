#include "device/inquiry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "device/request_blocks.h"

namespace {

struct Inquiry {
    uint8_t bytes[blocks::kInquirySize] = {};

    Inquiry& Code(const char* code) {
        std::memcpy(bytes + blocks::inquiry::kResolutionCode, code, 4);
        return *this;
    }
    Inquiry& Prefix(const char* prefix) {
        std::memcpy(bytes + blocks::inquiry::kModelPrefix, prefix, 4);
        return *this;
    }
};

TEST(Inquiry, ResolutionCodeIsReadAsADecimalNumber) {
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("1200").bytes), 1200);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("0600").bytes), 600);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("600 ").bytes), 600);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code(" 800").bytes), 800);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("606x").bytes), 606);
}

// Scanners also report the model number: the prescan module has always read
// these, and both libraries take both forms.
TEST(Inquiry, ModelNumbersGiveTheirResolution) {
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("6000").bytes), 600);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("6060").bytes), 606);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("8000").bytes), 800);
}

TEST(Inquiry, UnknownResolutionCodesGiveNothing) {
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("1600").bytes), 0);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("6006").bytes), 0);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().Code("abcd").bytes), 0);
    EXPECT_EQ(OpticalResolutionFromCode(Inquiry().bytes), 0);
}

TEST(Inquiry, LetterModelHasTheSmallerArea) {
    EXPECT_TRUE(IsLetterModel(Inquiry().Prefix("KVC-").bytes));
    EXPECT_FALSE(IsLetterModel(Inquiry().Prefix("KVS-").bytes));
    EXPECT_FALSE(IsLetterModel(Inquiry().Prefix("kvc-").bytes));
    EXPECT_FLOAT_EQ(MaxAreaFor(true).width, 8.5f);
    EXPECT_FLOAT_EQ(MaxAreaFor(true).length, 11.5f);
    EXPECT_FLOAT_EQ(MaxAreaFor(false).width, 11.7f);
    EXPECT_FLOAT_EQ(MaxAreaFor(false).length, 17.0f);
}

TEST(Inquiry, VersionTextCarriesRevisionAndFlag) {
    Inquiry inquiry;
    inquiry.bytes[blocks::inquiry::kRevision] = 'A';
    inquiry.bytes[blocks::inquiry::kRevision2] = '0';
    inquiry.bytes[blocks::inquiry::kRevision2 + 1] = '7';
    inquiry.bytes[blocks::inquiry::kFlag] = 1;
    EXPECT_EQ(BuildVersionText(inquiry.bytes, "Adaptec Card"), "1A071kvsc_a3.d\nAdaptec Card\n");
    inquiry.bytes[blocks::inquiry::kFlag] = 2;
    EXPECT_EQ(BuildVersionText(inquiry.bytes, "X"), "1A070kvsc_a3.d\nX\n");
    // The whole text fits the 33 characters of the identity's version field.
    EXPECT_LE(BuildVersionText(inquiry.bytes, "Adaptec Card").size(), 33u);
}

TEST(Inquiry, FirmwareRevisionIsTheFourCharactersFrom42WithoutUnprintableOnes) {
    Inquiry inquiry;
    std::memcpy(inquiry.bytes + 42, "2.13", 4);
    inquiry.bytes[46] = '9';  // beyond the revision
    EXPECT_EQ(FirmwareRevisionText(inquiry.bytes), "2.13");
    inquiry.bytes[43] = 0;  // as the scanner leaves an empty second character
    EXPECT_EQ(FirmwareRevisionText(inquiry.bytes), "213");
    EXPECT_EQ(FirmwareRevisionText(Inquiry{}.bytes), "");
}

TEST(Inquiry, ModelNamesByOpticalResolution) {
    EXPECT_STREQ(ModelNameFor(600), "KVS-T60PRO");
    EXPECT_STREQ(ModelNameFor(606), "KVS-T66S");
    EXPECT_STREQ(ModelNameFor(800), "KVS-T80PRO");
    EXPECT_STREQ(ModelNameFor(1200), "A3 SCANNER");
    EXPECT_STREQ(ModelNameFor(0), "");
}

TEST(Inquiry, StatusWordsMapToMessages) {
    EXPECT_EQ(StatusMessageNumber(0x8217), 620);
    EXPECT_EQ(StatusMessageNumber(0x8321), 621);
    EXPECT_EQ(StatusMessageNumber(0x8414), 622);
    EXPECT_EQ(StatusMessageNumber(0x8000), 608);
    EXPECT_EQ(StatusMessageNumber(1), 608);
}

}  // namespace

#include "device/byte_amount.h"

TEST(ByteAmount, KilobytesAbove1024) {
    EXPECT_EQ(FormatByteAmount(2048), "2K");
    EXPECT_EQ(FormatByteAmount(1024), "1024");
    EXPECT_EQ(FormatByteAmount(1025), "1K");
    EXPECT_EQ(FormatByteAmount(0), "0");
    EXPECT_EQ(FormatByteAmount(4294967295u), "4194303K");
    EXPECT_EQ(FormatByteAmount(uint64_t{80} << 30), "83886080K");  // large disks are not cut to 32 bits
}
