#include "pictures/gif/GifExtensionRegistry.h"

#include <algorithm>

#include "pictures/gif/GifException.h"

namespace {

template <class Entries, class Key>
const TGIFExtensionClass* FindNewestFirst(const Entries& entries, const Key& key)
{
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (entry->first == key)
            return entry->second;
    return nullptr;
}

template <class Entries>
void RemoveClass(Entries& entries, const TGIFExtensionClass& extensionClass)
{
    std::erase_if(entries, [&](const auto& entry) { return entry.second == &extensionClass; });
}

}  // namespace

TGIFApplicationExtension::Identifier MakeAppIdentifier(std::string_view text)
{
    TGIFApplicationExtension::Identifier identifier{};
    std::copy_n(text.begin(), std::min(text.size(), identifier.size()), identifier.begin());
    return identifier;
}

void TExtensionList::Add(std::uint8_t label, const TGIFExtensionClass& extensionClass)
{
    entries_.emplace_back(label, &extensionClass);
}

void TExtensionList::Remove(const TGIFExtensionClass& extensionClass) { RemoveClass(entries_, extensionClass); }

const TGIFExtensionClass* TExtensionList::Find(std::uint8_t label) const { return FindNewestFirst(entries_, label); }

void TAppExtensionList::Add(const TGIFApplicationExtension::Identifier& identifier,
                            const TGIFExtensionClass& extensionClass)
{
    entries_.emplace_back(identifier, &extensionClass);
}

void TAppExtensionList::Remove(const TGIFExtensionClass& extensionClass) { RemoveClass(entries_, extensionClass); }

const TGIFExtensionClass* TAppExtensionList::Find(const TGIFApplicationExtension::Identifier& identifier) const
{
    return FindNewestFirst(entries_, identifier);
}

TExtensionList& ExtensionRegistry()
{
    static TExtensionList registry = [] {
        TExtensionList list;
        list.Add(TGIFTextExtension::Label, TGIFTextExtension::Class);
        list.Add(TGIFGraphicControlExtension::Label, TGIFGraphicControlExtension::Class);
        list.Add(TGIFCommentExtension::Label, TGIFCommentExtension::Class);
        list.Add(TGIFApplicationExtension::Label, TGIFApplicationExtension::Class);
        return list;
    }();
    return registry;
}

TAppExtensionList& AppExtensionRegistry()
{
    static TAppExtensionList registry = [] {
        TAppExtensionList list;
        list.Add(MakeAppIdentifier("NETSCAPE2.0"), TGIFAppExtNSLoop::Class);
        list.Add(MakeAppIdentifier("ANIMEXTS1.0"), TGIFAppExtNSLoop::Class);
        return list;
    }();
    return registry;
}

const TGIFExtensionClass* ResolveExtensionClass(Stream& stream)
{
    const std::int64_t start = stream.Position();
    std::uint8_t label;
    ReadExact(stream, &label, 1);
    const TGIFExtensionClass* resolved = ExtensionRegistry().Find(label);
    // Each refinement looks at the block from just after the label.
    const std::int64_t body = stream.Position();
    while (resolved != nullptr && resolved->Refine != nullptr) {
        const TGIFExtensionClass* refined = resolved->Refine(stream);
        stream.SetPosition(body);
        if (refined == nullptr || refined == resolved)
            break;
        resolved = refined;
    }
    stream.SetPosition(start);
    return resolved;
}
