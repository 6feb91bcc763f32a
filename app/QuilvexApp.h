#pragma once
// The program: its document and its three windows, created in start-up order,
// and the wiring between them. Only here do the windows meet.
#include <memory>
#include <string>

#include "app/document.h"
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

    QuilvexDocument& Document() { return document_; }
    QuilvexState& State() { return document_.State(); }
    TQuilvexForm& Main() { return *main_; }
    TPlotForm& Plot() { return *plot_; }
    TStatusForm& Status() { return *status_; }
    TFitDetailsForm& Details() { return *details_; }

private:
    void Connect(Dialogs& dialogs);

    // Destroyed in reverse order: the windows refer to the document.
    QuilvexDocument document_;
    std::unique_ptr<TQuilvexForm> main_;
    std::unique_ptr<TPlotForm> plot_;
    std::unique_ptr<TStatusForm> status_;
    std::unique_ptr<TFitDetailsForm> details_;
    std::unique_ptr<FileDrop> drop_;
};

}  // namespace quilvex
