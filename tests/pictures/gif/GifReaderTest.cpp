// The reader's handling of a GIF stream's structure: header, frames,
// extensions, warnings, progress, failed loads and clearing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

ImageSpec Opaque(int width, int height, int colors, std::uint32_t seed, int codeSize)
{
    ImageSpec image;
    image.width = width;
    image.height = height;
    image.indices = RandomIndices(static_cast<std::size_t>(width * height), colors, seed);
    image.lzw.codeSize = codeSize;
    return image;
}

Bytes AsBytes(std::initializer_list<int> values)
{
    Bytes bytes;
    for (const int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

// The About dialog's logo in shape: 174x45 GIF89a, 64 colours, one Graphic
// Control Extension (transparent index 37, disposal 1, delay 20), code size 6.
Bytes LogoShapedGif(const Bytes& indices)
{
    ImageSpec image = Opaque(174, 45, 64, 0, 6);
    image.indices = indices;
    return GifWriter().Header(174, 45, GreyTable(6)).GraphicControl(1, true, 37, 20).Image(image).Trailer().Data();
}

Bytes TwoFrameGif()
{
    return GifWriter()
        .Header(8, 4, GreyTable(2))
        .Image(Opaque(8, 4, 4, 1, 2))
        .GraphicControl(0, false, 0, 5)
        .Image(Opaque(8, 4, 4, 2, 2))
        .Trailer()
        .Data();
}

std::vector<std::uint8_t> Pixels(const TGIFSubImage& frame)
{
    return {frame.PixelIndices().begin(), frame.PixelIndices().end()};
}

}  // namespace

TEST(GifReader, LoadsTheAboutLogoShapeWithItsProperties)
{
    Bytes indices = RandomIndices(174 * 45, 64, 7);
    for (std::size_t i = 0; i < indices.size(); i += 5)
        indices[i] = 37;
    const LoadResult result = LoadGif(LogoShapedGif(indices));

    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.warnings, IsEmpty());
    const TGifPicture& picture = *result.picture;
    EXPECT_EQ(picture.Header().Signature(), "GIF");
    EXPECT_EQ(picture.Header().Version(), "89a");
    EXPECT_EQ(picture.Width(), 174);
    EXPECT_EQ(picture.Height(), 45);
    EXPECT_EQ(picture.Header().ColorMap().Count(), 64);
    EXPECT_EQ(picture.Header().ColorMap()[63], (TGIFColor{255, 255, 255}));
    ASSERT_EQ(picture.Images().Count(), 1u);
    const TGIFSubImage& frame = picture.Images()[0];
    EXPECT_EQ(frame.Width(), 174);
    EXPECT_EQ(frame.Height(), 45);
    EXPECT_TRUE(frame.Transparent());
    EXPECT_FALSE(frame.Interlaced());
    EXPECT_EQ(frame.ColorMap().Count(), 0);
    EXPECT_EQ(&frame.ActiveColorMap(), &picture.Header().ColorMap());
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->TransparentColorIndex(), 37);
    EXPECT_EQ(control->Disposal(), 1);
    EXPECT_EQ(control->Delay(), 20);
    EXPECT_FALSE(control->UserInput());
    EXPECT_EQ(Pixels(frame), indices);
    EXPECT_EQ(picture.DrawFlags(), 0x060F);
    EXPECT_EQ(picture.SpeedPercent(), 100);
    EXPECT_EQ(picture.SelectedFrameIndex(), -1);
}

