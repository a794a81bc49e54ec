#include "hostkit/twscan_options.h"

#include <algorithm>
#include <cctype>

namespace {

using Apply = bool (*)(TwscanOptions& options, const std::string& value, std::string& error);

struct OptionSpec {
    const char* name;
    bool takesValue;
    bool scanOnly;  // meaningful for a scan only
    Apply apply;
};

// A TW_FIX32 holds whole numbers up to 32767.
constexpr double kFix32Limit = 32768;
constexpr int kMaxDpi = 32767;
constexpr size_t kStr32Characters = 33;     // a TW_STR32 with its terminating zero
constexpr size_t kFileNameCharacters = 255;  // TW_SETUPFILEXFER.FileName with its zero

const char* CommandName(TwscanCommand command) {
    switch (command) {
        case TwscanCommand::Help: return "--help";
        case TwscanCommand::List: return "--list";
        case TwscanCommand::Info: return "--info";
        case TwscanCommand::Caps: return "--caps";
        default: return "a scan";
    }
}

bool SetCommand(TwscanOptions& options, TwscanCommand command, std::string& error) {
    if (options.command != TwscanCommand::None && options.command != command) {
        error = "only one of --help, --list, --info and --caps may be given";
        return false;
    }
    options.command = command;
    return true;
}

// Decimal digits only, no sign, within [low, high].
bool ParseWholeNumber(const std::string& text, long low, long high, long& number) {
    if (text.empty() || text.size() > 9) return false;
    number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        number = number * 10 + (c - '0');
    }
    return number >= low && number <= high;
}

// "8", "8.5", ".5" or "8.": a non-negative decimal below the TW_FIX32 limit.
// Read by hand so that the locale's decimal point plays no part.
bool ParseInches(const std::string& text, double& inches) {
    inches = 0;
    double scale = 0;  // 0 before the point, then the weight of the next digit
    bool digits = false;
    for (char c : text) {
        if (c == '.' && scale == 0) {
            scale = 0.1;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            if (scale == 0) {
                inches = inches * 10 + (c - '0');
                if (inches >= kFix32Limit) return false;
            } else {
                inches += (c - '0') * scale;
                scale /= 10;
            }
        } else {
            return false;
        }
    }
    return digits;
}

bool ApplyMode(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value == "lineart") {
        options.pixelType = TWPT_BW;
    } else if (value == "gray") {
        options.pixelType = TWPT_GRAY;
    } else if (value == "color") {
        options.pixelType = TWPT_RGB;
    } else {
        error = "--mode takes lineart, gray or color, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool ApplyDpi(TwscanOptions& options, const std::string& value, std::string& error) {
    long dpi = 0;
    if (!ParseWholeNumber(value, 1, kMaxDpi, dpi)) {
        error = "--dpi takes a whole number of dots per inch from 1 to 32767, not \"" + value + "\"";
        return false;
    }
    options.dpi = static_cast<int>(dpi);
    return true;
}

bool ApplyArea(TwscanOptions& options, const std::string& value, std::string& error) {
    std::vector<std::string> parts(1);
    for (char c : value) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    double edges[4] = {};
    bool numbers = parts.size() == 4;
    for (size_t i = 0; numbers && i < 4; ++i) numbers = ParseInches(parts[i], edges[i]);
    if (!numbers) {
        error = "--area takes LEFT,TOP,RIGHT,BOTTOM in inches (four numbers from 0 to 32767, such as "
                "1,1,5,4), not \"" + value + "\"";
        return false;
    }
    ScanArea area{edges[0], edges[1], edges[2], edges[3]};
    if (area.right <= area.left || area.bottom <= area.top) {
        error = "--area " + value + " is empty: RIGHT must be greater than LEFT and BOTTOM greater than TOP";
        return false;
    }
    options.area = area;
    return true;
}

