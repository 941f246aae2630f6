// Text rules shared by every subsystem: 8-bit ANSI strings, case-insensitive comparison,
// integer reading as the settings and icon-location rules need it, path pieces.
// Portable: no windows.h.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

std::string Trim(std::string_view s);            // blanks and control characters at both ends
std::string LowerCase(std::string_view s);       // A-Z only, as the ANSI rules of file names need
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);   // equal without regard to A-Z letter case
int CompareText(std::string_view a, std::string_view b); // <0, 0, >0 ignoring A-Z letter case

// A whole decimal number with an optional sign, or "$"/"0x" hexadecimal; leading blanks are
// allowed, nothing may follow. Out-of-range values are not numbers.
std::optional<int32_t> ParseInteger(std::string_view s);
// ParseInteger, raising "'%s' is not a valid integer value" when the text is not one.
int32_t StrToInt(std::string_view s);
// The settings-file reading of an integer: "0x"/"0X" followed by at least one character is
// hexadecimal; anything that is not a number gives the default.
int32_t IniInteger(std::string_view s, int32_t defaultValue);

std::string ExtractFilePath(std::string_view path);   // up to and including the last '\' or ':'
std::string ExtractFileName(std::string_view path);   // after the last '\' or ':'
std::string ExtractFileExt(std::string_view path);    // from the last '.' after the last delimiter
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// The items of a command line: blanks separate them, double quotes group blanks into an item
// and are removed. Item 0 is the program.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

std::vector<std::string> SplitLines(std::string_view text);  // CR, LF or CR LF; no entry for a final break
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace zel
