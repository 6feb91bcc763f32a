#pragma once
// The real modal boxes and file dialogs of the running program.
#include <QString>
#include <QWidget>

#include "ui/dialogs.h"

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
    std::optional<GraphFileChoice> GraphFileName() override;
    std::optional<std::string> ResultsFileName() override;
    void OfferSaveName(const std::string& name) override { lastSaveName_ = QString::fromLocal8Bit(name); }

private:
    QString lastSaveName_;
};

}  // namespace quilvex