TEST(GifReader, SignatureVariantsAndFailures)
{
    const Bytes bare = TwoFrameGif();
    const LoadResult reference = LoadGif(bare);
    ASSERT_FALSE(reference.error);

    Bytes prefixed = AsBytes({'T', 'G', 'P', 0});
    prefixed.insert(prefixed.end(), bare.begin(), bare.end());
    Bytes lowerCase = bare;
    lowerCase[0] = 'g', lowerCase[1] = 'i', lowerCase[2] = 'f';
    Bytes otherVersion = bare;
    otherVersion[3] = '9', otherVersion[4] = '9', otherVersion[5] = 'z';

    for (const Bytes& variant : {prefixed, lowerCase, otherVersion}) {
        const LoadResult result = LoadGif(variant);
        ASSERT_FALSE(result.error) << *result.error;
        EXPECT_THAT(result.warnings, IsEmpty());
        ASSERT_EQ(result.picture->Images().Count(), 2u);
        for (std::size_t i = 0; i < 2; ++i)
            EXPECT_EQ(Pixels(result.picture->Images()[i]), Pixels(reference.picture->Images()[i]));
    }
    EXPECT_EQ(LoadGif(otherVersion).picture->Header().Version(), "99z");

    const struct {
        Bytes bytes;
        const char* error;
    } failures[] = {
        {AsBytes({'G', 'I', 'F', '8'}), "Premature end of data"},
        {AsBytes({'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}), "Invalid GIF signature"},
        {AsBytes({'X', 'X', 'X', 'X', 'X', 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}),
         "Invalid GIF signature"},
        {AsBytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80}), "Premature end of data"},
        {AsBytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x81, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         "Premature end of data"},
    };
    for (const auto& failure : failures) {
        const LoadResult result = LoadGif(failure.bytes);
        EXPECT_EQ(result.error, failure.error);
        EXPECT_EQ(result.positionAfter, 0);
    }
}

TEST(GifReader, BytesBetweenBlocks)
{
    const ImageSpec image = Opaque(4, 4, 4, 3, 2);
    const Bytes zeroBetween =
        GifWriter().Header(4, 4, GreyTable(2)).Image(image).Raw({0, 0}).Image(image).Raw({0}).Trailer().Data();
    const LoadResult skipped = LoadGif(zeroBetween);
    ASSERT_FALSE(skipped.error);
    EXPECT_THAT(skipped.warnings, IsEmpty());
    EXPECT_EQ(skipped.picture->Images().Count(), 2u);

    const Bytes strayByte =
        GifWriter().Header(4, 4, GreyTable(2)).Image(image).Raw({0x99}).Image(image).Trailer().Data();
    const LoadResult stopped = LoadGif(strayByte);
    ASSERT_FALSE(stopped.error);
    EXPECT_THAT(stopped.WarningTexts(), ElementsAre("Unknown GIF block type", "Invalid Image trailer"));
    for (const ReceivedWarning& warning : stopped.warnings)
        EXPECT_EQ(warning.severity, 1);
    EXPECT_EQ(stopped.picture->Images().Count(), 1u);

    const Bytes noTrailer = GifWriter().Header(4, 4, GreyTable(2)).Image(image).Data();
    const LoadResult unterminated = LoadGif(noTrailer);
    ASSERT_FALSE(unterminated.error);
    EXPECT_THAT(unterminated.warnings, IsEmpty());
    EXPECT_EQ(Pixels(unterminated.picture->Images()[0]), image.indices);
}

TEST(GifReader, WarningsNameTheirSenderAndAreDroppedWithoutHandler)
{
    const Bytes bytes = GifWriter().Header(2, 2, GreyTable(1)).Image(Opaque(2, 2, 2, 0, 2)).Raw({0x99}).Data();
    TGifPicture picture;
    std::vector<std::string> senders;
    picture.WarningHandler = [&](const GifPersistent& sender, int, const std::string&) {
        senders.push_back(dynamic_cast<const TGIFFrameList*>(&sender) != nullptr ? "frames"
                          : dynamic_cast<const TGIFTrailer*>(&sender) != nullptr ? "trailer"
                                                                                   : "other");
    };
    MemoryStream stream(bytes);
    picture.LoadFromStream(stream);
    EXPECT_THAT(senders, ElementsAre("frames", "trailer"));

    TGifPicture silent;
    MemoryStream again(bytes);
    silent.LoadFromStream(again);
    EXPECT_EQ(silent.Images().Count(), 1u);
}

TEST(GifReader, ApplicationExtensions)
{
    const auto frameWith = [](const std::function<void(GifWriter&)>& extension) {
        GifWriter writer;
        writer.Header(2, 2, GreyTable(1));
        extension(writer);
        writer.Image(Opaque(2, 2, 2, 0, 2)).Trailer();
        return LoadGif(writer.Data());
    };

    const LoadResult loop0 = frameWith([](GifWriter& w) { w.Application("NETSCAPE2.0", {AsBytes({1, 0, 0})}); });
    ASSERT_FALSE(loop0.error);
    const auto& loop = dynamic_cast<const TGIFAppExtNSLoop&>(loop0.picture->Images()[0].Extensions()[0]);
    EXPECT_EQ(loop.Loops(), 0);
    EXPECT_EQ(loop.ApplicationId(), "NETSCAPE");
    EXPECT_EQ(loop.AuthenticationCode(), "2.0");

    const LoadResult animexts = frameWith([](GifWriter& w) {
        w.Application("ANIMEXTS1.0", {AsBytes({1, 5, 1}), AsBytes({2, 0, 0x10, 0, 0}), AsBytes({4, 9})});
    });
    ASSERT_FALSE(animexts.error);
    const auto& both = dynamic_cast<const TGIFAppExtNSLoop&>(animexts.picture->Images()[0].Extensions()[0]);
    EXPECT_EQ(both.Loops(), 261);
    EXPECT_EQ(both.BufferSize(), 0x1000u);

    const std::vector<Bytes> blocks = {AsBytes({1, 2, 3}), Bytes(255, 0xAB), AsBytes({0x21, 0x3B})};
    const LoadResult unknown = frameWith([&](GifWriter& w) { w.Application("XMP DataXMP", blocks); });
    ASSERT_FALSE(unknown.error);
    const auto& kept = dynamic_cast<const TGIFUnknownAppExtension&>(unknown.picture->Images()[0].Extensions()[0]);
    EXPECT_EQ(kept.ApplicationId(), "XMP Data");
    ASSERT_EQ(kept.Blocks().size(), blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(kept.Blocks()[i].Data(), blocks[i]);

    // Block size 10: the identifier is padded and the class is the unknown one.
    const LoadResult ten = frameWith([](GifWriter& w) { w.Application("NETSCAPE2.", {AsBytes({1, 3, 0})}); });
    ASSERT_FALSE(ten.error);
    const auto& padded = dynamic_cast<const TGIFUnknownAppExtension&>(ten.picture->Images()[0].Extensions()[0]);
    EXPECT_EQ(padded.ApplicationIdentifier()[10], 0);
    EXPECT_EQ(padded.Blocks().size(), 1u);

    // Block size above 11: the base class reads the identifier and skips the rest.
    const LoadResult twelve = frameWith([](GifWriter& w) { w.Application("NETSCAPE2.0!", {AsBytes({1, 3, 0})}); });
    ASSERT_FALSE(twelve.error);
    const TGIFExtension& base = twelve.picture->Images()[0].Extensions()[0];
    EXPECT_EQ(&base.ExtensionClass(), &TGIFApplicationExtension::Class);
    EXPECT_EQ(twelve.picture->Images()[0].Width(), 2);

    const struct {
        std::function<void(GifWriter&)> extension;
        const char* error;
    } failures[] = {
        {[](GifWriter& w) { w.Application("NETSCAPE", {}); }, "Unsupported Application Extension block size"},
        {[](GifWriter& w) { w.Application("NETSCAPE2.0", {AsBytes({1, 3})}); }, "Invalid GIF data"},
        {[](GifWriter& w) { w.Application("NETSCAPE2.0", {AsBytes({2, 0, 0, 0})}); }, "Invalid GIF data"},
    };
    for (const auto& failure : failures)
        EXPECT_EQ(frameWith(failure.extension).error, failure.error);
}

TEST(GifReader, TextExtensions)
{
    Bytes plainText = AsBytes({0x21, 0x01, 12, 1, 0, 2, 0, 30, 0, 8, 0, 5, 8, 1, 0});
    const Bytes textBlocks = AsBytes({2, 'H', 'i', 0});
    plainText.insert(plainText.end(), textBlocks.begin(), textBlocks.end());
    const Bytes bytes = GifWriter()
                            .Header(2, 2, GreyTable(1))
                            .Comment({"abc", "defgh"})
                            .Raw(plainText)
                            .Image(Opaque(2, 2, 2, 0, 2))
                            .Trailer()
                            .Data();
    const LoadResult result = LoadGif(bytes);
    ASSERT_FALSE(result.error);
    const TGIFExtensionList& extensions = result.picture->Images()[0].Extensions();
    ASSERT_EQ(extensions.Count(), 2u);
    const auto& comment = dynamic_cast<const TGIFCommentExtension&>(extensions[0]);
    EXPECT_THAT(comment.Text(), ElementsAre("abc", "defgh"));
    const auto& text = dynamic_cast<const TGIFTextExtension&>(extensions[1]);
    EXPECT_EQ(text.Left(), 1);
    EXPECT_EQ(text.Top(), 2);
    EXPECT_EQ(text.GridWidth(), 30);
    EXPECT_EQ(text.GridHeight(), 8);
    EXPECT_EQ(text.CharWidth(), 5);
    EXPECT_EQ(text.CharHeight(), 8);
    EXPECT_EQ(text.ForegroundColorIndex(), 1);
    EXPECT_EQ(text.BackgroundColorIndex(), 0);
    EXPECT_THAT(text.Text(), ElementsAre("Hi"));
}

TEST(GifReader, GraphicControlExtensions)
{
    // The first one is the frame's reference; any with the transparency bit
    // marks the frame transparent.
    const Bytes bytes = GifWriter()
                            .Header(2, 2, GreyTable(2))
                            .GraphicControl(2, false, 3, 7)
                            .GraphicControl(3, true, 1, 9)
                            .Image(Opaque(2, 2, 4, 0, 2))
                            .Trailer()
                            .Data();
    const LoadResult result = LoadGif(bytes);
    ASSERT_FALSE(result.error);
    const TGIFSubImage& frame = result.picture->Images()[0];
    EXPECT_TRUE(frame.Transparent());
    ASSERT_EQ(frame.GraphicControlExtension(), &frame.Extensions()[0]);
    EXPECT_EQ(frame.GraphicControlExtension()->Disposal(), 2);
    EXPECT_EQ(frame.GraphicControlExtension()->Delay(), 7);

    // A body cut short keeps what it has, with a warning, and marks nothing.
    const Bytes cut = GifWriter().Header(2, 2, GreyTable(2)).Raw({0x21, 0xF9, 4, 1, 0}).Data();
    const LoadResult shortBody = LoadGif(cut);
    ASSERT_FALSE(shortBody.error);
    EXPECT_THAT(shortBody.WarningTexts(), ElementsAre("Premature end of data"));
    ASSERT_EQ(shortBody.picture->Images().Count(), 1u);
    const TGIFSubImage& extensionsOnly = shortBody.picture->Images()[0];
    EXPECT_TRUE(extensionsOnly.Empty());
    EXPECT_FALSE(extensionsOnly.Transparent());
    EXPECT_EQ(extensionsOnly.GraphicControlExtension()->Data()[1], 1);
}

TEST(GifReader, ExtensionRunFailures)
{
    const struct {
        Bytes extension;
        const char* error;
    } cases[] = {
        {AsBytes({0x21, 0x2A, 0}), "Unknown extension type"},
        {AsBytes({0x21}), "Premature end of data"},
        {AsBytes({0x21, 0xFE, 3, 'a'}), "Premature end of data"},
        {AsBytes({0x21, 0x01, 12, 0}), "Premature end of data"},
    };
    for (const auto& c : cases) {
        const LoadResult result = LoadGif(GifWriter().Header(2, 2, GreyTable(1)).Raw(c.extension).Data());
        EXPECT_EQ(result.error, c.error);
    }
}

TEST(GifReader, StrayByteInExtensionRunStartsTheImageDescriptor)
{
    const ImageSpec image = Opaque(2, 2, 2, 0, 2);
    const Bytes bytes = GifWriter()
                            .Header(2, 2, GreyTable(1))
                            .Comment({"x"})
                            .Raw(AsBytes({0x20, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2}))
                            .Raw(SubBlocks(LzwEncode(image.indices, image.lzw)))
                            .Trailer()
                            .Data();
    const LoadResult result = LoadGif(bytes);
    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.WarningTexts(), ElementsAre("Invalid extension introducer"));
    ASSERT_EQ(result.picture->Images().Count(), 1u);
    const TGIFSubImage& frame = result.picture->Images()[0];
    EXPECT_EQ(frame.ImageDescriptor().Separator, 0x20);
    EXPECT_EQ(frame.Extensions().Count(), 1u);
    EXPECT_EQ(Pixels(frame), image.indices);
}

TEST(GifReader, ZeroSizedImageTakesTheScreenSize)
{
    ImageSpec image = Opaque(6, 3, 2, 4, 2);
    image.width = 0;
    const LoadResult result = LoadGif(GifWriter().Header(6, 3, GreyTable(1)).Image(image).Trailer().Data());
    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.WarningTexts(), ElementsAre("Image exceeds Logical Screen size"));
    const TGIFSubImage& frame = result.picture->Images()[0];
    EXPECT_EQ(frame.Width(), 6);
    EXPECT_EQ(frame.Height(), 3);
    EXPECT_EQ(Pixels(frame), image.indices);
}

