#include "registry/RegistrySource.h"

#ifdef _WIN32
#include "registry/Win32RegistrySource.h"
using DefaultRegistrySource = Win32RegistrySource;
#else
#include "registry/MemoryRegistrySource.h"
using DefaultRegistrySource = MemoryRegistrySource;
#endif

namespace {

RegistrySource*& CurrentSourcePointer()
{
    static DefaultRegistrySource defaultSource;
    static RegistrySource* current = &defaultSource;
    return current;
}

}  // namespace

RegistrySource& CurrentRegistrySource()
{
    return *CurrentSourcePointer();
}

ScopedRegistrySource::ScopedRegistrySource(RegistrySource& source) : ScopedOverride(CurrentSourcePointer(), source) {}
