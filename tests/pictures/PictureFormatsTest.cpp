// Picture data as a window's design stores it, read through the format list.
#include "pictures/Picture.h"
#include "pictures/PictureFormats.h"

#include <gtest/gtest.h>

#include <string>

#include "PngBuilder.h"
#include "gif/GifWriter.h"
#include "pictures/gifpicture.h"
#include "pictures/pngpicture.h"

namespace {

Bytes PictureData(const std::string& className, const Bytes& file)
{
    Bytes data;
    data.reserve(1 + className.size() + file.size());
    data.push_back(static_cast<std::uint8_t>(className.size()));
    data.insert(data.end(), className.begin(), className.end());
    data.insert(data.end(), file.begin(), file.end());
    return data;
}

Bytes SmallPng()
{
    return PngBuilder().Ihdr(3, 2, 8, 6).ImageData(WithFilterByte({Bytes(12, 0x80), Bytes(12, 0x40)}, 0)).Iend();
}

Bytes SmallGif()
{
    ImageSpec image;
    image.width = 5;
    image.height = 4;
    image.indices = Bytes(20, 1);
    image.lzw.codeSize = 2;
    return GifWriter().Header(5, 4, {{0, 0, 0}, {255, 255, 255}}).Image(image).Trailer().Data();
}

void Load(TPicture& picture, const Bytes& data)
{
    MemoryStream stream(data);
    picture.LoadFromPictureData(stream);
}

class PictureFormatsTest : public testing::Test {
protected:
    void SetUp() override { RegisterPictureFormats(); }
    void TearDown() override { UnregisterPictureFormats(); }
};

TEST_F(PictureFormatsTest, OfferPngAndGifUnderTheirDescriptions)
{
    ASSERT_EQ(PictureFormats().Formats().size(), 2u);
    const TPictureFormat* png = PictureFormats().FindClassName("TPngPicture");
    const TPictureFormat* gif = PictureFormats().FindClassName("TGifPicture");
    ASSERT_TRUE(png && gif);
    EXPECT_EQ(png->Extension, "PNG");
    EXPECT_EQ(png->Description, "Portable Network Graphics");
    EXPECT_EQ(gif->Extension, "GIF");
    EXPECT_EQ(gif->Description, "GIF Image");
    EXPECT_EQ(png->ClipboardFormat, 0u) << "PNG registers no clipboard format";

    UnregisterPictureFormats();
    EXPECT_TRUE(PictureFormats().Formats().empty());
}

TEST_F(PictureFormatsTest, DataNamingAClassLoadsItsReader)
{
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TPicture&) { ++changes; };

    Load(picture, PictureData("TPngPicture", SmallPng()));
    EXPECT_NE(dynamic_cast<TPngPicture*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);

    Load(picture, PictureData("TGifPicture", SmallGif()));
    EXPECT_NE(dynamic_cast<TGifPicture*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(changes, 2);
}

TEST_F(PictureFormatsTest, UnknownOrMisspelledClassGivesAnEmptyPictureWithoutAnError)
{
    for (const std::string name : {"tpngpicture", "TBitmap", ""}) {
        TPicture picture;
        Load(picture, PictureData("TPngPicture", SmallPng()));
        EXPECT_NO_THROW(Load(picture, PictureData(name, SmallPng()))) << name;
        EXPECT_EQ(picture.Graphic(), nullptr) << name;
    }
    TPicture truncated;
    EXPECT_NO_THROW(Load(truncated, {}));
    EXPECT_NO_THROW(Load(truncated, {11, 'T', 'P', 'n'}));
    EXPECT_EQ(truncated.Graphic(), nullptr);
}

TEST_F(PictureFormatsTest, ReadersErrorFailsTheLoadAndKeepsThePreviousPicture)
{
    TPicture picture;
    Load(picture, PictureData("TGifPicture", SmallGif()));
    TGraphic* before = picture.Graphic();
    Bytes damaged = SmallPng();
    damaged[1] = 'Q';
    EXPECT_THROW(Load(picture, PictureData("TPngPicture", damaged)), EPNGInvalidFileHeader);
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_THROW(Load(picture, PictureData("TGifPicture", {'G', 'I', 'F', '8'})), GIFException);
    EXPECT_EQ(picture.Graphic(), before);
}

TEST_F(PictureFormatsTest, MostRecentRegistrationOfAClassWins)
{
    int made = 0;
    PictureFormats().Add({"PNG", "Another PNG reader", "TPngPicture", [&] {
                              ++made;
                              return std::make_unique<TPngPicture>();
                          }});
    TPicture picture;
    Load(picture, PictureData("TPngPicture", SmallPng()));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(PictureFormats().FindClassName("TPngPicture")->Description, "Another PNG reader");
    PictureFormats().Remove("TPngPicture");
    EXPECT_EQ(PictureFormats().FindClassName("TPngPicture"), nullptr) << "every entry of the class goes";
}

}  // namespace
