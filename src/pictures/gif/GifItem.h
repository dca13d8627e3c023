#pragma once
// The pieces a GIF picture is made of: items read from the stream, the owning
// lists that hold them, and the warning path back to the picture.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pictures/Stream.h"

class TGifPicture;

// Anything of a picture that can send a warning (items, lists, colour maps).
class GifPersistent {
public:
    GifPersistent() = default;
    GifPersistent(const GifPersistent&) = delete;
    GifPersistent& operator=(const GifPersistent&) = delete;
    virtual ~GifPersistent() = default;
};

// Every warning the reader sends has this severity.
inline constexpr int GifWarningSeverity = 1;

using TGIFWarning =
    std::function<void(const GifPersistent& sender, int severity, const std::string& message)>;

// Hands a warning to the picture's handler; dropped without a picture or handler.
void SendGifWarning(const TGifPicture* image, const GifPersistent& sender, int severity,
                    const std::string& message);

// Anything stored in a GIF stream; knows the picture it belongs to.
class TGIFItem : public GifPersistent {
public:
    explicit TGIFItem(TGifPicture* image) : image_(image) {}

    TGifPicture* Image() const { return image_; }
    virtual void Warning(int severity, const std::string& message) const
    {
        SendGifWarning(image_, *this, severity, message);
    }
    virtual void LoadFromStream(Stream& stream) = 0;

private:
    TGifPicture* image_;
};

// An owning list of items, in stream order.
template <class Item>
class TGIFList : public GifPersistent {
public:
    explicit TGIFList(TGifPicture* image) : image_(image) {}

    TGifPicture* Image() const { return image_; }
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    Item& operator[](std::size_t index) { return *items_.at(index); }
    const Item& operator[](std::size_t index) const { return *items_.at(index); }

    Item& Add(std::unique_ptr<Item> item)
    {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    void Clear() { items_.clear(); }

    void Warning(int severity, const std::string& message) const
    {
        SendGifWarning(image_, *this, severity, message);
    }

private:
    TGifPicture* image_;
    std::vector<std::unique_ptr<Item>> items_;
};
