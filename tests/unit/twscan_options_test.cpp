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
}

TEST(TwscanOptionsTest, RefusesBadCommandLinesWithAReason) {
    struct Case {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{}, "nothing to do: give --list, --info or --help"},
        {{"--scan"}, "unknown option --scan"},
        {{"--info", "--source"}, "--source needs a value"},
        {{"--info", "--source="}, "--source needs a product name of 1 to 33 characters"},
        {{"--info", "--source", "0123456789012345678901234567890123"},
         "--source needs a product name of 1 to 33 characters"},
        {{"--list=yes"}, "--list takes no value"},
        {{"--list", "--info"}, "only one of --help, --list and --info may be given"},
        {{"--list", "--source", "x"}, "--source goes with --info"},
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

}  // namespace
