#pragma once
// Limits what the user may type into an edit to a number of characters, while
// texts set by the program are taken whole (a validator only sees typing).
#include <QValidator>

namespace quilvex {

class TypingLimit : public QValidator {
public:
    TypingLimit(int maxLength, QObject* parent) : QValidator(parent), maxLength_(maxLength) {}
    State validate(QString& input, int&) const override
    {
        return input.size() <= maxLength_ ? Acceptable : Invalid;
    }

private:
    int maxLength_;
};

}  // namespace quilvex
