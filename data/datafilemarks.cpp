#include "data/datafilemarks.h"

#include <algorithm>
#include <optional>

namespace quilvex {

namespace {

constexpr std::string_view kColumnsKey = "columns:";
constexpr std::string_view kExcludedKey = "excluded:";
constexpr std::string_view kConstraintsKey = "constraints:";
constexpr std::size_t kMostConstraintLines = 16;
constexpr std::string_view kSigmaDeclaration = "; columns: x y sigma\r\n";

// The text of a comment line after key (after ";" and blanks), trimmed, or
// nothing for any other line.
std::optional<std::string_view> CommentText(std::string_view trimmedLine, std::string_view key)
{
    if (!IsComment(trimmedLine))
        return std::nullopt;
    std::string_view text = TrimView(trimmedLine.substr(1));
    if (!text.starts_with(key))
        return std::nullopt;
    return TrimView(text.substr(key.size()));
}

// The words of a comment line that begins with key (after ";" and blanks), or
// nothing for any other line.
std::optional<std::vector<std::string_view>> CommentWords(std::string_view trimmedLine, std::string_view key)
{
    std::optional<std::string_view> rest = CommentText(trimmedLine, key);
    if (!rest)
        return std::nullopt;
    std::string_view text = *rest;
    std::vector<std::string_view> words;
    while (!(text = TrimView(text)).empty()) {
        const std::size_t end = std::min(text.find_first_of(" \t,"), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
        if (!text.empty())
            text.remove_prefix(1);
    }
    return words;
}

// "; excluded: 3 7" for the excluded rows (data line numbers from 1), or nothing.
std::string ExcludedLine(const CellGrid& grid)
{
    std::string numbers;
    for (int row = 0; row < grid.RowCount(); ++row)
        if (grid.Excluded(row))
            numbers += ' ' + std::to_string(row + 1);
    return numbers.empty() ? std::string() : "; " + std::string(kExcludedKey) + numbers + "\r\n";
}

}  // namespace

void FileDeclarations::Take(std::string_view line)
{
    const std::string_view trimmed = TrimView(line);
    if (const auto columns = CommentWords(trimmed, kColumnsKey))
        sigma = *columns == std::vector<std::string_view>{"x", "y", "sigma"};
    else if (const auto numbers = CommentWords(trimmed, kExcludedKey))
        for (std::string_view number : *numbers)
            TakeLineNumber(number);
    else if (const auto text = CommentText(trimmed, kConstraintsKey); text && constraints.size() < kMostConstraintLines)
        constraints.emplace_back(*text);
}

void FileDeclarations::TakeLineNumber(std::string_view text)
{
    std::size_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || number > kMaxDataFileLines)
            return;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    if (number > 0)
        excluded.push_back(number);
}

void MarkExcludedLines(const std::vector<std::size_t>& numbers, std::vector<DataRow>& rows)
{
    for (std::size_t number : numbers)
        if (number <= rows.size())
            rows[number - 1].excluded = true;
}

bool GridHasSigma(const CellGrid& grid)
{
    for (int row = 0; row < grid.RowCount(); ++row)
        if (!grid.Cell(2, row).empty())
            return true;
    return false;
}

std::string DeclarationLines(const CellGrid& grid)
{
    std::string lines(GridHasSigma(grid) ? kSigmaDeclaration : std::string_view());
    return lines + ExcludedLine(grid);
}

std::string ConstraintLines(const std::vector<std::string>& texts)
{
    std::string lines;
    for (const std::string& text : texts)
        lines += "; " + std::string(kConstraintsKey) + " " + text + "\r\n";
    return lines;
}

// X, Y and sigma; an empty Y before a sigma is kept apart by a comma, as a
// blank would run it into the sigma.
std::string SigmaRowText(const std::string& x, const std::string& y, const std::string& sigma)
{
    if (y.empty() && !sigma.empty())
        return x + " ," + sigma;
    return x + ' ' + y + ' ' + sigma;
}

}  // namespace quilvex
