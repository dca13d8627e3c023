#pragma once
// Application extensions (label 0xFF): the looping extension and any other
// application's data, kept as it was read.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/gif/GifExtensions.h"

// One raw data sub-block: its bytes (the size byte is their count).
class TGIFBlock {
public:
    explicit TGIFBlock(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
    int Size() const { return static_cast<int>(data_.size()); }
    const std::vector<std::uint8_t>& Data() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    static constexpr std::uint8_t Label = 0xFF;
    static constexpr std::size_t IdentifierSize = 11;
    using Identifier = std::array<std::uint8_t, IdentifierSize>;
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    // 8-byte application identifier followed by the 3-byte authentication code.
    const Identifier& ApplicationIdentifier() const { return identifier_; }
    std::string ApplicationId() const { return {identifier_.begin(), identifier_.begin() + 8}; }
    std::string AuthenticationCode() const { return {identifier_.begin() + 8, identifier_.end()}; }

protected:
    void LoadBody(Stream& stream) final;
    // The sub-blocks after the identifier. This class has no use for them and
    // skips them up to the zero size (or the end of the stream).
    virtual void ReadApplicationData(Stream& stream);

private:
    Identifier identifier_{};
};

// "NETSCAPE2.0" and "ANIMEXTS1.0": loop count and buffer size.
class TGIFAppExtNSLoop final : public TGIFApplicationExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFApplicationExtension::TGIFApplicationExtension;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    std::uint16_t Loops() const { return loops_; }
    std::uint32_t BufferSize() const { return bufferSize_; }

protected:
    void ReadApplicationData(Stream& stream) override;

private:
    std::uint16_t loops_ = 0;
    std::uint32_t bufferSize_ = 0;
};

class TGIFUnknownAppExtension final : public TGIFApplicationExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFApplicationExtension::TGIFApplicationExtension;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    const std::vector<TGIFBlock>& Blocks() const { return blocks_; }

protected:
    void ReadApplicationData(Stream& stream) override;

private:
    std::vector<TGIFBlock> blocks_;
};
