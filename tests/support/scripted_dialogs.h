#pragma once
// Answers the program's boxes and file dialogs from a script and records what
// was shown, so no test ever waits on a window.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/graphexport.h"
#include "ui/dialogs.h"

namespace quilvex::testing {

// A name for "Export graph…" with the file type chosen beside it.
struct GraphFileChoice {
    std::string name;
    GraphFileType type = GraphFileType::Png;
};

struct ShownBox {
    BoxType type;
    std::string text;
    BoxButtons buttons;
};

class ScriptedDialogs : public Dialogs {
public:
    // Answers for the next boxes; without one a box is answered with its first button.
    std::deque<BoxAnswer> answers;
    // Names for the next file dialogs; without one the dialog is cancelled.
    std::deque<std::string> openNames, saveNames, resultsNames;
    std::deque<GraphFileChoice> graphNames;

    // Runs while a box is open, as the events of a modal box's own loop would.
    std::function<void()> whileOpen;

    std::vector<ShownBox> boxes;
    std::vector<std::string> errors;
    // Information boxes and pages: the title, a tab, the text.
    std::vector<std::string> informations, pages;

    BoxAnswer MessageBox(BoxType type, const std::string& text, BoxButtons buttons) override
    {
        boxes.push_back(ShownBox{type, text, buttons});
        if (whileOpen)
            whileOpen();
        if (!answers.empty()) {
            const BoxAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (buttons) {
        case BoxButtons::YesNo: return BoxAnswer::Yes;
        case BoxButtons::SaveDiscardCancel: return BoxAnswer::Save;
        default: return BoxAnswer::Ok;
        }
    }
    void ErrorBox(const std::string& errorText) override { errors.push_back(errorText); }
    void ShowInformation(const std::string& title, const std::string& text) override
    {
        informations.push_back(title + "\t" + text);
    }
    void ShowPage(const std::string& title, const std::string& html) override { pages.push_back(title + "\t" + html); }
    // Every file dialog shown, in order.
    std::vector<FileRequest> fileRequests;

    // Answers each dialog from the names scripted for its title.
    std::optional<FileChoice> ChooseFile(const FileRequest& request) override
    {
        fileRequests.push_back(request);
        if (request.title.starts_with("Export ")) {  // the graph and the residual plot
            const std::optional<GraphFileChoice> choice = Next(graphNames);
            if (!choice)
                return std::nullopt;
            return FileChoice{choice->name, static_cast<std::size_t>(choice->type)};
        }
        std::deque<std::string>& names = request.title == "Open"      ? openNames
                                         : request.title == "Save as" ? saveNames
                                                                      : resultsNames;
        const std::optional<std::string> name = Next(names);
        if (!name)
            return std::nullopt;
        return FileChoice{*name, 0};
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const ShownBox& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

private:
    template <typename Name>
    static std::optional<Name> Next(std::deque<Name>& names)
    {
        if (names.empty())
            return std::nullopt;
        Name name = names.front();
        names.pop_front();
        return name;
    }
};

}  // namespace quilvex::testing
