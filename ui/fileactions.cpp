#include "ui/fileactions.h"

#include "data/datafile.h"
#include "ui/savefile.h"

namespace quilvex {

bool SaveThroughDialog(Dialogs& dialogs, SaveRequest& request, const FileBytes& bytes)
{
    const std::optional<FileChoice> choice = dialogs.ChooseFile(request.dialog);
    if (!choice)
        return false;
    SaveTarget target{choice->name, choice->filter, -1};
    ExtensionRule rule = request.rule;
    if (choice->filter < request.extensionOfFilter.size())
        rule.fallback = request.extensionOfFilter[choice->filter];
    const NamedFile named = ApplyExtensionRule(target.name, rule);
    if (named.refused) {
        dialogs.MessageBox(BoxType::Error, request.refusedText, BoxButtons::Ok);
        return false;
    }
    target.known = named.known;
    if (request.remembersName)
        request.dialog.offeredName = target.name;
    if (DataFileExists(target.name) &&
        dialogs.MessageBox(BoxType::Warning, OverwriteQuestionText(target.name), BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;
    WriteWholeFile(target.name, bytes(target));
    return true;
}

}  // namespace quilvex
