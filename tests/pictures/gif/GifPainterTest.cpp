// Animations played by painters under Wine: the frames they show against
// the conformance suites' expected frames, threaded and not, buffered and
// direct; their events; and stopping them without leaking threads or GDI
// objects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>

#include "GifDrawTestSupport.h"
#include "../TestCanvas.h"
#include "pictures/Synchronize.h"

namespace {

// Fast enough that every delay comes out as no wait at all.
constexpr int Racing = 1000000;

struct Capture {
    std::vector<std::vector<Rgb>> frames;
    int startEvents = 0;
    bool ended = false;
};

// Runs the synchronised calls until done() holds, and tells whether it did
// within a generous time: a painter that never ends fails instead of hanging.
bool EndsInTime(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    WaitRunningSynchronized([&] { return done() || std::chrono::steady_clock::now() > deadline; });
    return done();
}

// Plays the animation into rect of canvas with options, keeping what the
// canvas shows after each frame, until frames are kept or it ends.
Capture Play(TGifPicture& picture, TGIFDrawOptions options, DibCanvas& canvas, const RECT& rect, std::size_t frames)
{
    Capture capture;
    picture.SetDrawFlags(options);
    picture.SetSpeedPercent(Racing);
    picture.OnStartPaint = [&capture](TGIFPainter&) { ++capture.startEvents; };
    picture.OnAfterPaint = [&](TGIFPainter& painter) {
        capture.frames.push_back(canvas.Pixels());
        if (capture.frames.size() >= frames)
            painter.Terminate();
    };
    picture.OnEndPaint = [&capture](TGIFPainter&) { capture.ended = true; };
    picture.Draw(canvas.DC(), rect);
    EXPECT_TRUE(EndsInTime([&capture] { return capture.ended; }));
    picture.OnStartPaint = picture.OnAfterPaint = picture.OnEndPaint = nullptr;
    return capture;
}

// Where a drawn frame differs from an expected RGBA frame shown over the
// canvas background, each expected pixel covering scale x scale.
std::string Differences(const std::vector<Rgb>& drawn, const RgbaFrame& expected, const DibCanvas& canvas, int scale)
{
    int count = 0;
    std::string first;
    for (int y = 0; y < expected.height * scale; ++y)
        for (int x = 0; x < expected.width * scale; ++x) {
            const std::uint8_t* p =
                &expected.pixels[static_cast<std::size_t>((y / scale * expected.width + x / scale) * 4)];
            const Rgb want = p[3] == 0 ? canvas.BackgroundAt(x, y) : static_cast<Rgb>(p[0] << 16 | p[1] << 8 | p[2]);
            const Rgb got = drawn[static_cast<std::size_t>(y * canvas.Width() + x)];
            if (got != want && count++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") " + std::to_string(got) + " not " +
                        std::to_string(want);
        }
    return count == 0 ? "" : first + ", " + std::to_string(count) + " pixels differ";
}

struct Mode {
    const char* name;
    TGIFDrawOptions options;
    int scale;
};
constexpr TGIFDrawOptions Animated = DefaultDrawFlags;
constexpr TGIFDrawOptions Unthreaded = Animated & ~dfThreaded;
const Mode Modes[] = {
    {"threaded", Animated, 1},
    {"unthreaded", Unthreaded, 1},
    {"threaded direct", Animated | dfDirect, 1},
    {"unthreaded direct", Unthreaded | dfDirect, 1},
    {"threaded doubled", Animated, 2},
};

// Plays file in every mode and compares the frames with expected.
void CheckAgainstExpectedFrames(const std::filesystem::path& file, const std::vector<RgbaFrame>& expected)
{
    for (const Mode& mode : Modes) {
        const auto picture = LoadPicture(ReadFileBytes(file));
        const int width = picture->Width() * mode.scale;
        const int height = picture->Height() * mode.scale;
        // A doubled buffer starts from a shrunken copy of the background, so
        // that one is plain.
        DibCanvas canvas(
            width, height,
            mode.scale == 1 ? DibCanvas::Background(PatternBackground) : [](int, int) -> Rgb { return 0x123456; });
        const Capture capture = Play(*picture, mode.options, canvas, {0, 0, width, height}, expected.size());
        ASSERT_EQ(capture.frames.size(), expected.size()) << file.filename() << ", " << mode.name;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(Differences(capture.frames[i], expected[i], canvas, mode.scale), "")
                << file.filename() << " frame " << i << ", " << mode.name;
    }
}

std::optional<std::string> ConfValue(const std::filesystem::path& conf, const std::string& section,
                                     const std::string& key)
{
    std::ifstream in(conf);
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[')
            current = line.substr(1, line.find(']') - 1);
        else if (current == section && line.rfind(key + " = ", 0) == 0)
            return line.substr(key.size() + 3);
    }
    return std::nullopt;
}

std::size_t ImageFrames(const TGifPicture& picture)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < picture.Images().Count(); ++i)
        count += picture.Images()[i].Empty() ? 0 : 1;
    return count;
}

