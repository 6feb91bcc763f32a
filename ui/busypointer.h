#pragma once
// Shows the busy pointer over every window of the program while it lives,
// when asked to.
namespace quilvex {

class BusyPointer {
public:
    explicit BusyPointer(bool show);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    bool shown_ = false;
};

}  // namespace quilvex
