#pragma once
// Lets files be dropped on a window: the first local file of a drop is handed
// to the opener; a drop that holds no local file is refused without a word.
#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QWidget;

namespace quilvex {

class FileDrop : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const std::string& name)>;

    FileDrop(Opener open, QObject* parent);

    // Takes drops on the window and on its controls that take drops of their own
    // (text edits), so that a file dropped there opens and is not typed in as text.
    void Watch(QWidget* window);

    static std::optional<std::string> FirstLocalFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Opener open_;
};

}  // namespace quilvex
