#pragma once
// A window's control by its name, for tests that press its buttons, type into
// its fields and read what it shows, as a user would; the windows keep their
// controls to themselves.
#include <QWidget>
#include <stdexcept>
#include <string>

namespace quilvex::testing {

template <typename Control>
Control* Find(const QWidget& window, const char* name)
{
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr)
        throw std::logic_error(std::string("no control named ") + name);
    return control;
}

}  // namespace quilvex::testing
