// Command line of twscan. Each option is one row of the table in
// twscan_options.cpp; an option with a value takes it as the next argument
// or after "=" (--source NAME, --source=NAME).
#pragma once

#include <string>

enum class TwscanCommand { None, Help, List, Info };

struct TwscanOptions {
    TwscanCommand command = TwscanCommand::None;
    std::string source;  // product name given with --source; empty: the default source
};

// Parses argv[1..argc-1]. On a bad command line returns false with a
// one-line reason in error; options is then incomplete.
bool ParseTwscanOptions(int argc, const char* const* argv, TwscanOptions& options, std::string& error);

// The text printed by --help.
const char* TwscanUsage();
