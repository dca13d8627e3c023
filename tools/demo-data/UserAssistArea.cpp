#include "UserAssistArea.h"

#include "history/StartMenuHistory.h"

UserAssistFixtureValue MakeUserAssistValue(const std::string& decodedName, std::int32_t execCount,
                                           TFileTime lastExecuted) {
    const UserAssistRecordBytes bytes = EncodeUserAssistRecord({execCount, lastExecuted});
    return {decodedName, RegistryType::Binary, {bytes.begin(), bytes.end()}};
}

void WriteUserAssistArea(MemoryRegistrySource& registry, const UserAssistArea& area)
{
    MemoryRegistrySource::Key& userAssist = registry.CreateKey(RegistryRoot::CurrentUser, UserAssistKeyPath);
    for (const UserAssistSubKey& subKey : area) {
        MemoryRegistrySource::Key& key = userAssist.SubKey(subKey.Name);
        if (!subKey.HasCountKey)
            continue;
        MemoryRegistrySource::Key& count = key.SubKey("Count");
        for (const UserAssistFixtureValue& value : subKey.Values)
            count.SetValue(Rot13(value.DecodedName), value.Type, value.Data);
    }
}