bool ApplyXfer(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value == "native") {
        options.xferMech = TWSX_NATIVE;
    } else if (value == "memory") {
        options.xferMech = TWSX_MEMORY;
    } else if (value == "file") {
        options.xferMech = TWSX_FILE;
    } else {
        error = "--xfer takes native, memory or file, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool ApplyFormat(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value == "tiff") {
        options.fileFormat = TWFF_TIFF;
    } else if (value == "bmp") {
        options.fileFormat = TWFF_BMP;
    } else {
        error = "--format takes tiff or bmp, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool ApplyOut(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value.empty() || value.size() > kFileNameCharacters) {
        error = "--out needs a file name of 1 to 255 characters";
        return false;
    }
    options.out = value;
    return true;
}

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// KEY=VALUE or SECTION:KEY=VALUE.
bool ApplySet(TwscanOptions& options, const std::string& value, std::string& error) {
    size_t equals = value.find('=');
    std::string name = value.substr(0, equals);
    size_t colon = name.find(':');
    ProfileSetting setting;
    setting.section = colon == std::string::npos ? kDefaultSettingSection : name.substr(0, colon);
    setting.key = colon == std::string::npos ? name : name.substr(colon + 1);
    if (equals == std::string::npos || setting.key.empty() || setting.section.empty()) {
        error = "--set takes KEY=VALUE or SECTION:KEY=VALUE, not \"" + value + "\"";
        return false;
    }
    setting.value = value.substr(equals + 1);
    if (setting.section.find(']') != std::string::npos || HasControlCharacter(value)) {
        error = "--set " + value + ": a section name cannot hold ']' and no part a control character";
        return false;
    }
    options.settings.push_back(setting);
    return true;
}

bool ApplySource(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value.empty() || value.size() > kStr32Characters) {
        error = "--source needs a product name of 1 to 33 characters";
        return false;
    }
    options.source = value;
    return true;
}

bool ApplyAppName(TwscanOptions& options, const std::string& value, std::string& error) {
    if (value.empty() || value.size() > kStr32Characters) {
        error = "--app-name needs a product name of 1 to 33 characters";
        return false;
    }
    options.appName = value;
    return true;
}

bool ApplyProtocolMinor(TwscanOptions& options, const std::string& value, std::string& error) {
    long minor = 0;
    if (!ParseWholeNumber(value, 0, 65535, minor)) {
        error = "--protocol-minor takes a whole number from 0 to 65535, not \"" + value + "\"";
        return false;
    }
    options.protocolMinor = static_cast<TW_UINT16>(minor);
    return true;
}

const OptionSpec kOptions[] = {
    {"--help", false, false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::Help, e); }},
    {"--list", false, false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::List, e); }},
    {"--info", false, false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::Info, e); }},
    {"--caps", false, false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::Caps, e); }},
    {"--source", true, false, ApplySource},
    {"--mode", true, true, ApplyMode},
    {"--dpi", true, true, ApplyDpi},
    {"--area", true, true, ApplyArea},
    {"--xfer", true, true, ApplyXfer},
    {"--format", true, true, ApplyFormat},
    {"--out", true, true, ApplyOut},
    {"--ui", false, true, [](TwscanOptions& o, const std::string&, std::string&) { return o.ui = true; }},
    {"--press-scan", false, true,
     [](TwscanOptions& o, const std::string&, std::string&) { return o.pressScan = true; }},
    {"--prescan", false, true, [](TwscanOptions& o, const std::string&, std::string&) { return o.prescan = true; }},
    {"--set", true, false, ApplySet},
    {"--app-name", true, false, ApplyAppName},
    {"--protocol-minor", true, false, ApplyProtocolMinor},
};

const OptionSpec* FindOption(const std::string& name) {
    for (const OptionSpec& option : kOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

bool EndsWith(const std::string& text, const char* suffix) {
    std::string tail(suffix);
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

// The file format a scan writes, from --format or else from the name of --out.
bool ChooseFileFormat(TwscanOptions& options, bool formatGiven, std::string& error) {
    if (!formatGiven) {
        if (EndsWith(options.out, ".tif") || EndsWith(options.out, ".tiff")) {
            options.fileFormat = TWFF_TIFF;
        } else if (EndsWith(options.out, ".bmp")) {
            options.fileFormat = TWFF_BMP;
        } else {
            error = "the name " + options.out + " does not tell the file format: give --format tiff or bmp";
            return false;
        }
    }
    if (options.xferMech == TWSX_NATIVE && options.fileFormat != TWFF_BMP) {
        error = "a native transfer delivers a bitmap, written as BMP: give --format bmp or a .bmp name";
        return false;
    }
    return true;
}

// The rules between options, once all are read. `seen` holds the names of
// the options given.
bool CheckCombination(TwscanOptions& options, const std::vector<std::string>& seen, std::string& error) {
    auto given = [&seen](const char* name) { return std::find(seen.begin(), seen.end(), name) != seen.end(); };
    if (options.command == TwscanCommand::None) {
        if (options.out.empty()) {
            error = "nothing to do: give --out FILE to scan, or --list, --info, --caps or --help";
            return false;
        }
        options.command = TwscanCommand::Scan;
    }
    if (options.command != TwscanCommand::Scan) {
        for (const std::string& name : seen) {
            if (FindOption(name)->scanOnly) {
                error = name + " goes with a scan (--out FILE), not with " + CommandName(options.command);
                return false;
            }
        }
        if (!options.source.empty() && options.command != TwscanCommand::Info &&
            options.command != TwscanCommand::Caps) {
            error = std::string("--source goes with --info, --caps or a scan, not with ") +
                    CommandName(options.command);
            return false;
        }
        return true;
    }
    if (options.prescan) {
        // The dialog's prescan writes its own bitmap; it is copied as it is.
        for (const char* name : {"--mode", "--dpi", "--area", "--xfer", "--format", "--press-scan"}) {
            if (given(name)) {
                error = std::string(name) + " does not go with --prescan";
                return false;
            }
        }
        options.ui = true;
        return true;
    }
    if (options.ui) {
        for (const char* name : {"--mode", "--dpi", "--area"}) {
            if (given(name)) {
                error = std::string(name) + " sets the scan without a dialog: with --ui the dialog's settings apply "
                        "(give them with --set)";
                return false;
            }
        }
    } else if (options.pressScan) {
        error = "--press-scan goes with --ui";
        return false;
    }
    return ChooseFileFormat(options, given("--format"), error);
}

}  // namespace

bool ParseTwscanOptions(int argc, const char* const* argv, TwscanOptions& options, std::string& error) {
    std::vector<std::string> seen;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-h") argument = "--help";
        std::string name = argument;
        std::string value;
        bool hasInlineValue = false;
        size_t equals = argument.find('=');
        if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasInlineValue = true;
        }
        const OptionSpec* option = FindOption(name);
        if (!option) {
            error = "unknown option " + name;
            return false;
        }
        if (option->takesValue && !hasInlineValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!option->takesValue && hasInlineValue) {
            error = name + " takes no value";
            return false;
        }
        if (!option->apply(options, value, error)) return false;
        seen.push_back(name);
    }
    return CheckCombination(options, seen, error);
}

