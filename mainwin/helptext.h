#pragma once
// The texts of the Help menu: the About box and the help page.
#include <string>

namespace quilvex {

inline constexpr const char* kAboutTitle = "About Quilvex";
inline constexpr const char* kHelpTitle = "Quilvex Help";

// Version, what the program does, its licence and the Qt it runs on.
std::string AboutText(const std::string& qtVersion);
// The help page: the data file format, the seven methods and the mouse.
std::string HelpPageHtml();

}  // namespace quilvex
