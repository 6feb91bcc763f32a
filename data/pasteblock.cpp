#include "data/pasteblock.h"

#include <algorithm>
#include <exception>

#include "data/cellgrid.h"
#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr auto kNone = std::string::npos;

// The text with every quoted stretch left out, so that a separator inside
// quotes does not choose the separator of the block; the whole text when a
// quote is left open.
std::string OutsideQuotes(const std::string& text)
{
    std::string outside;
    bool inside = false;
    for (char c : text) {
        if (c == '"')
            inside = !inside;
        else if (!inside)
            outside += c;
    }
    return inside ? text : outside;
}

char FieldSeparator(const std::string& text)
{
    if (text.find('\t') != kNone)
        return '\t';
    const std::string outside = OutsideQuotes(text);
    for (char candidate : {';', ','})
        if (outside.find(candidate) != kNone)
            return candidate;
    return ' ';
}

std::string TrimBlanks(const std::string& field)
{
    const std::size_t first = field.find_first_not_of(' ');
    if (first == kNone)
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

// The quote that closes the one at `open` ("" inside stands for one quote).
std::size_t ClosingQuote(const std::string& text, std::size_t open)
{
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] != '"')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '"')
            ++i;
        else
            return i;
    }
    return kNone;
}

// Reads the block as spreadsheets write it: a field that begins with a double
// quote runs to its closing quote, separators and line ends inside included,
// with "" for one quote. A quote that never closes is read as text, and so is
// every quote after it.
class BlockReader {
public:
    BlockReader(const std::string& text, char separator) : text_(text), separator_(separator) {}

    std::vector<PastedRow> Rows()
    {
        for (std::size_t i = 0; i < text_.size(); ++i) {
            const char c = text_[i];
            lineStarted_ = true;
            if (c == '"' && OpensQuote())
                i = ReadQuoted(i);
            else if (c == '\r' || c == '\n')
                i += EndLine(c == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n');
            else if (c == separator_)
                EndField();
            else
                field_ += c;
        }
        if (lineStarted_)
            EndLine(false);  // a last line without its line end
        return rows_;
    }

private:
    bool OpensQuote() const { return quotesClose_ && field_.find_first_not_of(' ') == kNone; }

    // Returns where reading goes on.
    std::size_t ReadQuoted(std::size_t open)
    {
        const std::size_t close = ClosingQuote(text_, open);
        if (close == kNone) {
            quotesClose_ = false;
            field_ += '"';
            return open;
        }
        field_.clear();
        for (std::size_t i = open + 1; i < close; ++i) {
            field_ += text_[i];
            i += text_[i] == '"' ? 1 : 0;
        }
        quoted_ = true;
        return close;
    }

    void EndField()
    {
        // Blanks separate in runs; other separators mark every field, empty ones too.
        if (separator_ != ' ' || !field_.empty() || quoted_)
            row_.push_back(WithDecimalPoint(TrimBlanks(CleanCellText(field_))));
        field_.clear();
        quoted_ = false;
    }

    // Returns how many characters more the line end takes.
    std::size_t EndLine(bool crlf)
    {
        if (!row_.empty() || !field_.empty() || quoted_)
            EndField();
        rows_.push_back(std::move(row_));
        row_.clear();
        lineStarted_ = false;
        return crlf ? 1 : 0;
    }

    const std::string& text_;
    const char separator_;
    std::vector<PastedRow> rows_;
    PastedRow row_;
    std::string field_;
    bool quoted_ = false;
    bool quotesClose_ = true;
    bool lineStarted_ = false;
};

}  // namespace

std::vector<PastedRow> SplitPastedBlock(const std::string& text)
{
    return BlockReader(text, FieldSeparator(text)).Rows();
}

}  // namespace quilvex