const char* TwscanUsage() {
    return "usage: twscan --list | --info [--source NAME] | --caps [--source NAME] | --help\n"
           "       twscan [--source NAME] [--mode M] [--dpi N] [--area L,T,R,B] [--xfer X]\n"
           "              [--format F] --out FILE\n"
           "       twscan [--source NAME] --ui [--press-scan] [--xfer X] [--format F] --out FILE\n"
           "       twscan [--source NAME] --prescan --out FILE\n"
           "  --list          one line per data source found:\n"
           "                  Id<TAB>Manufacturer<TAB>ProductFamily<TAB>ProductName\n"
           "  --info          open the data source and print the identity it reports\n"
           "                  as \"Name: value\" lines, then close it\n"
           "  --caps          open the data source and print, for every capability it\n"
           "                  lists in CAP_SUPPORTEDCAPS, its answers to MSG_GET,\n"
           "                  MSG_GETCURRENT and MSG_GETDEFAULT, one line each:\n"
           "                  capability, message, container type, item type, values\n"
           "  --source NAME   the data source with this product name (default: the\n"
           "                  source manager's default source)\n"
           "  --out FILE      scan one image into FILE (a Windows or Linux path)\n"
           "  --mode M        lineart, gray or color (ICAP_PIXELTYPE)\n"
           "  --dpi N         resolution in dots per inch (ICAP_XRESOLUTION, ICAP_YRESOLUTION)\n"
           "  --area L,T,R,B  the frame in inches from the bed's top left (DAT_IMAGELAYOUT)\n"
           "                  (--mode, --dpi, --area not given: the source's own values)\n"
           "  --xfer X        native, memory (default) or file: how the image is transferred\n"
           "  --format F      tiff or bmp; default: told by the name of FILE (.tif, .tiff,\n"
           "                  .bmp). A native transfer is always written as BMP\n"
           "  --ui            scan from the source's own dialog: twscan waits for the scan\n"
           "                  started there, or ends without an image when it is closed\n"
           "  --press-scan    with --ui: press the dialog's Scan button once it is idle\n"
           "  --prescan       open the source's dialog, press its Prescan button and copy\n"
           "                  the preview picture it leaves (a BMP) to FILE\n"
           "  --set [SECTION:]KEY=VALUE\n"
           "                  write a WIN.INI key before the source is opened (repeatable);\n"
           "                  the section defaults to \"A3 SCANNER\"\n"
           "  --app-name NAME this application's ProductName (default twscan)\n"
           "  --protocol-minor N  this application's ProtocolMinor (default 5)\n"
           "  --help, -h      this text\n"
           "Progress goes to standard error. Control characters in names are shown\n"
           "escaped (\\n, \\t, \\\\, \\xHH).\n"
           "Exit status: 0 on success (also when the dialog is closed without a scan),\n"
           "1 when a TWAIN call, the transfer or writing FILE fails, 2 for a bad command line.\n";
}
