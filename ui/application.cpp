#include "ui/application.h"

#include <QEvent>
#include <QFont>
#include <QLocale>
#include <exception>

#include "data/numtext.h"
#include "ui/qtdialogs.h"

namespace quilvex {

QuilvexApplication::QuilvexApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(kAppTitle);
    // The forms name the fonts of the system they were designed on; these faces
    // have the same metrics (Liberation) or the same role.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Courier", "Liberation Mono");
    SetDecimalSeparator(SystemDecimalSeparator());
}

char QuilvexApplication::SystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() != 1 || point[0].unicode() > 0xFF)
        return '.';
    return static_cast<char>(point[0].unicode());
}

bool QuilvexApplication::notify(QObject* receiver, QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        SetDecimalSeparator(SystemDecimalSeparator());
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportUncaught(e.what());
    }
    return true;
}

void QuilvexApplication::ReportUncaught(const std::string& text)
{
    if (dialogs_)
        dialogs_->ErrorBox(text);
}

}  // namespace quilvex