// Two 2x2 frames, red then blue, each delay hundredths of a second, looping
// for ever.
Bytes TwoFrameLoop(int delay)
{
    ImageSpec image;
    image.width = image.height = 2;
    image.lzw.codeSize = 2;
    const std::vector<TGIFColor> colors = {{255, 0, 0}, {0, 0, 255}, {0, 0, 0}, {0, 0, 0}};
    GifWriter writer;
    writer.Header(2, 2, colors).Application("NETSCAPE2.0", {{1, 0, 0}});
    for (const std::uint8_t index : {0, 1}) {
        image.indices = Bytes(4, index);
        writer.GraphicControl(1, false, 0, delay).Image(image);
    }
    return writer.Trailer().Data();
}

}  // namespace

TEST(GifPainter, PeterdnSuiteFramesAsExpected)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif/peterdn-gif-test-suite");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif/peterdn-gif-test-suite)";
    int animations = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".gif" || stem.rfind("animated", 0) != 0)
            continue;
        std::vector<RgbaFrame> expected;
        while (const auto frame =
                   ReadPngFrame(*folder / "frames" / (stem + "-" + std::to_string(expected.size()) + ".png")))
            expected.push_back(*frame);
        ASSERT_FALSE(expected.empty()) << stem;
        CheckAgainstExpectedFrames(entry.path(), expected);
        ++animations;
    }
    EXPECT_EQ(animations, 11);
}

TEST(GifPainter, AncellSuiteAnimationsAsExpected)
{
    const std::optional<std::filesystem::path> folder = TestDataDir("gif/ancell-gif-test-suite");
    if (!folder)
        GTEST_SKIP() << "no shared GIF test data (../shared/testdata/gif/ancell-gif-test-suite)";
    int animations = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*folder)) {
        if (entry.path().extension() != ".conf")
            continue;
        const std::string frameList = ConfValue(entry.path(), "config", "frames").value_or("");
        std::vector<RgbaFrame> expected;
        for (std::size_t start = 0; start < frameList.size();) {
            const std::size_t comma = std::min(frameList.find(',', start), frameList.size());
            const auto pixels = ConfValue(entry.path(), frameList.substr(start, comma - start), "pixels");
            const int width = std::stoi(ConfValue(entry.path(), "config", "width").value_or("0"));
            const int height = std::stoi(ConfValue(entry.path(), "config", "height").value_or("0"));
            if (pixels)
                expected.push_back({width, height, ReadFileBytes(*folder / *pixels)});
            start = comma + 1;
        }
        const std::filesystem::path gif = *folder / ConfValue(entry.path(), "config", "input").value_or("");
        // Only animations whose images are the expected frames one for one;
        // the suite joins images shown without delay into one frame.
        if (expected.size() < 2 || ImageFrames(*LoadPicture(ReadFileBytes(gif))) != expected.size())
            continue;
        CheckAgainstExpectedFrames(gif, expected);
        ++animations;
    }
    EXPECT_GE(animations, 8);
}

