#include "registry/RegistrySource.h"

#ifdef _WIN32
#include "registry/Win32RegistrySource.h"
using DefaultRegistrySource = Win32RegistrySource;
#else
#include "registry/MemoryRegistrySource.h"
using DefaultRegistrySource = MemoryRegistrySource;
#endif

namespace {

// Each thread has its own: the report tool reads several hives at once, each
// through a source of its own.
RegistrySource*& CurrentSourcePointer()
{
    static DefaultRegistrySource defaultSource;
    thread_local RegistrySource* current = &defaultSource;
    return current;
}

}  // namespace

RegistrySource& CurrentRegistrySource()
{
    return *CurrentSourcePointer();
}

ScopedRegistrySource::ScopedRegistrySource(RegistrySource& source) : ScopedOverride(CurrentSourcePointer(), source) {}
