#include "mainwin/QuilvexApp.h"

#include <QTimer>

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
    details_ = std::make_unique<TFitDetailsForm>(state_, dialogs, [this](BandChoice bands) {
        plot_->SetBands(bands);
        main_->DrawGraph();
    });
    QObject::connect(plot_.get(), &TPlotForm::Replotted, details_.get(), &TFitDetailsForm::FollowReplot);
    QObject::connect(main_.get(), &TQuilvexForm::FitDetailsRequested, details_.get(), &TFitDetailsForm::ShowAndRaise);
    QObject::connect(status_.get(), &TStatusForm::FitDetailsRequested, details_.get(),
                     &TFitDetailsForm::ShowAndRaise);
    drop_ = std::make_unique<FileDrop>([this](const std::string& name) { main_->OpenDataFile(name); }, nullptr);
    for (QWidget* window : std::initializer_list<QWidget*>{main_.get(), plot_.get(), status_.get()})
        drop_->Watch(window);
    plot_->show();
}

QuilvexApp::~QuilvexApp() = default;

void QuilvexApp::Start() { main_->show(); }

void QuilvexApp::OpenAtStart(const std::string& name)
{
    QTimer::singleShot(0, main_.get(), [this, name] { main_->OpenDataFile(name); });
}

}  // namespace quilvex