TEST(GifReader, ExtensionsAfterTheLastImageMakeAFrameWithoutImage)
{
    const Bytes bytes =
        GifWriter().Header(2, 2, GreyTable(1)).Image(Opaque(2, 2, 2, 0, 2)).Comment({"end"}).Trailer().Data();
    const LoadResult result = LoadGif(bytes);
    ASSERT_FALSE(result.error);
    EXPECT_THAT(result.warnings, IsEmpty());
    ASSERT_EQ(result.picture->Images().Count(), 2u);
    EXPECT_TRUE(result.picture->Images()[1].Empty());
    EXPECT_EQ(result.picture->Images()[1].Extensions().Count(), 1u);
}

TEST(GifReader, FailedLoadKeepsFramesReadAndMovesTheStreamBack)
{
    const Bytes good = TwoFrameGif();
    Bytes bytes(3, 0xEE);  // the caller's bytes in front of the picture
    bytes.insert(bytes.end(), good.begin(), good.end() - 1);
    const Bytes broken = AsBytes({0x21, 0x2A, 0});
    bytes.insert(bytes.end(), broken.begin(), broken.end());

    TGifPicture picture;
    std::vector<std::pair<ProgressStage, int>> progress;
    picture.OnProgress = [&](TGraphic&, ProgressStage stage, int percent, const std::string& message) {
        EXPECT_EQ(message, "Loading...");
        progress.emplace_back(stage, percent);
    };
    MemoryStream stream(bytes);
    stream.SetPosition(3);
    EXPECT_THROW(picture.LoadFromStream(stream), GIFException);
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_EQ(picture.Images().Count(), 2u);
    EXPECT_EQ(picture.Width(), 8);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress.front(), std::make_pair(ProgressStage::Starting, 0));
    EXPECT_EQ(progress.back(), std::make_pair(ProgressStage::Ending, 0));
}

