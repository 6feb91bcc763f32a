#pragma once
// The application object: its title, the one place where an error that no
// handler caught becomes the application's error box, and the system's decimal
// separator for number texts (re-read when the system announces a change).
#include <QApplication>

#include "ui/dialogs.h"

namespace quilvex {

class QuilvexApplication : public QApplication {
    Q_OBJECT
public:
    QuilvexApplication(int& argc, char** argv);

    void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;
    // Shows the error box for an error that ended a handler.
    void ReportUncaught(const std::string& text);

    static char SystemDecimalSeparator();

private:
    Dialogs* dialogs_ = nullptr;
};

}  // namespace quilvex
