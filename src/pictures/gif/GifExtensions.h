#pragma once
// Extension blocks ('!' label ...) and the class descriptors the extension
// registries hold in place of class references.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/gif/GifItem.h"

class TGIFSubImage;
class TGIFExtension;

// What a registry entry names: an extension class with its label, its
// class-level refinement from the stream and a way to construct it for a frame.
struct TGIFExtensionClass {
    std::string_view Name;
    std::uint8_t Label;
    // Looks at the block after its label (the stream stands right after the
    // label) and returns the class that should read it; nullptr when this
    // class reads it itself. The caller restores the stream position.
    const TGIFExtensionClass* (*Refine)(Stream& stream);
    std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage& frame);
};

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage& frame);

    TGIFSubImage& SubImage() const { return frame_; }
    virtual const TGIFExtensionClass& ExtensionClass() const = 0;
    std::uint8_t ExtensionType() const { return ExtensionClass().Label; }

    // Reads '!' and the label, then the class's own body.
    void LoadFromStream(Stream& stream) final;

protected:
    virtual void LoadBody(Stream& stream) = 0;

private:
    TGIFSubImage& frame_;
};

class TGIFGraphicControlExtension final : public TGIFExtension {
public:
    static constexpr std::uint8_t Label = 0xF9;
    static const TGIFExtensionClass Class;
    // The frame's first Graphic Control Extension becomes its reference.
    explicit TGIFGraphicControlExtension(TGIFSubImage& frame);
    ~TGIFGraphicControlExtension() override;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    // The 6 bytes as read: block size, packed flags, delay, transparent index, terminator.
    const std::array<std::uint8_t, 6>& Data() const { return data_; }
    std::uint8_t PackedFields() const { return data_[1]; }
    bool Transparent() const { return (PackedFields() & 0x01) != 0; }
    bool UserInput() const { return (PackedFields() & 0x02) != 0; }
    int Disposal() const { return (PackedFields() >> 2) & 0x07; }
    // In hundredths of a second.
    std::uint16_t Delay() const { return static_cast<std::uint16_t>(data_[2] | data_[3] << 8); }
    std::uint8_t TransparentColorIndex() const { return data_[4]; }

protected:
    void LoadBody(Stream& stream) override;

private:
    std::array<std::uint8_t, 6> data_{};
};

// Sub-blocks of text, one line per non-empty sub-block, up to a zero size or
// the end of the stream.
std::vector<std::string> ReadTextSubBlocks(Stream& stream);

class TGIFTextExtension final : public TGIFExtension {
public:
    static constexpr std::uint8_t Label = 0x01;
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    // The 13-byte Plain Text header as read: block size, grid left, top,
    // width, height (16-bit each), cell width and height, foreground and
    // background colour index.
    const std::array<std::uint8_t, 13>& Header() const { return header_; }
    int Left() const { return Word(1); }
    int Top() const { return Word(3); }
    int GridWidth() const { return Word(5); }
    int GridHeight() const { return Word(7); }
    int CharWidth() const { return header_[9]; }
    int CharHeight() const { return header_[10]; }
    int ForegroundColorIndex() const { return header_[11]; }
    int BackgroundColorIndex() const { return header_[12]; }
    const std::vector<std::string>& Text() const { return text_; }

protected:
    void LoadBody(Stream& stream) override;

private:
    int Word(int at) const { return header_[at] | header_[at + 1] << 8; }
    std::array<std::uint8_t, 13> header_{};
    std::vector<std::string> text_;
};

class TGIFCommentExtension final : public TGIFExtension {
public:
    static constexpr std::uint8_t Label = 0xFE;
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    const TGIFExtensionClass& ExtensionClass() const override { return Class; }

    const std::vector<std::string>& Text() const { return text_; }

protected:
    void LoadBody(Stream& stream) override;

private:
    std::vector<std::string> text_;
};

// A registry class descriptor for Extension (Refine left to the caller).
template <class Extension>
std::unique_ptr<TGIFExtension> CreateGifExtension(TGIFSubImage& frame)
{
    return std::make_unique<Extension>(frame);
}
