#include "ScratchRegistry.h"

#include <atomic>
#include <stdexcept>

namespace {

constexpr const char* ScratchParent = "Software\\TallyglassTests";

struct PredefinedRoot {
    ScratchRegistry::Roots Root;
    HKEY Key;
    const char* StandInName;
};

const PredefinedRoot PredefinedRoots[] = {
    {ScratchRegistry::CurrentUser, HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {ScratchRegistry::LocalMachine, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {ScratchRegistry::ClassesRoot, HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
};

void Check(LONG status, const std::string& what)
{
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(what + " failed with error " + std::to_string(status));
}

HKEY CreateKeyBelow(HKEY parent, const std::string& path)
{
    HKEY key = nullptr;
    Check(RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
          "creating " + path);
    return key;
}

std::string UniqueName()
{
    static std::atomic<unsigned> counter{0};
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(counter++);
}

}  // namespace

ScratchRegistry::ScratchRegistry(unsigned roots) : path_(std::string(ScratchParent) + "\\" + UniqueName())
{
    scratch_ = CreateKeyBelow(HKEY_CURRENT_USER, path_);
    try {
        for (std::size_t i = 0; i < std::size(PredefinedRoots); ++i) {
            if (!(roots & PredefinedRoots[i].Root))
                continue;
            standIns_[i] = CreateKeyBelow(scratch_, PredefinedRoots[i].StandInName);
        }
        // Map only after every stand-in exists: once HKEY_CURRENT_USER is
        // mapped, the scratch key itself is no longer reachable through it.
        for (std::size_t i = 0; i < std::size(PredefinedRoots); ++i)
            if (standIns_[i])
                Check(RegOverridePredefKey(PredefinedRoots[i].Key, standIns_[i]), "RegOverridePredefKey");
    } catch (...) {
        Release();
        throw;
    }
}

ScratchRegistry::~ScratchRegistry()
{
    Release();
}

void ScratchRegistry::Release()
{
    for (std::size_t i = 0; i < std::size(PredefinedRoots); ++i) {
        if (!standIns_[i])
            continue;
        RegOverridePredefKey(PredefinedRoots[i].Key, nullptr);
        RegCloseKey(standIns_[i]);
        standIns_[i] = nullptr;
    }
    if (scratch_) {
        RegCloseKey(scratch_);
        scratch_ = nullptr;
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, ScratchParent);  // only succeeds once no test uses it
    }
}

HKEY ScratchRegistry::RootStandIn(Roots root) const
{
    for (std::size_t i = 0; i < std::size(PredefinedRoots); ++i)
        if (PredefinedRoots[i].Root == root && standIns_[i])
            return standIns_[i];
    throw std::logic_error("this root is not mapped by the scratch registry");
}

void ScratchRegistry::CreateKey(Roots root, const std::string& keyPath)
{
    RegCloseKey(CreateKeyBelow(RootStandIn(root), keyPath));
}

void ScratchRegistry::SetValue(Roots root, const std::string& keyPath, const std::string& name, DWORD type,
                               const std::vector<std::uint8_t>& data) {
    const HKEY key = CreateKeyBelow(RootStandIn(root), keyPath);
    const LONG status =
        RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    Check(status, "writing the value " + name + " of " + keyPath);
}

void ScratchRegistry::SetString(Roots root, const std::string& keyPath, const std::string& name,
                                const std::string& text, DWORD type) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    SetValue(root, keyPath, name, type, data);
}
