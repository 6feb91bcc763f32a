#pragma once
// The one way a file is saved ("Save as", "Export graph…", "Save results…"):
// a name chosen in a file dialog, the extension rule applied, the question
// before writing over a file, the whole file written.
#include <QByteArray>
#include <functional>
#include <string>
#include <vector>

#include "data/filename.h"
#include "ui/dialogs.h"

namespace quilvex {

struct SaveRequest {
    FileRequest dialog;
    ExtensionRule rule;
    // Per file type of the dialog, the index of its extension in rule.known:
    // the one a name without an extension gets. Empty: the rule's own fallback.
    std::vector<std::size_t> extensionOfFilter;
    const char* refusedText = nullptr;  // the error box for a name the rule refuses
    bool remembersName = false;         // the name chosen is offered the next time
};

struct SaveTarget {
    std::string name;         // with the extension the rule gave it
    std::size_t filter = 0;   // the file type chosen in the dialog
    int known = -1;           // the rule's extension the name ends with; -1 for another
};

using FileBytes = std::function<QByteArray(const SaveTarget&)>;

// True when the file was written; false when the dialog was cancelled, the
// name refused or writing over the file declined. Write errors throw.
bool SaveThroughDialog(Dialogs& dialogs, SaveRequest& request, const FileBytes& bytes);

}  // namespace quilvex
