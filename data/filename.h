#pragma once
// The one extension rule of every file the program writes: a name's extension
// is what follows the last "." of its last part (after the last "/", "\" or
// ":"), compared in any letter case. A name without one gets the default
// extension of the file type chosen; a name with one of the type's extensions
// keeps it; any other extension is, as each file type says, refused, kept, or
// followed by the default extension.
#include <string>
#include <vector>

namespace quilvex {

enum class OtherExtension { Refuse, Keep, Append };

struct ExtensionRule {
    std::vector<std::string> known;  // lower case, with the dot: ".png"
    std::size_t fallback = 0;        // the one appended: known[fallback]
    OtherExtension other = OtherExtension::Refuse;
};

struct NamedFile {
    bool refused = false;  // the name is left as it was
    int known = -1;        // the index of the extension the name now ends with; -1 for another one
};

// The extension as written, with its dot; empty when the last part has none.
std::string FileExtension(const std::string& name);

NamedFile ApplyExtensionRule(std::string& name, const ExtensionRule& rule);

}  // namespace quilvex
