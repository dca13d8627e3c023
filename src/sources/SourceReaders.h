#pragma once
// The readers of each kind of source, which ReadSource picks from; each lives
// in a file of its own, and the live-registry one only in the Windows build.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "sources/UserAssistSources.h"

class RegistrySource;

// A file that cannot be opened or read; the message says why.
class EFileUnreadable : public Exception {
public:
    using Exception::Exception;
};

// The whole file; EFileUnreadable when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& utf8Path);
// The first count bytes of the file, fewer when it is shorter; EFileUnreadable
// when it cannot be read.
std::vector<std::uint8_t> ReadFileStart(const std::string& utf8Path, std::size_t count);

// The viewer's reader over a source, into the reading; a value the reader
// refuses ends the walk with its message and ExitCode::ValueRefused.
void ReadUserAssistArea(RegistrySource& source, SourceReading& reading);

void ReadHiveFile(const std::string& file, SourceReading& reading, bool replayLogs, bool keepRecoveredHive);
// The UserAssist area of a hive file's bytes, as read or as recovered from its logs.
void ReadHiveBytes(std::vector<std::uint8_t> bytes, SourceReading& reading);
void ReadRegExport(const std::string& file, SourceReading& reading);
void ReadLiveRegistry(SourceReading& reading);
