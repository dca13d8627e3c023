#include "base/TextEncoding.h"
#include "registry/RegistrySource.h"
#include "sources/SourceReaders.h"

void ReadLiveRegistry(SourceReading& reading)
{
    ReadUserAssistArea(CurrentRegistrySource(), reading);
    // The 8-bit registry calls give the ANSI code page.
    for (TStartItem& item : reading.Items) {
        item.SubKey = AnsiToUtf8(item.SubKey);
        item.StoredName = AnsiToUtf8(item.StoredName);
        item.FileName = AnsiToUtf8(item.FileName);
    }
}
