#pragma once
// The warnings of one replot: at most 255 single-byte characters. An append that
// does not fit is cut to the room left; once full, appends add nothing.
#include <string>
#include <string_view>

namespace quilvex {

class MessageText {
public:
    static constexpr std::size_t Capacity = 255;

    void Append(std::string_view text);
    void Clear() { text_.clear(); }
    const std::string& Text() const { return text_; }
    bool Empty() const { return text_.empty(); }

private:
    std::string text_;
};

}  // namespace quilvex
