#pragma once
// The real modal boxes and file dialogs of the running program.
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"
#include "ui/nameiconprovider.h"

class QFileDialog;

namespace quilvex {

inline constexpr const char* kAppTitle = "Quilvex 0.9 (Beta)";
inline constexpr const char* kDataFileFilter = "Quilvex Data Files (*.dta)";
inline constexpr const char* kPngFilter = "PNG image (*.png)";
inline constexpr const char* kPngDoubleFilter = "PNG image, double size (*.png)";
inline constexpr const char* kSvgFilter = "SVG image (*.svg)";
inline constexpr const char* kTextFilter = "Text files (*.txt)";

class QtDialogs : public Dialogs {
public:
    BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) override;
    void ErrorBox(const std::string& errorText) override;
    std::optional<std::string> OpenFileName() override;
    std::optional<std::string> SaveFileName() override;
    void OfferSaveName(const std::string& name) override;
    std::optional<GraphFileChoice> GraphFileName() override;
    std::optional<std::string> ResultsFileName() override;
    void ShowInformation(const std::string& title, const std::string& text) override;
    void ShowPage(const std::string& title, const std::string& html) override;

private:
    // Both dialogs start in the folder of the last file chosen in this run.
    void Prepare(QFileDialog& dialog, const QStringList& filters);
    std::optional<std::string> Chosen(QFileDialog& dialog);

    QString lastSaveName_;
    QString lastFolder_;
    NameIconProvider iconProvider_;
};

}  // namespace quilvex
