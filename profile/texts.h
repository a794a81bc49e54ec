// Texts of the string table of the data source.
#pragma once

#include <string>

// Text `number` of the current language block (at most 255 characters;
// empty when missing).
std::wstring LoadText(int number);

// Text at an absolute string-table number (not language based).
std::wstring LoadTextAbsolute(int id);

// The same texts converted to the ANSI code page, for comparisons with the
// narrow names of a host's TWAIN identity.
std::string LoadTextA(int number);
std::string LoadTextAbsoluteA(int id);

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

