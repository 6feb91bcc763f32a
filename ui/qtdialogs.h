#pragma once
// The real modal boxes and file dialogs of the running program.
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"
#include "ui/nameiconprovider.h"

namespace quilvex {

inline constexpr const char* kAppTitle = "Quilvex 0.9 (Beta)";

class QtDialogs : public Dialogs {
public:
    BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) override;
    void ErrorBox(const std::string& errorText) override;
    std::optional<FileChoice> ChooseFile(const FileRequest& request) override;
    void ShowInformation(const std::string& title, const std::string& text) override;
    void ShowPage(const std::string& title, const std::string& html) override;

private:
    QString lastFolder_;  // every file dialog starts in the folder of the last file chosen in this run
    NameIconProvider iconProvider_;
};

}  // namespace quilvex
