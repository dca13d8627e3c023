#include "sources/UserAssistSources.h"

#include <algorithm>
#include <new>

#include "history/StartMenuHistory.h"
#include "registry/Registry.h"
#include "sources/SourceReaders.h"

void SourceReading::Fail(ExitCode code, const std::string& message)
{
    Messages.push_back(message);
    Code = std::max(Code, code);
}

std::string SourceName(const SourceSpec& source)
{
    return source.Kind == SourceKind::LiveRegistry ? "current user's registry" : source.File;
}

void ReadUserAssistArea(RegistrySource& source, SourceReading& reading)
{
    const ScopedRegistrySource use(source);
    TStartHistory history;
    try {
        history.ReadHistory();
    } catch (const ERegistryException& error) {
        reading.Fail(ExitCode::ValueRefused, error.Message());
    }
    // The entries read before a refused value stay in the history.
    reading.Items.resize(static_cast<std::size_t>(history.Count()));
    for (int i = 0; i < history.Count(); ++i)
        history.GetItem(i, reading.Items[static_cast<std::size_t>(i)]);
}

SourceReading ReadSource(const SourceSpec& source, bool replayLogs, bool keepRecoveredHive)
{
    SourceReading reading;
    try {
        // The command line lets through only the kinds this build can read.
        switch (source.Kind) {
        case SourceKind::Hive:
            ReadHiveFile(source.File, reading, replayLogs, keepRecoveredHive);
            break;
        case SourceKind::RegExport:
            ReadRegExport(source.File, reading);
            break;
        case SourceKind::LiveRegistry:
#ifdef _WIN32
            ReadLiveRegistry(reading);
#endif
            break;
        case SourceKind::Tree:  // walked into hive files before reading
            break;
        }
    } catch (const EFileUnreadable& error) {
        reading.Fail(ExitCode::FileUnreadable, error.Message());
    } catch (const std::bad_alloc&) {
        reading.Fail(ExitCode::FileUnreadable, "too large to read into memory");
    } catch (const std::exception& error) {
        reading.Fail(ExitCode::FileUnreadable, std::string("cannot be read: ") + error.what());
    }
    return reading;
}
