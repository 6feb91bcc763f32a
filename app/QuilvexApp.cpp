#include "app/QuilvexApp.h"

#include <QTimer>

#include "ui/bringtofront.h"
#include "ui/handler.h"

namespace quilvex {

QuilvexApp::QuilvexApp(Dialogs& dialogs)
{
    main_ = std::make_unique<TQuilvexForm>(document_, dialogs);
    plot_ = std::make_unique<TPlotForm>(document_, dialogs);
    status_ = std::make_unique<TStatusForm>(document_, dialogs);
    details_ = std::make_unique<TFitDetailsForm>(document_, dialogs);
    Connect(dialogs);
    drop_ = std::make_unique<FileDrop>([this](const std::string& name) { main_->OpenDataFile(name); }, nullptr);
    for (QWidget* window : std::initializer_list<QWidget*>{main_.get(), plot_.get(), status_.get(), details_.get()})
        drop_->Watch(window);
    plot_->show();
}

QuilvexApp::~QuilvexApp() = default;

void QuilvexApp::Connect(Dialogs& dialogs)
{
    TPlotForm* plot = plot_.get();
    TQuilvexForm* main = main_.get();
    TStatusForm* status = status_.get();
    QObject::connect(&document_, &QuilvexDocument::replotRequested, plot, [plot] { plot->Draw(); });
    main_->SetPictureSource([plot] { return plot->Picture(); });
    QObject::connect(plot, &TPlotForm::controlClicked, main, [main] {
        main->show();
        main->raise();
        main->activateWindow();
    });
    QObject::connect(main, &TQuilvexForm::statusAsked, status,
                     [status, &dialogs] { RunHandler(dialogs, [status] { status->ShowStatusReport(); }); });
    QObject::connect(main, &TQuilvexForm::interpolationAsked, status, [status] { status->ShowInterpolationPage(); });
    TFitDetailsForm* details = details_.get();
    QObject::connect(plot, &TPlotForm::replotted, details, &TFitDetailsForm::FollowReplot);
    // Placed on the main window's screen whichever window asks for it.
    const auto showDetails = [details, main] { details->ShowAndRaise(main); };
    QObject::connect(main, &TQuilvexForm::fitDetailsAsked, details, showDetails);
    QObject::connect(status, &TStatusForm::fitDetailsAsked, details, showDetails);
    QObject::connect(details, &TFitDetailsForm::mainWindowAsked, main, [main] { BringToFront(*main); });
    QObject::connect(status, &TStatusForm::reportFailed, plot, [plot](const QString& prefix, const QString& text) {
        plot->ShowErrorInMsgLabel(prefix.toLatin1().toStdString(), text.toLatin1().toStdString());
    });
}

void QuilvexApp::Start() { main_->show(); }

void QuilvexApp::OpenAtStart(const std::string& name)
{
    QTimer::singleShot(0, main_.get(), [this, name] { main_->OpenDataFile(name); });
}

}  // namespace quilvex
