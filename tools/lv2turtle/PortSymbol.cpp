#include "PortSymbol.h"

namespace vibrascend::lv2turtle {

namespace {

// ASCII only: the result must not depend on the locale, and non-ASCII letters are no symbol's.
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string PortSymbol(std::string_view name)
{
    std::string symbol;
    bool inSeparatorRun = false;
    for (const char c : name) {
        if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
            symbol += AsciiLower(c);
            inSeparatorRun = false;
        } else if (!inSeparatorRun) {
            symbol += '_';
            inSeparatorRun = true;
        }
    }
    if (symbol.empty() || IsAsciiDigit(symbol.front()))
        symbol.insert(symbol.begin(), '_');
    return symbol;
}

bool IsPortSymbol(std::string_view symbol)
{
    if (symbol.empty() || IsAsciiDigit(symbol.front()))
        return false;
    for (const char c : symbol)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_')
            return false;
    return true;
}

}  // namespace vibrascend::lv2turtle
