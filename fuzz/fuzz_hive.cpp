// A hive's bytes go the report's way: the hive reader, then the viewer's
// UserAssist reader over it. Any input ends in rows and messages; anything
// that escapes, reads outside the input or does not end is reported.
#include <cstddef>
#include <cstdint>

#include "sources/SourceReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SourceReading reading;
    ReadHiveBytes({data, data + size}, reading);
    if (reading.Code != ExitCode::Success && reading.Messages.empty())
        __builtin_trap();  // every failure is told
    return 0;
}
