#include "mainwin/QuilvexApp.h"

namespace quilvex {

QuilvexApp::QuilvexApp(Dialogs& dialogs)
{
    main_ = std::make_unique<TQuilvexForm>(state_, dialogs);
    plot_ = std::make_unique<TPlotForm>(state_, dialogs, *main_);
    status_ = std::make_unique<TStatusForm>(state_, dialogs, *main_);
    plot_->SetStatusForm(status_.get());
    status_->SetPlotForm(plot_.get());
    main_->SetStatusForm(status_.get());
    main_->SetPlotForm(plot_.get());
    plot_->show();
}

QuilvexApp::~QuilvexApp() = default;

void QuilvexApp::Start() { main_->show(); }

}  // namespace quilvex
