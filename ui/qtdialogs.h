#pragma once
// The real modal boxes and file dialogs of the running program.
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"

namespace quilvex {

inline constexpr const char* kAppTitle = "Quilvex 0.9 (Beta)";
inline constexpr const char* kDataFileFilter = "Quilvex Data Files (*.dta)";

class QtDialogs : public Dialogs {
public:
    BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) override;
    void ErrorBox(const std::string& errorText) override;
    std::optional<std::string> OpenFileName() override;
    std::optional<std::string> SaveFileName() override;
    void OfferSaveName(const std::string& name) override { lastSaveName_ = QString::fromLocal8Bit(name); }
    void ShowInformation(const std::string& title, const std::string& text) override;
    void ShowPage(const std::string& title, const std::string& html) override;

private:
    QString lastSaveName_;
};

}  // namespace quilvex
