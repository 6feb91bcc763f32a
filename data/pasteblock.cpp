#include "data/pasteblock.h"

#include <algorithm>
#include <exception>

#include "data/cellgrid.h"
#include "data/numtext.h"

namespace quilvex {

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);  // a last line without its line end
    return lines;
}

char FieldSeparator(const std::string& text)
{
    for (char candidate : {'\t', ';', ','})
        if (text.find(candidate) != std::string::npos)
            return candidate;
    return ' ';
}

std::string TrimBlanks(const std::string& field)
{
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

bool ReadsAsNumber(const std::string& text)
{
    try {
        return TextToFloat(text).ok();
    } catch (const std::exception&) {
        return false;  // beyond the range: a number all the same, kept as typed
    }
}

std::string WithDecimalPoint(const std::string& field)
{
    if (std::count(field.begin(), field.end(), ',') != 1 || ReadsAsNumber(field))
        return field;
    std::string dotted = field;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    return ReadsAsNumber(dotted) ? dotted : field;
}

PastedRow SplitFields(const std::string& line, char separator)
{
    PastedRow fields;
    if (line.empty())
        return fields;
    std::string field;
    for (char c : line + separator) {
        if (c != separator) {
            field += c;
            continue;
        }
        // Blanks separate in runs; other separators mark every field, empty ones too.
        if (separator != ' ' || !field.empty())
            fields.push_back(WithDecimalPoint(TrimBlanks(CleanCellText(field))));
        field.clear();
    }
    return fields;
}

}  // namespace

std::vector<PastedRow> SplitPastedBlock(const std::string& text)
{
    const char separator = FieldSeparator(text);
    std::vector<PastedRow> rows;
    for (const std::string& line : SplitLines(text))
        rows.push_back(SplitFields(line, separator));
    return rows;
}

}  // namespace quilvex
