#include "sources/SourceOfFile.h"

#include "registry/hive/BaseBlock.h"
#include "sources/SourceReaders.h"

namespace {

constexpr std::size_t SignatureSize = 4;

}  // namespace

SourceSpec SourceOfFile(const std::string& utf8Path)
{
    try {
        if (!HasHiveSignature(ReadFileStart(utf8Path, SignatureSize)))
            return {SourceKind::RegExport, utf8Path};
    } catch (const EFileUnreadable&) {
    }
    return {SourceKind::Hive, utf8Path};
}
