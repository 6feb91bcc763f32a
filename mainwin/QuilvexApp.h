#pragma once
// The program: its state and its three windows, created in start-up order.
#include <memory>
#include <string>

#include "data/state.h"
#include "details/FitDetails.h"
#include "graph/QuilvexG.h"
#include "mainwin/QuilvexD.h"
#include "report/Status.h"
#include "ui/dialogs.h"
#include "ui/filedrop.h"

namespace quilvex {

class QuilvexApp {
public:
    // Creates the main window, then the graph window (shown at once), then the
    // status window (hidden).
    explicit QuilvexApp(Dialogs& dialogs);
    ~QuilvexApp();

    // Shows the main window.
    void Start();
    // Opens the data file as "Open" does, once the event loop runs, so that
    // its boxes come up over the windows already shown.
    void OpenAtStart(const std::string& name);

    QuilvexState& State() { return state_; }
    TQuilvexForm& Main() { return *main_; }
    TPlotForm& Plot() { return *plot_; }
    TStatusForm& Status() { return *status_; }
    TFitDetailsForm& Details() { return *details_; }

private:
    // Destroyed in reverse order: the status and graph windows refer to the main window.
    QuilvexState state_;
    std::unique_ptr<TQuilvexForm> main_;
    std::unique_ptr<TPlotForm> plot_;
    std::unique_ptr<TStatusForm> status_;
    std::unique_ptr<TFitDetailsForm> details_;
    std::unique_ptr<FileDrop> drop_;
};

}  // namespace quilvex
