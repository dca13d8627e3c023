#pragma once
// Windows tests only. A scratch registry for one test: creates
// HKEY_CURRENT_USER\Software\TallyglassTests\<unique> and maps the predefined
// keys onto subkeys of it with RegOverridePredefKey, so that everything in the
// process (our code, Wine's own advapi32 callers) that opens
// HKEY_CURRENT_USER, and on request HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT,
// sees an empty key instead of the real one. The destructor restores the
// predefined keys and deletes the scratch key with everything in it.
//
//   TEST(Something, ReadsHistory) {
//       ScratchRegistry scratch;              // HKEY_CURRENT_USER only
//       WriteUserAssistValue(StartMenuSubKey, MakeUserAssistValue("UEME_RUNPATH:C:\\a.exe", 7, {}));
//       TStartHistory history;                // reads the scratch key
//       history.ReadHistory();
//   }
//
//   ScratchRegistry scratch(ScratchRegistry::CurrentUser | ScratchRegistry::ClassesRoot);
//   scratch.SetString(ScratchRegistry::ClassesRoot, "http\\shell\\open\\command", "", "\"C:\\b.exe\" \"%1\"");
//
// The mapping is process-wide: keep one fixture alive at a time. Writes after
// construction may go through the mapped predefined keys (RegCreateKeyExA on
// HKEY_CURRENT_USER and so on) or through the helpers below. The UserAssist
// writers of tools/demo-data (WriteUserAssistValue, ReplaceUserAssistArea)
// write through HKEY_CURRENT_USER and so land in the scratch key.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class ScratchRegistry {
public:
    enum Roots : unsigned {
        CurrentUser = 1,
        LocalMachine = 2,
        ClassesRoot = 4,
    };

    explicit ScratchRegistry(unsigned roots = CurrentUser);
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Path of the scratch key below the real HKEY_CURRENT_USER.
    const std::string& Path() const { return path_; }

    // Creates a key below a mapped root (one of Roots) and writes a value.
    void SetValue(Roots root, const std::string& keyPath, const std::string& name, DWORD type,
                  const std::vector<std::uint8_t>& data);
    void SetString(Roots root, const std::string& keyPath, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ);
    void CreateKey(Roots root, const std::string& keyPath);

private:
    void Release();
    HKEY RootStandIn(Roots root) const;

    std::string path_;
    HKEY scratch_ = nullptr;
    HKEY standIns_[3] = {};  // current user, local machine, classes root
};
