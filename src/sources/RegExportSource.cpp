#include "base/AsciiCase.h"
#include "history/StartMenuHistory.h"
#include "registry/RegFileLoader.h"
#include "sources/SourceReaders.h"

namespace {

// Places the keys of an export in the current user's tree: the first key
// whose path ends in \Software\...\UserAssist (or lies below it, in an export
// of one of its subkeys) shows where the user's root is (HKEY_CURRENT_USER,
// HKEY_USERS\<SID>, or a bare "\" as some tools write), and every key below
// that root goes to the current user. The rest of the file is passed over.
class UserRootPlacer {
public:
    RegFileKeyPlace operator()(const std::string& exportedPath)
    {
        const std::string path = "\\" + exportedPath;
        static const std::string userAssist = std::string("\\") + UserAssistKeyPath;
        if (!root_)
            root_ = RootBefore(path, userAssist);
        if (root_ && path.size() > root_->size() && path[root_->size()] == '\\' &&
            StartsWithIgnoringAsciiCase(path, *root_))
            return std::make_pair(RegistryRoot::CurrentUser, path.substr(root_->size() + 1));
        return std::nullopt;
    }

    // The user's root as the export names it; nothing before the UserAssist key was met.
    std::optional<std::string> Root() const
    {
        if (!root_)
            return std::nullopt;
        return root_->empty() ? std::string("\\") : root_->substr(1);
    }

private:
    // What comes before the UserAssist key's path in a key's path.
    static std::optional<std::string> RootBefore(const std::string& path, const std::string& userAssist)
    {
        const std::string upper = UpperAsciiLetters(path);
        const std::string upperUserAssist = UpperAsciiLetters(userAssist);
        if (upper.ends_with(upperUserAssist))
            return path.substr(0, path.size() - userAssist.size());
        if (const std::size_t at = upper.find(upperUserAssist + "\\"); at != std::string::npos)
            return path.substr(0, at);
        return std::nullopt;
    }

    std::optional<std::string> root_;  // with a leading backslash, or "" for none
};

bool IsCurrentUserRoot(const std::string& root)
{
    return SameTextIgnoringAsciiCase(root, "HKEY_CURRENT_USER") || SameTextIgnoringAsciiCase(root, "HKCU");
}

}  // namespace

void ReadRegExport(const std::string& file, SourceReading& reading)
{
    MemoryRegistrySource registry;
    UserRootPlacer placer;
    std::optional<std::string> malformed;
    try {
        LoadRegFile(ReadWholeFile(file), registry, std::ref(placer));
    } catch (const ERegFileFormat& error) {
        reading.Fail(ExitCode::NotASource, error.Message());
        return;
    } catch (const ERegFileSyntax& error) {
        malformed = "malformed " + error.Message();  // what was read before the line is reported all the same
    }
    if (const std::optional<std::string> root = placer.Root(); root && !IsCurrentUserRoot(*root))
        reading.Note("note: the UserAssist key under " + *root + " is read as the current user's");
    ReadUserAssistArea(registry, reading);
    if (malformed)
        reading.Fail(ExitCode::MalformedExport, *malformed);
}