TEST(GifReader, ProgressFollowsTheStreamPosition)
{
    const Bytes bytes = TwoFrameGif();
    TGifPicture picture;
    std::vector<std::pair<ProgressStage, int>> progress;
    std::vector<std::int64_t> expected;
    MemoryStream stream(bytes);
    picture.OnProgress = [&](TGraphic&, ProgressStage stage, int percent, const std::string&) {
        progress.emplace_back(stage, percent);
        if (stage == ProgressStage::Running)
            expected.push_back(stream.Position() * 100 / stream.Size());
    };
    picture.LoadFromStream(stream);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress[0], std::make_pair(ProgressStage::Starting, 0));
    EXPECT_EQ(progress[1], std::make_pair(ProgressStage::Running, static_cast<int>(expected[0])));
    EXPECT_EQ(progress[2], std::make_pair(ProgressStage::Running, static_cast<int>(expected[1])));
    EXPECT_LT(progress[1].second, progress[2].second);
    EXPECT_EQ(progress[3], std::make_pair(ProgressStage::Ending, 100));
}

TEST(GifReader, ClearingAndReloading)
{
    struct RecordingCache : GifDrawCache {
        explicit RecordingCache(const TGifPicture& picture, std::vector<std::size_t>& stops)
            : picture_(picture), stops_(stops) {}
        void StopPainting() override { stops_.push_back(picture_.Images().Count()); }
        const TGifPicture& picture_;
        std::vector<std::size_t>& stops_;
    };
    TGifPicture picture;
    std::vector<std::size_t> framesAtStop;
    const Bytes two = TwoFrameGif();
    MemoryStream stream(two);
    picture.LoadFromStream(stream);
    picture.SetDrawCache(std::make_unique<RecordingCache>(picture, framesAtStop));

    picture.Clear();
    EXPECT_THAT(framesAtStop, ElementsAre(2u));  // painting stops while the frames still exist
    EXPECT_EQ(picture.DrawCache(), nullptr);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_EQ(picture.Header().ColorMap().Count(), 0);
    EXPECT_EQ(picture.Header().LogicalScreenDescriptor().PackedFields & 0x8F, 0);

    const Bytes one = GifWriter().Header(3, 1, GreyTable(1)).Image(Opaque(3, 1, 2, 9, 2)).Trailer().Data();
    MemoryStream first(two), second(one);
    picture.LoadFromStream(first);
    picture.LoadFromStream(second);
    EXPECT_EQ(picture.Images().Count(), 1u);
    EXPECT_EQ(picture.Width(), 3);
}

