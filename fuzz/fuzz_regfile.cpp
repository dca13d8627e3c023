// Any input ends in a loaded registry or in one of the export reader's two
// documented exceptions; the viewer's reader then walks whatever was loaded
// and may only refuse a value with its registry error. Anything else escapes
// and is reported as a crash.
#include <cstddef>
#include <cstdint>

#include "history/StartMenuHistory.h"
#include "registry/RegFileLoader.h"
#include "registry/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MemoryRegistrySource registry;
    try {
        LoadRegFile({data, size}, registry);
    } catch (const ERegFileFormat&) {
        return 0;
    } catch (const ERegFileSyntax& error) {
        if (error.Line() < 1)
            __builtin_trap();  // a malformed line always has a number
    }
    const ScopedRegistrySource use(registry);
    TStartHistory history;
    try {
        history.ReadHistory();
    } catch (const ERegistryException&) {
    }
    if (registry.OpenHandleCount() != 0)
        __builtin_trap();  // every key the walk opened is closed on every path
    return 0;
}
