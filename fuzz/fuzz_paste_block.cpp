// SplitPastedBlock on arbitrary clipboard text. Besides not crashing, every
// field it gives is one clean cell (no line break or other control character,
// no blanks at its ends), and there are never more rows than lines of text.
#include <algorithm>
#include <string>

#include "data/pasteblock.h"
#include "fuzz/fuzz_check.h"

using namespace quilvex;
using namespace quilvex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(AsText(data, size));
    const std::vector<PastedRow> rows = SplitPastedBlock(text);
    const auto lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n') +
                                                   std::count(text.begin(), text.end(), '\r'));
    if (rows.size() > lineEnds + 1)
        Fail(std::to_string(rows.size()) + " rows from " + Quoted(text));
    for (const PastedRow& row : rows) {
        for (const std::string& field : row) {
            const bool control = std::any_of(field.begin(), field.end(), [](char c) {
                const auto code = static_cast<unsigned char>(c);
                return code < 0x20 || code == 0x7F;
            });
            if (control || (!field.empty() && (field.front() == ' ' || field.back() == ' ')))
                Fail("the field " + Quoted(field) + " is no clean cell, from " + Quoted(text));
        }
    }
    return 0;
}
