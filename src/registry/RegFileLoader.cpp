#include "registry/RegFileLoader.h"

#include "base/AsciiCase.h"

namespace {

class MemoryLoader final : public RegFileSink {
public:
    MemoryLoader(MemoryRegistrySource& registry, const RegFileKeyPlacer& place) : registry_(registry), place_(place) {}

    void Key(const std::string& path) override
    {
        const RegFileKeyPlace place = place_(path);
        key_ = place ? &registry_.CreateKey(place->first, place->second) : nullptr;
    }
    void DeleteKey(const std::string& path) override
    {
        key_ = nullptr;
        if (const RegFileKeyPlace place = place_(path))
            registry_.DeleteKey(place->first, place->second);
    }
    void Value(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data) override
    {
        if (key_)
            key_->SetValue(name, type, std::move(data));
    }
    void DeleteValue(const std::string& name) override
    {
        if (key_)
            key_->DeleteValue(name);
    }

private:
    MemoryRegistrySource& registry_;
    const RegFileKeyPlacer& place_;
    MemoryRegistrySource::Key* key_ = nullptr;
};

}  // namespace

RegFileKeyPlace StandardKeyPlace(const std::string& exportedPath)
{
    static constexpr struct {
        const char* Name;
        const char* Abbreviation;
        RegistryRoot Root;
    } Roots[] = {
        {"HKEY_CURRENT_USER", "HKCU", RegistryRoot::CurrentUser},
        {"HKEY_LOCAL_MACHINE", "HKLM", RegistryRoot::LocalMachine},
        {"HKEY_CLASSES_ROOT", "HKCR", RegistryRoot::ClassesRoot},
    };
    const std::size_t slash = exportedPath.find('\\');
    const std::string_view rootName = std::string_view(exportedPath).substr(0, slash);
    const std::string below = slash == std::string::npos ? std::string() : exportedPath.substr(slash + 1);
    for (const auto& root : Roots)
        if (SameTextIgnoringAsciiCase(rootName, root.Name) || SameTextIgnoringAsciiCase(rootName, root.Abbreviation))
            return std::make_pair(root.Root, below);
    return std::nullopt;
}

void LoadRegFile(std::span<const std::uint8_t> file, MemoryRegistrySource& registry, const RegFileKeyPlacer& place)
{
    MemoryLoader loader(registry, place);
    ReadRegFile(file, loader);
}
