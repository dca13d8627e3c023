#include "history/StartMenuHistory.h"
#include "registry/HiveRegistrySource.h"
#include "sources/SourceReaders.h"

namespace {

bool HasKey(RegistrySource& source, const std::string& path)
{
    const std::optional<RegistryKey> key = source.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read);
    if (key)
        source.CloseKey(*key);
    return key.has_value();
}

// A hive of the user's Software subtree alone (as some tools save one) has
// Microsoft\...\UserAssist right below its root, and no "Software" key.
void MountSoftwareSubtree(HiveRegistrySource& hive)
{
    const std::string userAssist = UserAssistKeyPath;
    const std::string software = "Software\\";
    if (!HasKey(hive, "Software") && HasKey(hive, userAssist.substr(software.size())))
        hive.MountAt("Software");
}

std::string DamageReport(const std::vector<std::string>& problems)
{
    std::string report = "hive is damaged (" + problems.front();
    if (problems.size() > 1)
        report += "; " + std::to_string(problems.size() - 1) + " more problem" + (problems.size() > 2 ? "s" : "");
    return report + ")";
}

}  // namespace

void ReadHiveFile(const std::string& file, SourceReading& reading)
{
    try {
        HiveRegistrySource hive(ReadWholeFile(file));
        if (!hive.ClosedCleanly())
            reading.Note("warning: the hive was not closed cleanly; changes Windows kept only in its transaction "
                         "logs may be missing");
        MountSoftwareSubtree(hive);
        ReadUserAssistArea(hive, reading);
        if (const std::vector<std::string> problems = hive.Problems(); !problems.empty())
            reading.Fail(ExitCode::DamagedHive, DamageReport(problems));
    } catch (const ENotAHive& error) {
        reading.Fail(ExitCode::NotASource, error.Message());
    } catch (const EHiveDamaged& error) {
        reading.Fail(ExitCode::DamagedHive, DamageReport({error.Message()}));
    }
}
