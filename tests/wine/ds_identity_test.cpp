// The data source's identity: built from WIN.INI at every load, completed by
// MSG_OPENDS with the Id and the scanner's version text; the transfer file
// name made at open; the retired 16-bit bridge program.
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/wine/ds_fixture.h"

namespace {

using namespace dstest;

class IdentityTest : public SourceTest {
protected:
    // The identity as a fresh load of the library reports it in state 3.
    TW_IDENTITY LoadedIdentity() {
        EXPECT_EQ(GetModuleHandleA("kvsc_a3.ds"), nullptr) << "start-up runs only at the first load";
        DirectSource direct;
        TW_IDENTITY identity{};
        EXPECT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
        return identity;
    }

    // The identity the source manager lists first (it loads the library,
    // asks it and frees it again).
    TW_IDENTITY ListedIdentity() {
        HostSession host;
        TW_IDENTITY identity{};
        EXPECT_TRUE(host.OpenDsm());
        EXPECT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity), TWRC_SUCCESS);
        return identity;
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& content) {
    DeleteFileA(path.c_str());  // never write through a link into the template prefix
    std::ofstream(path, std::ios::binary) << content;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(IdentityTest, DefaultsWithoutTheInstallationSection) {
    TW_IDENTITY identity = ListedIdentity();
    EXPECT_NE(identity.Id, 0u);
    EXPECT_STREQ(identity.Manufacturer, "SCANNER");
    EXPECT_STREQ(identity.ProductFamily, "A3 Flatbed Scanner");
    EXPECT_STREQ(identity.ProductName, "A3 Flatbed Scanner");
    EXPECT_STREQ(identity.Version.Info, "V1.0");
    EXPECT_EQ(identity.Version.MajorNum, 1);
    EXPECT_EQ(identity.Version.MinorNum, 0);
    EXPECT_EQ(identity.Version.Language, 13);
    EXPECT_EQ(identity.Version.Country, 886);
    EXPECT_EQ(identity.ProtocolMajor, 1);
    EXPECT_EQ(identity.ProtocolMinor, 5);
    EXPECT_EQ(identity.SupportedGroups, DG_CONTROL | DG_IMAGE);
}

TEST_F(IdentityTest, EveryLoadReadsWinIniAgain) {
    EXPECT_STREQ(ListedIdentity().Manufacturer, "SCANNER");
    SetProfile("KVSINFO_A3", "BRAND", "Acme");
    SetProfile("KVSINFO_A3", "SWVERSION", "V2.7");
    TW_IDENTITY identity = ListedIdentity();
    EXPECT_STREQ(identity.Manufacturer, "Acme");
    EXPECT_STREQ(identity.Version.Info, "V2.7");
}

TEST_F(IdentityTest, TellarisBrandInAnyCaseNamesTheProduct) {
    for (const char* brand : {"Tellaris", "tellaris", "TELLARIS", "tElLaRiS"}) {
        SCOPED_TRACE(brand);
        SetProfile("KVSINFO_A3", "BRAND", brand);
        TW_IDENTITY identity = LoadedIdentity();
        EXPECT_STREQ(identity.Manufacturer, brand);
        EXPECT_STREQ(identity.ProductFamily, "Tellaris A3 Flatbed Scanner");
        EXPECT_STREQ(identity.ProductName, "Tellaris A3 Flatbed Scanner");
    }
}

TEST_F(IdentityTest, OtherBrandsKeepTheBareModelText) {
    for (const char* brand : {"Acme", "Tellaris Inc", "Tellari", ""}) {
        SCOPED_TRACE(brand);
        SetProfile("KVSINFO_A3", "BRAND", brand);
        TW_IDENTITY identity = LoadedIdentity();
        EXPECT_STREQ(identity.Manufacturer, brand);
        EXPECT_STREQ(identity.ProductName, "A3 Flatbed Scanner");
    }
}

TEST_F(IdentityTest, ModelTextComesFromKey1200) {
    SetProfile("KVSINFO_A3", "1200", "Model X-9");
    TW_IDENTITY identity = LoadedIdentity();
    EXPECT_STREQ(identity.ProductFamily, "Model X-9");
    EXPECT_STREQ(identity.ProductName, "Model X-9");
    SetProfile("KVSINFO_A3", "BRAND", "Tellaris");
    identity = LoadedIdentity();
    EXPECT_STREQ(identity.ProductName, "Tellaris Model X-9");
}

TEST_F(IdentityTest, LongTextsAreCutToTheirFields) {
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghij";  // 46 characters
    SetProfile("KVSINFO_A3", "BRAND", letters.c_str());
    SetProfile("KVSINFO_A3", "SWVERSION", letters.c_str());
    SetProfile("KVSINFO_A3", "1200", letters.c_str());
    ASSERT_EQ(GetModuleHandleA("kvsc_a3.ds"), nullptr);
    DirectSource direct;
    // The caller's record with room behind it that must stay as it was.
    uint8_t record[sizeof(TW_IDENTITY) + 32];
    std::memset(record, 0xA5, sizeof record);
    ASSERT_EQ(direct.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, record), TWRC_SUCCESS);
    TW_IDENTITY identity;
    std::memcpy(&identity, record, sizeof identity);
    const std::string cut = letters.substr(0, 33);
    EXPECT_EQ(std::string(identity.Manufacturer, sizeof identity.Manufacturer), cut + '\0');
    EXPECT_EQ(std::string(identity.ProductFamily, sizeof identity.ProductFamily), cut + '\0');
    EXPECT_EQ(std::string(identity.ProductName, sizeof identity.ProductName), cut + '\0');
    EXPECT_EQ(std::string(identity.Version.Info, sizeof identity.Version.Info), cut + '\0');
    // The fields behind the version text are intact.
    EXPECT_EQ(identity.ProtocolMajor, 1);
    EXPECT_EQ(identity.ProtocolMinor, 5);
    EXPECT_EQ(identity.SupportedGroups, DG_CONTROL | DG_IMAGE);
    for (size_t i = sizeof(TW_IDENTITY); i < sizeof record; ++i) EXPECT_EQ(record[i], 0xA5) << "byte " << i;
}

