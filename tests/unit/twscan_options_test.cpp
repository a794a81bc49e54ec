// twscan's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostkit/twscan_options.h"

namespace {

struct Parsed {
    bool ok;
    TwscanOptions options;
    std::string error;
};

Parsed Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "twscan");
    Parsed parsed{false, {}, {}};
    parsed.ok = ParseTwscanOptions(static_cast<int>(arguments.size()), arguments.data(), parsed.options, parsed.error);
    return parsed;
}

TEST(TwscanOptionsTest, AcceptsEachCommandAndASourceForInfo) {
    EXPECT_EQ(Parse({"--list"}).options.command, TwscanCommand::List);
    EXPECT_EQ(Parse({"-h"}).options.command, TwscanCommand::Help);
    Parsed info = Parse({"--source", "A3 Flatbed Scanner", "--info"});
    ASSERT_TRUE(info.ok) << info.error;
    EXPECT_EQ(info.options.command, TwscanCommand::Info);
    EXPECT_EQ(info.options.source, "A3 Flatbed Scanner");
    Parsed inlineValue = Parse({"--info", "--source=beta"});
    ASSERT_TRUE(inlineValue.ok) << inlineValue.error;
    EXPECT_EQ(inlineValue.options.source, "beta");
    EXPECT_TRUE(Parse({"--info"}).options.source.empty());
    Parsed caps = Parse({"--caps", "--source", "beta"});
    ASSERT_TRUE(caps.ok) << caps.error;
    EXPECT_EQ(caps.options.command, TwscanCommand::Caps);
    EXPECT_EQ(caps.options.source, "beta");
}

TEST(TwscanOptionsTest, RefusesBadCommandLinesWithAReason) {
    struct Case {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{}, "nothing to do: give --out FILE to scan, or --list, --info, --caps or --help"},
        {{"--scan"}, "unknown option --scan"},
        {{"--info", "--source"}, "--source needs a value"},
        {{"--info", "--source="}, "--source needs a product name of 1 to 33 characters"},
        {{"--info", "--source", "0123456789012345678901234567890123"},
         "--source needs a product name of 1 to 33 characters"},
        {{"--list=yes"}, "--list takes no value"},
        {{"--list", "--info"}, "only one of --help, --list, --info and --caps may be given"},
        {{"--list", "--source", "x"}, "--source goes with --info, --caps or a scan, not with --list"},
        {{"list"}, "unknown option list"},
    };
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.arguments);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, c.error);
    }
    // 33 characters fill a TW_STR32 exactly.
    EXPECT_TRUE(Parse({"--info", "--source", "012345678901234567890123456789012"}).ok);
}

TEST(TwscanOptionsTest, ScanOptionsBecomeTheValuesToNegotiate) {
    Parsed scan = Parse({"--mode", "color", "--dpi", "150", "--area", "0,0.5,8.5,11", "--xfer", "native", "--out",
                         "build/demo/scan.bmp"});
    ASSERT_TRUE(scan.ok) << scan.error;
    const TwscanOptions& o = scan.options;
    EXPECT_EQ(o.command, TwscanCommand::Scan);
    EXPECT_EQ(o.pixelType, TWPT_RGB);
    EXPECT_EQ(o.dpi, 150);
    ASSERT_TRUE(o.area.has_value());
    EXPECT_DOUBLE_EQ(o.area->left, 0);
    EXPECT_DOUBLE_EQ(o.area->top, 0.5);
    EXPECT_DOUBLE_EQ(o.area->right, 8.5);
    EXPECT_DOUBLE_EQ(o.area->bottom, 11);
    EXPECT_EQ(o.xferMech, TWSX_NATIVE);
    EXPECT_EQ(o.fileFormat, TWFF_BMP);
    EXPECT_EQ(o.out, "build/demo/scan.bmp");
    EXPECT_FALSE(o.ui);

    // Options not given leave the source's own values; memory is the default mechanism.
    Parsed plain = Parse({"--out", "C:\\scans\\page.TIFF"});
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_FALSE(plain.options.pixelType.has_value());
    EXPECT_FALSE(plain.options.dpi.has_value());
    EXPECT_FALSE(plain.options.area.has_value());
    EXPECT_EQ(plain.options.xferMech, TWSX_MEMORY);
    EXPECT_EQ(plain.options.fileFormat, TWFF_TIFF);  // told by the name, in any case
    EXPECT_EQ(plain.options.appName, "twscan");
    EXPECT_EQ(plain.options.protocolMinor, 5);

    EXPECT_EQ(Parse({"--mode=lineart", "--out", "a.tif"}).options.pixelType, TWPT_BW);
    EXPECT_EQ(Parse({"--mode", "gray", "--out", "a.tif"}).options.pixelType, TWPT_GRAY);
    EXPECT_EQ(Parse({"--xfer", "file", "--out", "a.tif"}).options.xferMech, TWSX_FILE);
    // An explicit format wins over the name.
    Parsed named = Parse({"--xfer", "file", "--format", "bmp", "--out", "scan.tif"});
    ASSERT_TRUE(named.ok) << named.error;
    EXPECT_EQ(named.options.fileFormat, TWFF_BMP);
    EXPECT_EQ(Parse({"--format", "tiff", "--out", "scan"}).options.fileFormat, TWFF_TIFF);
}