TEST(GifReader, RegistriesAreSearchedNewestFirst)
{
    EXPECT_EQ(ExtensionRegistry().Find(0xF9), &TGIFGraphicControlExtension::Class);
    EXPECT_EQ(ExtensionRegistry().Find(0x01), &TGIFTextExtension::Class);
    EXPECT_EQ(ExtensionRegistry().Find(0xFE), &TGIFCommentExtension::Class);
    EXPECT_EQ(ExtensionRegistry().Find(0xFF), &TGIFApplicationExtension::Class);
    EXPECT_EQ(ExtensionRegistry().Find(0x2A), nullptr);
    EXPECT_EQ(AppExtensionRegistry().Find(MakeAppIdentifier("ANIMEXTS1.0")), &TGIFAppExtNSLoop::Class);
    EXPECT_EQ(AppExtensionRegistry().Find(MakeAppIdentifier("netscape2.0")), nullptr);

    // A later registration for an identifier overrides the earlier one.
    AppExtensionRegistry().Add(MakeAppIdentifier("NETSCAPE2.0"), TGIFUnknownAppExtension::Class);
    const Bytes bytes = GifWriter()
                            .Header(2, 2, GreyTable(1))
                            .Application("NETSCAPE2.0", {AsBytes({1, 0, 0})})
                            .Image(Opaque(2, 2, 2, 0, 2))
                            .Data();
    const LoadResult overridden = LoadGif(bytes);
    AppExtensionRegistry().Remove(TGIFUnknownAppExtension::Class);
    ASSERT_FALSE(overridden.error);
    EXPECT_EQ(&overridden.picture->Images()[0].Extensions()[0].ExtensionClass(), &TGIFUnknownAppExtension::Class);
    EXPECT_EQ(&LoadGif(bytes).picture->Images()[0].Extensions()[0].ExtensionClass(), &TGIFAppExtNSLoop::Class);
}
