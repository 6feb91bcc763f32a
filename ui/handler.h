#pragma once
// Runs an event handler so that an error it does not catch ends the handler and
// shows the application's error box; the program runs on.
#include <exception>
#include <utility>

#include "ui/dialogs.h"

namespace quilvex {

template <typename Body>
void RunHandler(Dialogs& dialogs, Body&& body)
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& e) {
        dialogs.ErrorBox(e.what());
    }
}

}  // namespace quilvex
