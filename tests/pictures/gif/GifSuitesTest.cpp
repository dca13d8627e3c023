// The shared GIF conformance suites: their expected frames, colour indices and
// palettes, and that every file of them ends in a picture or a GIFException.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "GifCompositor.h"
#include "GifTestSupport.h"

namespace {

using Section = std::map<std::string, std::string>;

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::map<std::string, Section> ReadIni(const std::filesystem::path& path)
{
    std::map<std::string, Section> sections;
    std::ifstream in(path);
    std::string line, current;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            sections[current][Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
        }
    }
    return sections;
}

// The suite writes bytes outside printable ASCII as \xNN.
std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 4 <= text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ','))
        if (!Trim(item).empty())
            items.push_back(Trim(item));
    return items;
}

const TGIFAppExtNSLoop* LoopExtension(const TGifPicture& picture)
{
    for (std::size_t f = 0; f < picture.Images().Count(); ++f)
        for (std::size_t e = 0; e < picture.Images()[f].Extensions().Count(); ++e)
            if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&picture.Images()[f].Extensions()[e]))
                return loop;
    return nullptr;
}

std::string Comments(const TGifPicture& picture)
{
    std::string text;
    for (std::size_t f = 0; f < picture.Images().Count(); ++f)
        for (std::size_t e = 0; e < picture.Images()[f].Extensions().Count(); ++e)
            if (const auto* comment =
                    dynamic_cast<const TGIFCommentExtension*>(&picture.Images()[f].Extensions()[e]))
                for (const std::string& line : comment->Text())
                    text += line;
    return text;
}

// What differs between a suite case's expectation and our reading of it;
// empty when they agree.
std::string CompareWithAncellCase(const std::filesystem::path& folder, const std::string& name)
{
    auto ini = ReadIni(folder / (name + ".conf"));
    Section& config = ini["config"];
    const LoadResult result = LoadGif(ReadFileBytes(folder / config["input"]));
    const std::vector<std::string> frames = SplitList(config["frames"]);
    if (result.error)
        return frames.empty() ? "" : "refused: " + *result.error;
    if (frames.empty())
        return "loaded, expected to be refused";

    const TGifPicture& picture = *result.picture;
    if (std::to_string(picture.Width()) != config["width"] || std::to_string(picture.Height()) != config["height"])
        return "screen size";
    const TGIFAppExtNSLoop* loop = LoopExtension(picture);
    const std::string loops = loop == nullptr ? "0" : loop->Loops() == 0 ? "infinite" : std::to_string(loop->Loops());
    if (loops != config["loop-count"])
        return "loop count " + loops;
    if (config.count("buffer-size") && (loop == nullptr || std::to_string(loop->BufferSize()) != config["buffer-size"]))
        return "buffer size";
    if (config.count("comment") && "'" + Comments(picture) + "'" != Unescape(config["comment"]))
        return "comment";

    const std::vector<Bytes> composed = ComposeFrames(picture);
    if (composed.size() != frames.size())
        return std::to_string(composed.size()) + " frames";
    std::size_t imageFrame = 0;
    for (std::size_t f = 0; f < picture.Images().Count(); ++f) {
        const TGIFSubImage& frame = picture.Images()[f];
        if (frame.Empty())
            continue;
        Section& expected = ini[frames[imageFrame]];
        if (ReadFileBytes(folder / expected["pixels"]) != composed[imageFrame])
            return "pixels of " + frames[imageFrame];
        const int delay = frame.GraphicControlExtension() ? frame.GraphicControlExtension()->Delay() : 0;
        if (expected.count("delay") && std::to_string(delay) != expected["delay"])
            return "delay of " + frames[imageFrame];
        ++imageFrame;
    }
    return "";
}

}  // namespace

