// Text forms of a TW_IDENTITY printed by twscan. Every string field is
// shown with its control characters escaped (\n, \r, \t, \xHH, and a
// backslash as \\), so one field always stays on one line and one column.
#pragma once

#include <string>

#include "twain/twain.h"

// The control characters of text escaped as described above.
std::string EscapedText(const std::string& text);
// "Id<TAB>Manufacturer<TAB>ProductFamily<TAB>ProductName", no line break.
std::string IdentityListLine(const TW_IDENTITY& identity);
// Every field as a "Name: value" line, each ending with "\n".
std::string IdentityReport(const TW_IDENTITY& identity);