TEST(GifPainter, ASecondDrawFromAPaintHandlerDrawsNothing)
{
    for (const TGIFDrawOptions options : {Unthreaded, Animated}) {
        const auto picture = LoadPicture(TwoFrameLoop(1));
        DibCanvas canvas(2, 2, PatternBackground);
        DibCanvas other(2, 2, PatternBackground);
        int paints = 0;
        picture->OnPaint = [&](TGIFPainter& painter) {
            picture->Draw(other.DC(), {0, 0, 2, 2});
            if (++paints == 2)
                painter.Terminate();
        };
        Play(*picture, options, canvas, {0, 0, 2, 2}, 2);
        EXPECT_EQ(other.Differences(PatternBackground), "") << options;
        EXPECT_GT(paints, 0);
    }
}

TEST(GifPainter, LaterDrawsCopyTheBufferInsteadOfPlayingAgain)
{
    const auto picture = LoadPicture(TwoFrameLoop(1));
    DibCanvas canvas(2, 2, PatternBackground);
    const Capture first = Play(*picture, Unthreaded, canvas, {0, 0, 2, 2}, 10);
    EXPECT_EQ(first.frames.size(), 2u);  // no loop without a thread
    EXPECT_EQ(first.startEvents, 1);
    int starts = 0;
    picture->OnStartPaint = [&starts](TGIFPainter&) { ++starts; };
    // The last frame, blue, stretched and tiled from the buffer.
    DibCanvas large(9, 5, PatternBackground);
    picture->Draw(large.DC(), {0, 0, 8, 4});
    EXPECT_EQ(large.Differences([](int x, int y) { return x < 8 && y < 4 ? 0x0000FF : PatternBackground(x, y); }), "");
    picture->SetDrawFlags(picture->DrawFlags() | dfTile);
    DibCanvas tiled(9, 5, PatternBackground);
    picture->Draw(tiled.DC(), {0, 0, 5, 3});
    // Tiles of the 2x2 screen start inside 5x3 and may reach past it.
    EXPECT_EQ(tiled.Differences([](int x, int y) { return x < 6 && y < 4 ? 0x0000FF : PatternBackground(x, y); }), "");
    EXPECT_EQ(starts, 0);
}

TEST(GifPainter, ExceptionsReachTheUiThread)
{
    {
        // Unthreaded: out of Draw.
        const auto picture = LoadPicture(TwoFrameLoop(1));
        picture->SetDrawFlags(Unthreaded);
        picture->OnAfterPaint = [](TGIFPainter&) { throw GIFException("painted badly"); };
        DibCanvas canvas(2, 2, PatternBackground);
        EXPECT_THROW(picture->Draw(canvas.DC(), {0, 0, 2, 2}), GIFException);
    }
    {
        // Threaded: to the error handler, on the UI thread.
        const auto picture = LoadPicture(TwoFrameLoop(1));
        picture->SetDrawFlags(Animated);
        picture->SetSpeedPercent(Racing);
        picture->OnAfterPaint = [](TGIFPainter&) { throw GIFException("painted badly"); };
        std::string message;
        DWORD thread = 0;
        picture->OnPainterError = [&](TGIFPainter&, std::exception_ptr error) {
            thread = GetCurrentThreadId();
            try {
                std::rethrow_exception(error);
            } catch (const GIFException& e) {
                message = e.what();
            }
        };
        DibCanvas canvas(2, 2, PatternBackground);
        picture->Draw(canvas.DC(), {0, 0, 2, 2});
        ASSERT_TRUE(EndsInTime([&message] { return !message.empty(); }));
        EXPECT_EQ(message, "painted badly");
        EXPECT_EQ(thread, GetCurrentThreadId());
    }
}

