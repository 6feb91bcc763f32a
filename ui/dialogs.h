#pragma once
// Modal message boxes and file dialogs. The windows ask through this interface;
// the program answers with real Qt dialogs, tests with a scripted answerer.
#include <optional>
#include <string>

namespace quilvex {

enum class BoxType { Warning, Error };
enum class BoxButtons { Ok, OkCancel, YesNo, SaveDiscardCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No, Save, Discard };

// The pictures "Export graph…" writes: the paint box's size, twice that, or vector.
enum class GraphFileType { Png, PngDoubleSize, Svg };
struct GraphFileChoice {
    std::string name;
    GraphFileType type = GraphFileType::Png;  // of the file type chosen in the dialog
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Title "Warning" or "Error" with the matching icon.
    virtual BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) = 0;
    // The application's own error box for an error no handler caught: the error
    // text followed by ".", titled with the application title.
    virtual void ErrorBox(const std::string& errorText) = 0;
    // The chosen file name with its full path; nothing when cancelled.
    virtual std::optional<std::string> OpenFileName() = 0;
    virtual std::optional<std::string> SaveFileName() = 0;
    // "Export graph…": the name and the file type chosen; nothing when cancelled.
    virtual std::optional<GraphFileChoice> GraphFileName() = 0;
    // "Save results…": a text file's name; nothing when cancelled.
    virtual std::optional<std::string> ResultsFileName() = 0;
    // The name the save dialog offers next time.
    virtual void OfferSaveName(const std::string&) {}
    // A box of plain information lines, such as the About box.
    virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
    // A read-only page of text (HTML) in a window of its own, such as the help page.
    virtual void ShowPage(const std::string& title, const std::string& html) = 0;
};

}  // namespace quilvex
