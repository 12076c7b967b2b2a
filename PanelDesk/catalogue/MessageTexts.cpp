// Writes the numbered messages as QT_TRANSLATE_NOOP lines in the console's context, so that lupdate puts
// them into the console's catalogue beside the texts marked in the console's sources.
// Usage: lumidesk_message_texts OUTPUT.cpp
#include "Strings.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string cLiteral(const char* text)
{
    std::string literal = "\"";
    for (const char* c = text; *c; ++c) {
        switch (*c) {
        case '"':
            literal += "\\\"";
            break;
        case '\\':
            literal += "\\\\";
            break;
        case '\n':
            literal += "\\n";
            break;
        case '\r':
            literal += "\\r";
            break;
        case '\t':
            literal += "\\t";
            break;
        default:
            literal += *c;
        }
    }
    return literal + "\"";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumidesk_message_texts OUTPUT.cpp\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::trunc);
    out << "// Generated from the string table for lupdate; never compiled.\n";
    for (const int number : lumivane::messageNumbers())
        out << "QT_TRANSLATE_NOOP(\"Lumivane\", " << cLiteral(lumivane::messageText(number)) << ") // " << number
            << "\n";
    out.close();
    return out ? 0 : 1;
}
