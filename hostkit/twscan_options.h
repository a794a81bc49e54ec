// Command line of twscan. Each option is one row of the table in
// twscan_options.cpp; an option with a value takes it as the next argument
// or after "=" (--source NAME, --source=NAME).
//
// A scan is asked for with --out FILE. Without --ui the scan options go to
// the source as capabilities and the image layout; an option not given
// leaves the source's own value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "twain/twain.h"

enum class TwscanCommand { None, Help, List, Info, Caps, Scan };

// The frame of --area, in inches.
struct ScanArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// One --set: a key of a WIN.INI section.
struct ProfileSetting {
    std::string section;
    std::string key;
    std::string value;
};

// The section --set writes when none is named: the simulated scanner
// model's own section.
constexpr const char* kDefaultSettingSection = "A3 SCANNER";

struct TwscanOptions {
    TwscanCommand command = TwscanCommand::None;
    std::string source;  // product name given with --source; empty: the default source

    // The scan.
    std::optional<TW_UINT16> pixelType;  // --mode: TWPT_BW, TWPT_GRAY or TWPT_RGB
    std::optional<int> dpi;              // --dpi
    std::optional<ScanArea> area;        // --area
    TW_UINT16 xferMech = TWSX_MEMORY;    // --xfer: TWSX_NATIVE, TWSX_MEMORY or TWSX_FILE
    TW_UINT16 fileFormat = TWFF_BMP;     // --format, or told by the name of --out: TWFF_TIFF or TWFF_BMP
    std::string out;                     // --out, passed to Windows as given
    bool ui = false;                     // --ui
    bool pressScan = false;              // --press-scan
    bool prescan = false;                // --prescan: the dialog's prescan, its picture copied to --out

    std::vector<ProfileSetting> settings;  // --set, in command-line order

    // This application's identity.
    std::string appName = "twscan";  // --app-name: ProductName
    TW_UINT16 protocolMinor = 5;     // --protocol-minor
};

// Parses argv[1..argc-1]. On a bad command line returns false with a
// one-line reason in error; options is then incomplete.
bool ParseTwscanOptions(int argc, const char* const* argv, TwscanOptions& options, std::string& error);

// The text printed by --help.
const char* TwscanUsage();
