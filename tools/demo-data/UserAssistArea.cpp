#include "UserAssistArea.h"

#include <algorithm>

#include "base/LittleEndian.h"
#include "history/StartMenuHistory.h"

namespace {

constexpr std::size_t SessionValueSize = 1612;
constexpr std::size_t SessionRecordSize = 532;  // three counts, then a name of 260 UTF-16 units

}  // namespace

UserAssistFixtureValue MakeUserAssistValue(const std::string& decodedName, std::int32_t execCount,
                                           TFileTime lastExecuted)
{
    const UserAssistRecordBytes bytes = EncodeUserAssistRecord({execCount, lastExecuted});
    return {decodedName, RegistryType::Binary, {bytes.begin(), bytes.end()}};
}

UserAssistFixtureValue MakeCurrentUserAssistValue(const std::string& decodedName, const UserAssistRecord& record)
{
    const auto bytes = EncodeCurrentUserAssistRecord(record);
    return {decodedName, RegistryType::Binary, {bytes.begin(), bytes.end()}};
}

UserAssistFixtureValue MakeCurrentLayoutMarker()
{
    UserAssistFixtureValue marker = MakeCurrentUserAssistValue("UEME_CTLCUACount:ctor", {});
    WriteLittleEndian32(marker.Data, 0, 0xFFFFFFFF);
    return marker;
}

UserAssistFixtureValue MakeCurrentSessionValue(const std::vector<UserAssistFixtureValue>& values)
{
    std::vector<std::uint8_t> data(SessionValueSize);
    std::vector<UserAssistRecord> records;
    for (const UserAssistFixtureValue& value : values)
        records.push_back(DecodeUserAssistRecord(value.Data, UserAssistLayout::Current));
    UserAssistRecord totals;
    for (const UserAssistRecord& record : records) {
        totals.ExecCount += std::max(record.ExecCount, 0);
        totals.FocusCount += record.FocusCount;
        totals.FocusTime += record.FocusTime;
    }
    WriteLittleEndian32(data, 4, static_cast<std::uint32_t>(totals.ExecCount));
    WriteLittleEndian32(data, 8, totals.FocusCount);
    WriteLittleEndian32(data, 12, totals.FocusTime);

    using Measure = std::uint32_t (*)(const UserAssistRecord&);
    const Measure measures[] = {
        [](const UserAssistRecord& r) { return static_cast<std::uint32_t>(std::max(r.ExecCount, 0)); },
        [](const UserAssistRecord& r) { return r.FocusCount; },
        [](const UserAssistRecord& r) { return r.FocusTime; },
    };
    for (std::size_t slot = 0; slot < std::size(measures) && !records.empty(); ++slot) {
        const auto top = std::max_element(records.begin(), records.end(), [&](const auto& a, const auto& b) {
            return measures[slot](a) < measures[slot](b);
        });
        const std::size_t at = 16 + slot * SessionRecordSize;
        WriteLittleEndian32(data, at, static_cast<std::uint32_t>(top->ExecCount));
        WriteLittleEndian32(data, at + 4, top->FocusCount);
        WriteLittleEndian32(data, at + 8, top->FocusTime);
        const std::string& name = values[static_cast<std::size_t>(top - records.begin())].DecodedName;
        for (std::size_t i = 0; i < name.size() && i < 259; ++i)
            data[at + 12 + 2 * i] = static_cast<std::uint8_t>(name[i]);
    }
    return {"UEME_CTLSESSION", RegistryType::Binary, std::move(data)};
}

std::vector<std::uint8_t> VersionData(std::uint32_t version)
{
    std::vector<std::uint8_t> data(4);
    WriteLittleEndian32(data, 0, version);
    return data;
}

void WriteUserAssistArea(MemoryRegistrySource& registry, const UserAssistArea& area)
{
    MemoryRegistrySource::Key& userAssist = registry.CreateKey(RegistryRoot::CurrentUser, UserAssistKeyPath);
    for (const UserAssistSubKey& subKey : area) {
        MemoryRegistrySource::Key& key = userAssist.SubKey(subKey.Name);
        if (subKey.Version)
            key.SetValue("Version", RegistryType::DWord, VersionData(*subKey.Version));
        if (!subKey.HasCountKey)
            continue;
        MemoryRegistrySource::Key& count = key.SubKey("Count");
        for (const UserAssistFixtureValue& value : subKey.Values)
            count.SetValue(Rot13(value.DecodedName), value.Type, value.Data);
    }
}
