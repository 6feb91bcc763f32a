#include "data/cellgrid.h"

namespace quilvex {

std::string CleanCellText(std::string text)
{
    const std::size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd != std::string::npos)
        text.erase(lineEnd);
    for (char& c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F)
            c = ' ';
    }
    return text;
}

}  // namespace quilvex