TEST(GifPainter, AQuitMessageEndsAnUnthreadedPainterAndIsPostedAgain)
{
    const auto picture = LoadPicture(TwoFrameLoop(10));
    picture->SetDrawFlags(Unthreaded | dfLoopForever);
    int frames = 0;
    picture->OnAfterPaint = [&frames](TGIFPainter&) {
        if (++frames == 3)
            PostQuitMessage(7);
    };
    DibCanvas canvas(2, 2, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 2, 2});
    EXPECT_EQ(frames, 3);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(GifPainter, APainterWhoseCanvasWentAwayEndsQuietly)
{
    const auto picture = LoadPicture(TwoFrameLoop(1));
    picture->SetDrawFlags(Animated | dfValidateCanvas | dfDirect);
    picture->SetSpeedPercent(Racing);
    HDC canvas = CreateCompatibleDC(nullptr);
    bool ended = false;
    int frames = 0;
    picture->OnAfterPaint = [&](TGIFPainter&) {
        if (++frames == 2)
            DeleteDC(canvas);
    };
    picture->OnEndPaint = [&ended](TGIFPainter&) { ended = true; };
    picture->Draw(canvas, {0, 0, 2, 2});
    ASSERT_TRUE(EndsInTime([&ended] { return ended; }));
    EXPECT_EQ(frames, 2);
}

namespace {

enum class Ending { Clear, Destroy, ClearInHandler, DestroyInHandler };

// Plays a looping animation and ends it as asked once shown frames were
// shown.
void PlayAndEnd(TGIFDrawOptions options, int speed, int delay, int shown, Ending ending)
{
    auto picture = LoadPicture(TwoFrameLoop(delay));
    picture->SetDrawFlags(options | dfLoopForever);
    picture->SetSpeedPercent(speed);
    int frames = 0;
    picture->OnAfterPaint = [&](TGIFPainter&) {
        if (++frames != shown)
            return;
        if (ending == Ending::ClearInHandler)
            picture->Clear();
        else if (ending == Ending::DestroyInHandler)
            picture.reset();
    };
    DibCanvas canvas(4, 4, PatternBackground);
    picture->Draw(canvas.DC(), {0, 0, 4, 4});
    ASSERT_TRUE(EndsInTime([&frames, shown] { return frames >= shown; }));
    if (ending == Ending::Clear) {
        picture->Clear();
        EXPECT_TRUE(picture->Empty());
    } else if (ending == Ending::Destroy) {
        picture.reset();
    }
    picture.reset();
}

}  // namespace

TEST(GifPainter, StoppingLeavesNoThreadOrGdiObjectBehind)
{
    InitSynchronize();
    const struct {
        TGIFDrawOptions options;
        int speed;
        int delay;
        int shown;
        Ending ending;
    } cases[] = {
        // A painter waiting a long delay after its first frame is woken; a
        // racing one is caught in its synchronised calls.
        {Animated, 100, 500, 1, Ending::Clear},
        {Animated, 100, 500, 1, Ending::Destroy},
        {Animated, Racing, 1, 5, Ending::Clear},
        {Animated | dfDirect, Racing, 1, 5, Ending::Destroy},
        {Animated, Racing, 1, 2, Ending::ClearInHandler},
        {Animated, Racing, 1, 2, Ending::DestroyInHandler},
        {Unthreaded, Racing, 1, 2, Ending::ClearInHandler},
        {Unthreaded, Racing, 1, 2, Ending::DestroyInHandler},
    };
    // GDI makes some objects of its own on first use.
    PlayAndEnd(Animated, Racing, 1, 2, Ending::Clear);
    for (const auto& c : cases) {
        const int threads = ThreadCount();
        const std::size_t gdiObjects = LiveGdiObjects();
        PlayAndEnd(c.options, c.speed, c.delay, c.shown, c.ending);
        // A thread stopped from its own handler ends soon after that returned;
        // give it ample time before calling it leaked.
        for (int wait = 0; wait < 2000 && ThreadCount() > threads; ++wait)
            CheckSynchronize(5);
        EXPECT_EQ(ThreadCount(), threads) << c.options << " " << static_cast<int>(c.ending);
        EXPECT_EQ(LiveGdiObjects(), gdiObjects) << c.options << " " << static_cast<int>(c.ending);
    }
}
