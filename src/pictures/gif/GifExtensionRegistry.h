#pragma once
// The two registries that choose which class reads an extension block:
// by label byte, and for application extensions by their 11-byte identifier.
// Both are searched from the most recently added entry backwards, so a later
// registration overrides an earlier one.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "pictures/gif/GifAppExtensions.h"

class TExtensionList {
public:
    void Add(std::uint8_t label, const TGIFExtensionClass& extensionClass);
    void Remove(const TGIFExtensionClass& extensionClass);
    const TGIFExtensionClass* Find(std::uint8_t label) const;

private:
    std::vector<std::pair<std::uint8_t, const TGIFExtensionClass*>> entries_;
};

class TAppExtensionList {
public:
    void Add(const TGIFApplicationExtension::Identifier& identifier, const TGIFExtensionClass& extensionClass);
    void Remove(const TGIFExtensionClass& extensionClass);
    const TGIFExtensionClass* Find(const TGIFApplicationExtension::Identifier& identifier) const;

private:
    std::vector<std::pair<TGIFApplicationExtension::Identifier, const TGIFExtensionClass*>> entries_;
};

// An identifier from its text ("NETSCAPE2.0"), zero-padded to 11 bytes.
TGIFApplicationExtension::Identifier MakeAppIdentifier(std::string_view text);

// Built on first use with the reader's own classes.
TExtensionList& ExtensionRegistry();
TAppExtensionList& AppExtensionRegistry();

// The class that should read the extension whose label follows at the
// stream's position: the registry's class for the label, refined from the
// stream until a class names itself. The position is unchanged afterwards.
// Returns nullptr when no class is registered for the label.
const TGIFExtensionClass* ResolveExtensionClass(Stream& stream);
