#include "data/messagetext.h"

#include "data/fpfault.h"

namespace quilvex {

void MessageText::Append(std::string_view text)
{
    // A message follows the operations that led to it; a fault among them ends
    // the routine before its message appears.
    CheckFpu();
    const std::size_t room = Capacity - text_.size();
    text_.append(text.substr(0, room));
}

}  // namespace quilvex