TEST(TwscanOptionsTest, DialogSettingsAndIdentityOptions) {
    Parsed ui = Parse({"--ui", "--press-scan", "--set", "ScanMode=1013", "--set=Frame=30  30  150 120 ",
                       "--set", "KVSINFO_A3:BRAND=Tellaris", "--set", "Empty=", "--app-name", "Photoshop",
                       "--protocol-minor", "9", "--out", "x.bmp"});
    ASSERT_TRUE(ui.ok) << ui.error;
    EXPECT_TRUE(ui.options.ui);
    EXPECT_TRUE(ui.options.pressScan);
    ASSERT_EQ(ui.options.settings.size(), 4u);
    auto expect = [&](size_t i, const char* section, const char* key, const char* value) {
        EXPECT_EQ(ui.options.settings[i].section, section) << i;
        EXPECT_EQ(ui.options.settings[i].key, key) << i;
        EXPECT_EQ(ui.options.settings[i].value, value) << i;
    };
    expect(0, "A3 SCANNER", "ScanMode", "1013");
    expect(1, "A3 SCANNER", "Frame", "30  30  150 120 ");  // the value keeps its blanks and '='s after the first
    expect(2, "KVSINFO_A3", "BRAND", "Tellaris");
    expect(3, "A3 SCANNER", "Empty", "");
    EXPECT_EQ(ui.options.appName, "Photoshop");
    EXPECT_EQ(ui.options.protocolMinor, 9);

    // Settings and the identity also reach --list and --info (sources read WIN.INI when loaded).
    Parsed list = Parse({"--list", "--set", "KVSINFO_A3:BRAND=x", "--app-name", "a"});
    ASSERT_TRUE(list.ok) << list.error;
    EXPECT_EQ(list.options.settings.size(), 1u);
    EXPECT_EQ(Parse({"--info", "--protocol-minor", "0"}).options.protocolMinor, 0);
}

