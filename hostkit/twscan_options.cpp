#include "hostkit/twscan_options.h"

namespace {

using Apply = bool (*)(TwscanOptions& options, const std::string& value, std::string& error);

struct OptionSpec {
    const char* name;
    bool takesValue;
    Apply apply;
};

bool SetCommand(TwscanOptions& options, TwscanCommand command, std::string& error) {
    if (options.command != TwscanCommand::None && options.command != command) {
        error = "only one of --help, --list and --info may be given";
        return false;
    }
    options.command = command;
    return true;
}

const OptionSpec kOptions[] = {
    {"--help", false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::Help, e); }},
    {"--list", false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::List, e); }},
    {"--info", false,
     [](TwscanOptions& o, const std::string&, std::string& e) { return SetCommand(o, TwscanCommand::Info, e); }},
    {"--source", true,
     [](TwscanOptions& o, const std::string& value, std::string& e) {
         if (value.empty() || value.size() > 33) {
             e = "--source needs a product name of 1 to 33 characters";
             return false;
         }
         o.source = value;
         return true;
     }},
};

const OptionSpec* FindOption(const std::string& name) {
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.name) return &spec;
    }
    return nullptr;
}

}  // namespace

bool ParseTwscanOptions(int argc, const char* const* argv, TwscanOptions& options, std::string& error) {
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
        const OptionSpec* spec = FindOption(name);
        if (!spec) {
            error = "unknown option " + name;
            return false;
        }
        if (spec->takesValue && !hasInlineValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!spec->takesValue && hasInlineValue) {
            error = name + " takes no value";
            return false;
        }
        if (!spec->apply(options, value, error)) return false;
    }
    if (options.command == TwscanCommand::None) {
        error = "nothing to do: give --list, --info or --help";
        return false;
    }
    if (!options.source.empty() && options.command != TwscanCommand::Info) {
        error = "--source goes with --info";
        return false;
    }
    return true;
}

const char* TwscanUsage() {
    return "usage: twscan --list | --info [--source NAME] | --help\n"
           "  --list          one line per data source found:\n"
           "                  Id<TAB>Manufacturer<TAB>ProductFamily<TAB>ProductName\n"
           "  --info          open the data source and print the identity it reports\n"
           "                  as \"Name: value\" lines, then close it\n"
           "  --source NAME   the data source with this product name (default: the\n"
           "                  source manager's default source)\n"
           "  --help, -h      this text\n"
           "Control characters in names are shown escaped (\\n, \\t, \\\\, \\xHH).\n"
           "Exit status: 0 on success, 1 when a TWAIN call fails, 2 for a bad command line.\n";
}
