#pragma once
// Modal message boxes and file dialogs. The windows ask through this interface;
// the program answers with real Qt dialogs, tests with a scripted answerer.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quilvex {

enum class BoxType { Warning, Error };
enum class BoxButtons { Ok, OkCancel, YesNo, SaveDiscardCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No, Save, Discard };

// What a file dialog shows: its title, its file types ("Quilvex Data Files
// (*.dta)"), whether it chooses a file to write (a save dialog, which leaves
// the question before writing over a file to the program) and the name it
// offers (empty for none).
struct FileRequest {
    std::string title;
    std::vector<std::string> filters;
    bool forSaving = false;
    std::string offeredName;
};

struct FileChoice {
    std::string name;        // with its full path
    std::size_t filter = 0;  // the index of the file type chosen
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Title "Warning" or "Error" with the matching icon.
    virtual BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) = 0;
    // The application's own error box for an error no handler caught: the error
    // text followed by ".", titled with the application title.
    virtual void ErrorBox(const std::string& errorText) = 0;
    // Every file dialog: the file chosen; nothing when cancelled.
    virtual std::optional<FileChoice> ChooseFile(const FileRequest& request) = 0;
    // A box of plain information lines, such as the About box.
    virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
    // A read-only page of text (HTML) in a window of its own, such as the help page.
    virtual void ShowPage(const std::string& title, const std::string& html) = 0;
};

}  // namespace quilvex
