// Text forms of identities and TWAIN codes printed by the host tools.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostkit/identity_text.h"
#include "hostkit/twain_names.h"

namespace {

TW_IDENTITY SampleIdentity() {
    TW_IDENTITY identity{};
    identity.Id = 17;
    identity.Version.MajorNum = 1;
    identity.Version.MinorNum = 0;
    identity.Version.Language = TWLG_USA;
    identity.Version.Country = TWCY_TAIWAN;
    std::strcpy(identity.Version.Info, "V1.0\r\nbuild\t7 C:\\x");
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 5;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strcpy(identity.Manufacturer, "SCANNER");
    std::strcpy(identity.ProductFamily, "A3 Flatbed Scanner");
    std::strcpy(identity.ProductName, "A3 Flatbed Scanner");
    return identity;
}

TEST(IdentityTextTest, ReportsEveryFieldOnItsOwnLine) {
    EXPECT_EQ(IdentityReport(SampleIdentity()),
              "Id: 17\n"
              "Version.MajorNum: 1\n"
              "Version.MinorNum: 0\n"
              "Version.Language: 13\n"
              "Version.Country: 886\n"
              "Version.Info: V1.0\\r\\nbuild\\t7 C:\\\\x\n"
              "ProtocolMajor: 1\n"
              "ProtocolMinor: 5\n"
              "SupportedGroups: 3\n"
              "Manufacturer: SCANNER\n"
              "ProductFamily: A3 Flatbed Scanner\n"
              "ProductName: A3 Flatbed Scanner\n");
    EXPECT_EQ(IdentityListLine(SampleIdentity()), "17\tSCANNER\tA3 Flatbed Scanner\tA3 Flatbed Scanner");
}

TEST(IdentityTextTest, ReadsUnterminatedFieldsOnlyToTheirEnd) {
    TW_IDENTITY identity = SampleIdentity();
    std::memset(identity.ProductName, 'N', sizeof identity.ProductName);
    std::memset(identity.Manufacturer, '\t', sizeof identity.Manufacturer);
    EXPECT_EQ(FieldText(identity.ProductName), std::string(34, 'N'));
    std::string line = IdentityListLine(identity);
    EXPECT_EQ(line.substr(line.rfind('\t') + 1), std::string(34, 'N'));
    EXPECT_EQ(EscapedText(std::string("\x01\x7f\xe9", 3)), "\\x01\\x7F\xe9");
}

TEST(IdentityTextTest, NamesCodesAndTripletsAndNumbersTheUnknown) {
    EXPECT_EQ(TripletName(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS), "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS");
    EXPECT_EQ(TripletName(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET), "DG_IMAGE/DAT_IMAGEMEMXFER/MSG_GET");
    EXPECT_EQ(TripletName(0x10, 0x8001, 0x9999), "0x10/0x8001/0x9999");
    EXPECT_EQ(ReturnCodeName(TWRC_ENDOFLIST), "TWRC_ENDOFLIST");
    EXPECT_EQ(ReturnCodeName(42), "42");
    EXPECT_EQ(ConditionCodeName(TWCC_BADDEST), "TWCC_BADDEST");
    EXPECT_EQ(ConditionCodeName(99), "99");
}

}  // namespace