TEST(GifSuites, AncellCasesAgreeExceptWhereTheReaderDecidesOtherwise)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif/ancell-gif-test-suite");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif/ancell-gif-test-suite)";
    // Where this reader's rules give another outcome than the suite's viewer.
    const std::map<std::string, std::string> knownDifferences = {
        // A screen without images has no frames (the suite shows the empty screen).
        {"no-data", "0 frames"},
        // The logical screen's size is not checked.
        {"zero-width", "loaded, expected to be refused"},
        {"zero-height", "loaded, expected to be refused"},
        {"zero-size", "loaded, expected to be refused"},
        {"max-size", "loaded, expected to be refused"},
        // A zero image width becomes the screen width; the trailer byte after
        // the descriptor is then the LZW code size, 59.
        {"image-zero-width", "refused: Invalid LZW code size"},
        // The packed byte announces a local colour table that is not there.
        {"image-zero-height", "refused: Premature end of data"},
        {"image-zero-size", "refused: Premature end of data"},
        // Every image is a frame; joining images shown without delay is the
        // drawing's business.
        {"images-combine", "4 frames"},
        {"images-overlap", "2 frames"},
        {"high-color", "4 frames"},
        {"dispose-restore-previous", "5 frames"},
        {"animation-multi-image", "7 frames"},
        {"animation-multi-image-explicit-zero-delay", "7 frames"},
        // The classic decoder reads a code beyond the next free entry like the
        // one just at it, and keeps indices beyond the colour table.
        {"invalid-code", "loaded, expected to be refused"},
        {"invalid-colors", "loaded, expected to be refused"},
        // A Plain Text Extension is kept as an extension; the suite refuses to draw it.
        {"plain-text", "loaded, expected to be refused"},
        // Labels without a registered class end the load.
        {"unknown-extension", "refused: Unknown extension type"},
        // Looping comes from a looping application extension only.
        {"gif87a-animation", "loop count 0"},
    };

    std::ifstream tests(*folder / "TESTS");
    std::string name;
    int cases = 0;
    while (std::getline(tests, name)) {
        name = Trim(name);
        if (name.empty())
            continue;
        ++cases;
        const std::string difference = CompareWithAncellCase(*folder, name);
        const auto known = knownDifferences.find(name);
        if (known == knownDifferences.end())
            EXPECT_EQ(difference, "") << name;
        else
            EXPECT_EQ(difference, known->second) << name;
    }
    EXPECT_EQ(cases, 84);
}

TEST(GifSuites, WuffsIndicesAndPalettes)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif/wuffs");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif/wuffs)";
    const auto framePixels = [](const TGifPicture& picture, std::size_t frame) {
        const auto pixels = picture.Images()[frame].PixelIndices();
        return Bytes(pixels.begin(), pixels.end());
    };

    for (const std::string name : {"bricks-dither", "bricks-gray", "bricks-nodither"}) {
        const LoadResult result = LoadGif(ReadFileBytes(*folder / (name + ".gif")));
        ASSERT_FALSE(result.error) << name;
        EXPECT_EQ(framePixels(*result.picture, 0), ReadFileBytes(*folder / (name + ".indexes"))) << name;
        const std::filesystem::path palette = *folder / (name + ".palette");
        if (!std::filesystem::exists(palette))
            continue;
        const Bytes bgra = ReadFileBytes(palette);
        const TGIFColorMap& colors = result.picture->Header().ColorMap();
        ASSERT_EQ(static_cast<std::size_t>(colors.Count()) * 4, bgra.size()) << name;
        for (int i = 0; i < colors.Count(); ++i) {
            const std::size_t at = static_cast<std::size_t>(i) * 4;
            EXPECT_EQ(colors[i], (TGIFColor{bgra[at + 2], bgra[at + 1], bgra[at]})) << name << " colour " << i;
        }
    }

    const LoadResult muybridge = LoadGif(ReadFileBytes(*folder / "muybridge.gif"));
    ASSERT_FALSE(muybridge.error);
    ASSERT_EQ(muybridge.picture->Images().Count(), 15u);
    for (std::size_t frame = 0; frame < 15; ++frame) {
        char name[40];
        std::snprintf(name, sizeof name, "muybridge-frame-%03zu.indexes", frame);
        EXPECT_EQ(framePixels(*muybridge.picture, frame), ReadFileBytes(*folder / name)) << name;
    }
}

TEST(GifSuites, EveryFileEndsInAPictureOrAGifException)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif)";
    // The outcomes worth pinning down: decoders have crashed, hung or run out
    // of memory on these.
    const std::map<std::string, std::optional<std::string>> expectedErrors = {
        {"issue-101-infinite-empty-loop.gif", "Image data too short for image size"},
        // 64311x56 pixels from one byte of data: within the fill allowance.
        {"issue-96-small-codesize-2.gif", std::nullopt},
        {"issue-209-extension-block-type.gif", "Unknown extension type"},
        {"decompression_bomb.gif", "Invalid LZW code size"},
        {"issue-117-out-of-range.gif", "Circular decoder table entry"},
    };
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*folder)) {
        if (entry.path().extension() != ".gif")
            continue;
        ++files;
        const LoadResult result = LoadGif(ReadFileBytes(entry.path()));  // anything but GIFException escapes
        const auto expected = expectedErrors.find(entry.path().filename().string());
        if (expected != expectedErrors.end()) {
            EXPECT_EQ(result.error, expected->second) << entry.path();
        }
        for (std::size_t i = 0; !result.error && i < result.picture->Images().Count(); ++i) {
            const TGIFSubImage& frame = result.picture->Images()[i];
            EXPECT_TRUE(frame.Empty() ||
                        frame.PixelIndices().size() == static_cast<std::size_t>(frame.Width()) * frame.Height())
                << entry.path();
        }
    }
    EXPECT_GT(files, 180);
}
