#include "data/filename.h"

#include <algorithm>

namespace quilvex {

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string FileExtension(const std::string& name)
{
    const std::size_t at = name.find_last_of(".:\\/");
    if (at == std::string::npos || name[at] != '.')
        return {};
    return name.substr(at);
}

NamedFile ApplyExtensionRule(std::string& name, const ExtensionRule& rule)
{
    const std::string extension = Lower(FileExtension(name));
    if (!extension.empty()) {
        const auto found = std::find(rule.known.begin(), rule.known.end(), extension);
        if (found != rule.known.end())
            return NamedFile{false, static_cast<int>(found - rule.known.begin())};
        if (rule.other == OtherExtension::Refuse)
            return NamedFile{true, -1};
        if (rule.other == OtherExtension::Keep)
            return NamedFile{false, -1};
    }
    name += rule.known[rule.fallback];
    return NamedFile{false, static_cast<int>(rule.fallback)};
}

}  // namespace quilvex