TEST_F(IdentityTest, TellarisPrefixCountsTowardsTheCut) {
    SetProfile("KVSINFO_A3", "BRAND", "tellaris");
    SetProfile("KVSINFO_A3", "1200", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    TW_IDENTITY identity = LoadedIdentity();
    EXPECT_STREQ(identity.ProductName, "Tellaris ABCDEFGHIJKLMNOPQRSTUVWX");
}

TEST_F(IdentityTest, OpenReportsTheAssignedIdAndTheScannersVersion) {
    struct Case {
        const char* scanner;
        const char* version;
    };
    const Case cases[] = {
        {"", "11031kvsc_a3.d\nAdaptec Card\n"},
        {"Revision=7\nRevision2=AB\nFlag=0\n", "17AB0kvsc_a3.d\nAdaptec Card\n"},
        {"Revision=2\nRevision2=5\nFlag=2\n", "125 0kvsc_a3.d\nAdaptec Card\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scanner);
        SetScanner(c.scanner);
        HostSession host;
        ASSERT_TRUE(host.OpenDsm());
        TW_IDENTITY listed{};
        ASSERT_EQ(host.Dsm(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &listed), TWRC_SUCCESS);
        ASSERT_EQ(host.OpenSource(""), TWRC_SUCCESS);
        EXPECT_EQ(host.source.Id, listed.Id);
        EXPECT_STREQ(host.source.Version.Info, c.version);
        EXPECT_STREQ(host.source.ProductName, "A3 Flatbed Scanner");

        TW_IDENTITY reported{};
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_IDENTITY, MSG_GET, &reported), TWRC_SUCCESS);
        EXPECT_EQ(reported.Id, listed.Id);
        EXPECT_STREQ(reported.Version.Info, c.version);
        EXPECT_STREQ(reported.Manufacturer, "SCANNER");
        EXPECT_EQ(reported.ProtocolMinor, 5);
    }
}

TEST_F(IdentityTest, EveryOpenMakesAFreshUnusedTransferFileName) {
    char tempPath[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tempPath);
    const std::string prefix = std::string(tempPath) + "ORV";
    std::string previous;
    for (int open = 0; open < 2; ++open) {
        SCOPED_TRACE(open);
        HostSession host;
        ASSERT_EQ(Open(host), TWRC_SUCCESS);
        TW_SETUPFILEXFER setup{};
        std::memset(&setup, 0xA5, sizeof setup);
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, &setup), TWRC_SUCCESS);
        const std::string name(setup.FileName, strnlen(setup.FileName, sizeof setup.FileName));
        ASSERT_GT(name.size(), prefix.size() + 4);
        EXPECT_EQ(name.substr(0, prefix.size()), prefix);
        EXPECT_EQ(name.substr(name.size() - 4), ".TIF");
        // GetTempFileName's unique number, in hexadecimal.
        const std::string unique = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        EXPECT_LE(unique.size(), 4u) << name;
        for (char c : unique) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << name;
        EXPECT_EQ(setup.Format, TWFF_TIFF);
        EXPECT_EQ(setup.VRefNum, 0);
        EXPECT_FALSE(FileExists(name));
        EXPECT_FALSE(FileExists(prefix + unique + ".TMP"));

        TW_SETUPFILEXFER defaults{};
        ASSERT_EQ(host.Ds(DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT, &defaults), TWRC_SUCCESS);
        EXPECT_STREQ(defaults.FileName, name.c_str());
        EXPECT_NE(name, previous);
        previous = name;
    }
}

TEST_F(IdentityTest, BridgeProgramIsRetiredWhenTheLibraryLoads) {
    const std::string bridge = WindowsDir() + "\\TWUNK_16.EXE";
    const std::string retired = WindowsDir() + "\\TWUNK_16.OLD";

    WriteFile(bridge, "current bridge");
    WriteFile(retired, "older bridge");
    LoadedIdentity();
    EXPECT_FALSE(FileExists(bridge));
    EXPECT_EQ(ReadFile(retired), "current bridge");

    // Nothing to retire: the retired copy stays as it is.
    WriteFile(retired, "older bridge");
    LoadedIdentity();
    EXPECT_FALSE(FileExists(bridge));
    EXPECT_EQ(ReadFile(retired), "older bridge");

    DeleteFileA(retired.c_str());
    WriteFile(bridge, "current bridge");
    LoadedIdentity();
    EXPECT_FALSE(FileExists(bridge));
    EXPECT_EQ(ReadFile(retired), "current bridge");
    DeleteFileA(retired.c_str());
}

}  // namespace