TEST(TwscanOptionsTest, RefusesBadScanValuesWithAReason) {
    struct Case {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"--mode", "colour", "--out", "x.bmp"}, "--mode takes lineart, gray or color, not \"colour\""},
        {{"--dpi", "0", "--out", "x.bmp"}, "--dpi takes a whole number of dots per inch from 1 to 32767, not \"0\""},
        {{"--dpi", "-100", "--out", "x.bmp"},
         "--dpi takes a whole number of dots per inch from 1 to 32767, not \"-100\""},
        {{"--dpi", "32768", "--out", "x.bmp"},
         "--dpi takes a whole number of dots per inch from 1 to 32767, not \"32768\""},
        {{"--dpi", "150dpi", "--out", "x.bmp"},
         "--dpi takes a whole number of dots per inch from 1 to 32767, not \"150dpi\""},
        {{"--area", "1,1,5", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"1,1,5\""},
        {{"--area", "1,1,5,4,", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"1,1,5,4,\""},
        {{"--area", "-1,1,5,4", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"-1,1,5,4\""},
        {{"--area", "1,1,5,4e0", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"1,1,5,4e0\""},
        {{"--area", "1,.,5,4", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"1,.,5,4\""},
        {{"--area", "0,0,32768,1", "--out", "x.bmp"},
         "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as 1,1,5,4), not "
         "\"0,0,32768,1\""},
        {{"--area", "5,1,1,4", "--out", "x.bmp"},
         "--area 5,1,1,4 is empty: RIGHT must be greater than LEFT and BOTTOM greater than TOP"},
        {{"--area", "1,4,5,4", "--out", "x.bmp"},
         "--area 1,4,5,4 is empty: RIGHT must be greater than LEFT and BOTTOM greater than TOP"},
        {{"--xfer", "disk", "--out", "x.bmp"}, "--xfer takes native, memory or file, not \"disk\""},
        {{"--format", "png", "--out", "x.bmp"}, "--format takes tiff or bmp, not \"png\""},
        {{"--out", "x.png"}, "the name x.png does not tell the file format: give --format tiff or bmp"},
        {{"--xfer", "native", "--out", "x.tif"},
         "a native transfer delivers a bitmap, written as BMP: give --format bmp or a .bmp name"},
        {{"--out="}, "--out needs a file name of 1 to 255 characters"},
        {{"--set", "ScanMode", "--out", "x.bmp"}, "--set takes KEY=VALUE or SECTION:KEY=VALUE, not \"ScanMode\""},
        {{"--set", "=1", "--out", "x.bmp"}, "--set takes KEY=VALUE or SECTION:KEY=VALUE, not \"=1\""},
        {{"--set", ":Key=1", "--out", "x.bmp"}, "--set takes KEY=VALUE or SECTION:KEY=VALUE, not \":Key=1\""},
        {{"--set", "Sec:=1", "--out", "x.bmp"}, "--set takes KEY=VALUE or SECTION:KEY=VALUE, not \"Sec:=1\""},
        {{"--set", "A]B:Key=1", "--out", "x.bmp"},
         "--set A]B:Key=1: a section name cannot hold ']' and no part a control character"},
        {{"--set", "Key=a\nb", "--out", "x.bmp"},
         "--set Key=a\nb: a section name cannot hold ']' and no part a control character"},
        {{"--app-name", "", "--list"}, "--app-name needs a product name of 1 to 33 characters"},
        {{"--app-name", "0123456789012345678901234567890123", "--list"},
         "--app-name needs a product name of 1 to 33 characters"},
        {{"--protocol-minor", "65536", "--list"}, "--protocol-minor takes a whole number from 0 to 65535, not \"65536\""},
        {{"--protocol-minor", "x", "--list"}, "--protocol-minor takes a whole number from 0 to 65535, not \"x\""},
    };
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.arguments);
        EXPECT_FALSE(parsed.ok) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
    // The limits themselves are taken.
    EXPECT_TRUE(Parse({"--dpi", "32767", "--out", "x.bmp"}).ok);
    EXPECT_TRUE(Parse({"--area", "0,0,32767.5,.5", "--out", "x.bmp"}).ok);
    EXPECT_TRUE(Parse({"--out", std::string(251, 'a').append(".bmp").c_str()}).ok);
    EXPECT_FALSE(Parse({"--out", std::string(252, 'a').append(".bmp").c_str()}).ok);
}

TEST(TwscanOptionsTest, RefusesOptionsThatDoNotGoTogether) {
    struct Case {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"--mode", "color"}, "nothing to do: give --out FILE to scan, or --list, --info, --caps or --help"},
        {{"--list", "--out", "x.bmp"}, "--out goes with a scan (--out FILE), not with --list"},
        {{"--info", "--dpi", "100"}, "--dpi goes with a scan (--out FILE), not with --info"},
        {{"--help", "--ui"}, "--ui goes with a scan (--out FILE), not with --help"},
        {{"--ui", "--mode", "gray", "--out", "x.bmp"},
         "--mode sets the scan without a dialog: with --ui the dialog's settings apply (give them with --set)"},
        {{"--ui", "--area", "1,1,2,2", "--out", "x.bmp"},
         "--area sets the scan without a dialog: with --ui the dialog's settings apply (give them with --set)"},
        {{"--press-scan", "--out", "x.bmp"}, "--press-scan goes with --ui"},
        {{"--prescan", "--xfer", "file", "--out", "x.bmp"}, "--xfer does not go with --prescan"},
        {{"--prescan", "--ui", "--press-scan", "--out", "x.bmp"}, "--press-scan does not go with --prescan"},
        {{"--prescan", "--list"}, "--prescan goes with a scan (--out FILE), not with --list"},
    };
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.arguments);
        EXPECT_FALSE(parsed.ok) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
    // The dialog's scan still takes the mechanism, the format and a source.
    Parsed ui = Parse({"--ui", "--source", "A3 Flatbed Scanner", "--xfer", "file", "--format", "tiff", "--out", "x"});
    ASSERT_TRUE(ui.ok) << ui.error;
    EXPECT_EQ(ui.options.source, "A3 Flatbed Scanner");
    // The prescan copies a bitmap whatever the name, through the dialog.
    Parsed prescan = Parse({"--prescan", "--out", "preview"});
    ASSERT_TRUE(prescan.ok) << prescan.error;
    EXPECT_TRUE(prescan.options.prescan);
    EXPECT_TRUE(prescan.options.ui);
}

}  // namespace
