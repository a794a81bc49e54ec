#include <gtest/gtest.h>

#include <string>

#include "sim/scanner_config.h"

namespace {

using sim::ParseScannerConfig;
using sim::ScannerConfig;

std::string Chars(const std::array<char, 4>& chars) { return std::string(chars.begin(), chars.end()); }

TEST(SimConfig, EmptyTextGivesDefaults) {
    const ScannerConfig c = ParseScannerConfig("");
    EXPECT_EQ(c.addrChkHandle, 1u);
    EXPECT_TRUE(c.log);
    EXPECT_EQ(c.segments, 3u);
    EXPECT_FALSE(c.forceBufAddrCount);
    EXPECT_EQ(c.inquiryStatus, 0);
    EXPECT_EQ(Chars(c.modelPrefix), "KVS-");
    EXPECT_EQ(Chars(c.resolutionCode), "1200");
    EXPECT_EQ(c.capabilityFlags, 0x40);
    EXPECT_EQ(c.warmupPolls, 0u);
    EXPECT_FALSE(c.neverReady);
    EXPECT_EQ(c.shadingNeeded, sim::ShadingRequest::kUntilSent);
    EXPECT_EQ(c.shadingLinesColour, 16);
    EXPECT_EQ(c.shadingLinesGrey, 12);
    EXPECT_TRUE(c.script.empty());
    EXPECT_TRUE(c.problems.empty());
}

TEST(SimConfig, ReadsEveryKeyCaseInsensitivelyWithWindowsLineEnds) {
    const ScannerConfig c = ParseScannerConfig(
        "; test scanner\r\n"
        "[other]\r\nWarmupPolls=99\r\n"
        "[ scanner ]\r\n"
        "ADDRCHK=7\r\nlog=0\r\nSegments=16\r\nBufAddrCount=17\r\nInquiryStatus=0x00ff\r\n"
        "Revision=B\r\nRevision2=12\r\nModelPrefix=KVC-\r\nResolutionCode=\" 600\"\r\n"
        "CapabilityFlags=0x41\r\nRefRed=1\r\nRefGreen=2\r\nRefBlue=3\r\nRefGrey=0xFFFF\r\n"
        "Feeder=1\r\nFlag=0\r\nFault=0x10\r\nWarmupPolls = 4 \r\nNeverReady=1\r\n"
        "StopBusyPolls=2\r\nShadingNeeded=2\r\nShadingLinesColour=20\r\nShadingLinesGrey=10\r\n");
    EXPECT_TRUE(c.problems.empty()) << c.problems.front();
    EXPECT_EQ(c.addrChkHandle, 7u);
    EXPECT_FALSE(c.log);
    EXPECT_EQ(c.segments, 16u);
    EXPECT_TRUE(c.forceBufAddrCount);
    EXPECT_EQ(c.bufAddrCount, 17);
    EXPECT_EQ(c.inquiryStatus, 0x00FF);
    EXPECT_EQ(c.revision, 'B');
    EXPECT_EQ(std::string(c.revision2.begin(), c.revision2.end()), "12");
    EXPECT_EQ(Chars(c.modelPrefix), "KVC-");
    EXPECT_EQ(Chars(c.resolutionCode), " 600");
    EXPECT_EQ(c.capabilityFlags, 0x41);
    EXPECT_EQ(c.referenceLevels, (std::array<uint16_t, 4>{1, 2, 3, 0xFFFF}));
    EXPECT_EQ(c.feeder, 1);
    EXPECT_EQ(c.flag, 0);
    EXPECT_EQ(c.faultWord, 0x10);
    EXPECT_EQ(c.warmupPolls, 4u);  // the [other] section does not count
    EXPECT_TRUE(c.neverReady);
    EXPECT_EQ(c.stopBusyPolls, 2u);
    EXPECT_EQ(c.shadingNeeded, sim::ShadingRequest::kAlways);
    EXPECT_EQ(c.shadingLinesColour, 20);
    EXPECT_EQ(c.shadingLinesGrey, 10);
}

TEST(SimConfig, ShortCharacterValuesArePaddedWithBlanks) {
    const ScannerConfig c = ParseScannerConfig("[Scanner]\nResolutionCode=600\nModelPrefix=AB\n");
    EXPECT_EQ(Chars(c.resolutionCode), "600 ");
    EXPECT_EQ(Chars(c.modelPrefix), "AB  ");
}

TEST(SimConfig, BadValuesKeepDefaultsAndAreReported) {
    const ScannerConfig c = ParseScannerConfig(
        "[Scanner]\n"
        "WarmupPolls=abc\nSegments=17\nSegments=0\nLog=2\nModelPrefix=KVS-X\nResolutionCode=\"\"\n"
        "RefRed=65536\nFault=-1\nAddrChk=0x\nShadingNeeded=3\nShadingLinesGrey=0\n"
        "Flag=256\nBufAddrCount=x\nColour=1\nno equals sign\n");
    const ScannerConfig defaults;
    EXPECT_EQ(c.warmupPolls, defaults.warmupPolls);
    EXPECT_EQ(c.segments, defaults.segments);
    EXPECT_EQ(c.log, defaults.log);
    EXPECT_EQ(c.modelPrefix, defaults.modelPrefix);
    EXPECT_EQ(c.resolutionCode, defaults.resolutionCode);
    EXPECT_EQ(c.referenceLevels, defaults.referenceLevels);
    EXPECT_EQ(c.faultWord, defaults.faultWord);
    EXPECT_EQ(c.addrChkHandle, defaults.addrChkHandle);
    EXPECT_EQ(c.shadingNeeded, defaults.shadingNeeded);
    EXPECT_EQ(c.shadingLinesGrey, defaults.shadingLinesGrey);
    EXPECT_EQ(c.flag, defaults.flag);
    EXPECT_FALSE(c.forceBufAddrCount);
    ASSERT_EQ(c.problems.size(), 15u);
    EXPECT_EQ(c.problems[0], "line 2: bad value for WarmupPolls: abc");
    EXPECT_EQ(c.problems[13], "line 15: unknown key Colour");
    EXPECT_EQ(c.problems[14], "line 16: no '=' in no equals sign");
}

TEST(SimConfig, SensorAndBedKeys) {
    const ScannerConfig defaults;
    EXPECT_EQ(defaults.seed, 1u);
    EXPECT_EQ(defaults.gainVariation, 8);
    EXPECT_EQ(defaults.noise, 6);
    EXPECT_EQ(defaults.whiteLevel, 3600);
    EXPECT_TRUE(defaults.bedFile.empty());

    ScannerConfig c = ParseScannerConfig(
        "[Scanner]\nSeed=0xFFFFFFFF\nGainVariation=50\nNoise=0\nWhiteLevel=4095\n"
        "BedFile=\"C:\\beds\\my bed.bmp\"\n");
    EXPECT_TRUE(c.problems.empty()) << c.problems.front();
    EXPECT_EQ(c.seed, 0xFFFFFFFFu);
    EXPECT_EQ(c.gainVariation, 50);
    EXPECT_EQ(c.noise, 0);
    EXPECT_EQ(c.whiteLevel, 4095);
    EXPECT_EQ(c.bedFile, "C:\\beds\\my bed.bmp");

    c = ParseScannerConfig("[Scanner]\nGainVariation=51\nNoise=1001\nWhiteLevel=0\nWhiteLevel=4096\n");
    EXPECT_EQ(c.gainVariation, defaults.gainVariation);
    EXPECT_EQ(c.noise, defaults.noise);
    EXPECT_EQ(c.whiteLevel, defaults.whiteLevel);
    EXPECT_EQ(c.problems.size(), 4u);

    EXPECT_EQ(defaults.layout, sim::BedLayout::kDocument);
    EXPECT_EQ(ParseScannerConfig("[Scanner]\nLayout=Photos\n").layout, sim::BedLayout::kPhotos);
    EXPECT_EQ(ParseScannerConfig("[Scanner]\nLayout=lid\n").layout, sim::BedLayout::kLid);
    EXPECT_EQ(ParseScannerConfig("[Scanner]\nLayout=FILM\n").layout, sim::BedLayout::kFilm);
    c = ParseScannerConfig("[Scanner]\nLayout=film\nLayout=glass\n");
    EXPECT_EQ(c.layout, sim::BedLayout::kFilm);
    EXPECT_EQ(c.problems.size(), 1u);
}

TEST(SimConfig, ScriptedStatusesByFunctionAndRequestNumber) {
    const ScannerConfig c = ParseScannerConfig(
        "[Scanner]\nF8.3=0x8321\nf1.1=33812\nF0.2=0x00FF\nF8.3=0x8217\n"
        "F10.1=1\nF8.0=1\nF8.1=0x10000\nF8=1\nF.1=1\nFx.1=1\n");
    ASSERT_EQ(c.script.size(), 3u);
    ASSERT_NE(sim::FindScriptedStatus(c, 8, 3), nullptr);
    EXPECT_EQ(sim::FindScriptedStatus(c, 8, 3)->status, 0x8217);  // the later line wins
    EXPECT_EQ(sim::FindScriptedStatus(c, 1, 1)->status, 0x8414);
    EXPECT_EQ(sim::FindScriptedStatus(c, 0, 2)->status, 0x00FF);
    EXPECT_EQ(sim::FindScriptedStatus(c, 8, 2), nullptr);
    EXPECT_EQ(sim::FindScriptedStatus(c, 0, 3), nullptr);
    EXPECT_EQ(c.problems.size(), 6u);  // function 10, request 0, status too big, three malformed keys
}

TEST(SimConfig, ArbitraryBytesNeverCrash) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 7919) % 256));
    const ScannerConfig c = ParseScannerConfig("[Scanner]\n" + junk + "\n[Scanner\n=\n[]\n=5\n");
    EXPECT_EQ(c.segments, 3u);
}

}  // namespace
