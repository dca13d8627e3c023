#include "sources/UserHives.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "sources/FolderListing.h"

namespace {

constexpr std::string_view UserHiveName = "NTUSER.DAT";

// Depth first, each folder's entries in byte order: the paths come out in the
// order of their components.
void Walk(const std::string& folder, std::vector<FolderEntry> entries, std::vector<TreeFinding>& findings)
{
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.Name < b.Name; });
    for (const FolderEntry& entry : entries) {
        const std::string path = PathIn(folder, entry.Name);
        if (entry.Type == FolderEntry::Kind::File && SameTextIgnoringAsciiCase(entry.Name, UserHiveName)) {
            findings.push_back({path, std::nullopt});
        } else if (entry.Type == FolderEntry::Kind::Folder) {
            std::string whyNot;
            if (std::optional<std::vector<FolderEntry>> inside = EntriesInFolder(path, whyNot))
                Walk(path, std::move(*inside), findings);
            else
                findings.push_back({path, whyNot});
        }
    }
}

}  // namespace

std::optional<std::vector<TreeFinding>> FindUserHives(const std::string& folder, std::string& whyNot)
{
    std::optional<std::vector<FolderEntry>> entries = EntriesInFolder(folder, whyNot);
    if (!entries)
        return std::nullopt;
    std::vector<TreeFinding> findings;
    Walk(folder, std::move(*entries), findings);
    return findings;
}

std::string UserOfHive(const std::string& baseBlockName, const std::string& path)
{
    // "\??\C:\Users\nfury\ntuser.dat", or only its end: "nts and Settings\joe\ntuser.dat".
    const std::size_t last = baseBlockName.rfind('\\');
    if (last != std::string::npos && last > 0 &&
        SameTextIgnoringAsciiCase(std::string_view(baseBlockName).substr(last + 1), UserHiveName)) {
        const std::size_t before = baseBlockName.rfind('\\', last - 1);
        if (before != std::string::npos && last - before > 1)
            return baseBlockName.substr(before + 1, last - before - 1);
    }
    return NameOf(FolderOf(AbsolutePath(path)));
}
