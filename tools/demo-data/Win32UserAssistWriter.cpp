#include "Win32UserAssistWriter.h"

#include <windows.h>

#include <stdexcept>

#include "history/StartMenuHistory.h"

namespace {

class CreatedKey {
public:
    explicit CreatedKey(const std::string& path)
    {
        const LONG status =
            RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        if (status != ERROR_SUCCESS)
            throw std::runtime_error("cannot create the key " + path + " (error " + std::to_string(status) + ")");
    }
    ~CreatedKey() { RegCloseKey(key_); }
    CreatedKey(const CreatedKey&) = delete;
    CreatedKey& operator=(const CreatedKey&) = delete;

    void SetValue(const UserAssistFixtureValue& value)
    {
        SetStoredValue(Rot13(value.DecodedName), value.Type, value.Data);
    }
    void SetStoredValue(const std::string& storedName, DWORD type, const std::vector<std::uint8_t>& data)
    {
        const LONG status =
            RegSetValueExA(key_, storedName.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        if (status != ERROR_SUCCESS)
            throw std::runtime_error("cannot write the value " + storedName + " (error " + std::to_string(status) +
                                     ")");
    }

private:
    HKEY key_ = nullptr;
};

std::string SubKeyPath(const std::string& subKey)
{
    return std::string(UserAssistKeyPath) + "\\" + subKey;
}

}  // namespace

void DeleteUserAssistArea()
{
    const LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, UserAssistKeyPath);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw std::runtime_error("cannot delete the UserAssist key (error " + std::to_string(status) + ")");
}

void ReplaceUserAssistArea(const UserAssistArea& area)
{
    DeleteUserAssistArea();
    CreatedKey userAssist(UserAssistKeyPath);
    for (const UserAssistSubKey& subKey : area) {
        {
            CreatedKey key(SubKeyPath(subKey.Name));
            if (subKey.Version)
                key.SetStoredValue("Version", REG_DWORD, VersionData(*subKey.Version));
        }
        if (!subKey.HasCountKey)
            continue;
        CreatedKey count(SubKeyPath(subKey.Name) + "\\Count");
        for (const UserAssistFixtureValue& value : subKey.Values)
            count.SetValue(value);
    }
}

void WriteUserAssistValue(const std::string& subKey, const UserAssistFixtureValue& value)
{
    CreatedKey(SubKeyPath(subKey) + "\\Count").SetValue(value);
}
