// The painter's run without a painter: which frames are painted in which
// order, how often the animation goes round, the waits and the events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "GifTestSupport.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct FrameSpec {
    int disposal = 1;
    int delay = 0;
    int loops = -1;         // when 0 or more: a NETSCAPE2.0 extension before the frame
    bool animexts = false;  // ANIMEXTS1.0 instead
};

std::unique_ptr<TGifPicture> Animation(const std::vector<FrameSpec>& frames)
{
    GifWriter writer;
    writer.Header(2, 2, GreyTable(1));
    for (const FrameSpec& frame : frames) {
        if (frame.loops >= 0)
            writer.Application(
                frame.animexts ? "ANIMEXTS1.0" : "NETSCAPE2.0",
                {{1, static_cast<std::uint8_t>(frame.loops), static_cast<std::uint8_t>(frame.loops >> 8)}});
        writer.GraphicControl(frame.disposal, false, 0, frame.delay);
        ImageSpec image;
        image.width = 2;
        image.height = 2;
        image.indices = Bytes(4, 1);
        image.lzw.codeSize = 2;
        writer.Image(image);
    }
    LoadResult result = LoadGif(writer.Trailer().Data());
    EXPECT_FALSE(result.error);
    return std::move(result.picture);
}

// Records every hook call as a line; time passes only by waiting and painting.
class RecordingLoop : public GifAnimationLoop {
public:
    using GifAnimationLoop::GifAnimationLoop;

    std::vector<std::string> log;
    std::function<void(RecordingLoop&, GifPaintEvent)> onEvent;
    int paintCostMs = 0;
    // Ends endless animations in tests that forget to.
    int paintLimit = 100;

    std::vector<std::string> Lines(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : log)
            if (line.rfind(prefix, 0) == 0)
                lines.push_back(line);
        return lines;
    }

protected:
    void PrepareFrame(TGIFSubImage& frame) override { log.push_back("prepare " + Index(&frame)); }
    void Wait(std::optional<int> ms) override
    {
        log.push_back(ms ? "wait " + std::to_string(*ms) : "wait forever");
        clock_ += static_cast<std::uint32_t>(ms.value_or(0));
    }
    void PaintFrame(TGIFSubImage& frame, const GifFrameComposition& c) override
    {
        std::string line = "paint " + Index(&frame);
        if (c.Previous)
            line += " after " + Index(c.Previous) + " disposal " + std::to_string(c.PreviousDisposal);
        if (c.ClearBackground)
            line += " clear";
        if (c.SaveUnderneath)
            line += " save";
        log.push_back(line);
        clock_ += static_cast<std::uint32_t>(paintCostMs);
        if (--paintLimit == 0)
            Terminate();
    }
    void Fire(GifPaintEvent event) override
    {
        static const char* const names[] = {"StartPaint", "Paint", "AfterPaint", "Loop", "EndPaint"};
        log.push_back(std::string("event ") + names[static_cast<int>(event)] + " " + std::to_string(ActiveImage()));
        if (onEvent)
            onEvent(*this, event);
    }
    std::uint32_t NowMs() override { return clock_; }

private:
    std::string Index(const TGIFSubImage* frame) const
    {
        for (std::size_t i = 0; i < Picture().Images().Count(); ++i)
            if (&Picture().Images()[i] == frame)
                return std::to_string(i);
        return "?";
    }
    std::uint32_t clock_ = 0;
};

constexpr TGIFDrawOptions Threaded = dfThreaded | dfAnimate | dfLoop;
constexpr TGIFDrawOptions Unthreaded = dfAnimate | dfLoop;

}  // namespace

TEST(GifAnimationLoop, PlaysEveryFrameOnceWithoutLoopingExtension)
{
    const auto picture = Animation({{.delay = 5}, {.delay = 0}, {.delay = 2000}});
    RecordingLoop loop(*picture, Threaded, 100);
    loop.Run();
    EXPECT_THAT(loop.log, ElementsAre("event StartPaint 0",                                           //
                                      "prepare 0", "event Paint 0", "paint 0", "event AfterPaint 0",  //
                                      "prepare 1", "wait 60", "event Paint 1", "paint 1 after 0 disposal 1",
                                      "event AfterPaint 1",  // a delay of 0 counts as 10 units
                                      "prepare 2", "wait 120", "event Paint 2", "paint 2 after 1 disposal 1",
                                      "event AfterPaint 2", "event EndPaint -1"));
    EXPECT_FALSE(loop.FatalException());
}

TEST(GifAnimationLoop, LoopCountComesFromTheFirstLoopingExtension)
{
    const struct {
        std::vector<FrameSpec> frames;
        TGIFDrawOptions options;
        std::size_t rounds;  // 0: endless, stopped by the paint limit
    } cases[] = {
        {{{.loops = 3}, {}}, Threaded, 3},
        {{{.loops = 2, .animexts = true}, {}}, Threaded, 2},  // ANIMEXTS1.0 alike
        {{{.loops = 1}, {}}, Threaded, 1},
        {{{.loops = 0}, {}}, Threaded, 0},    // 0 loops for ever when threaded ...
        {{{.loops = 0}, {}}, Unthreaded, 1},  // ... and once otherwise
        {{{.loops = 3}, {}}, Threaded | dfLoopForever, 0},
        {{{.loops = 3}, {}}, Unthreaded | dfLoopForever, 0},
        {{{}, {}}, Unthreaded | dfLoopForever, 0},
        {{{.loops = 3}, {}}, dfThreaded | dfAnimate, 1},  // without dfLoop
        {{{.loops = 3}, {.loops = 7}}, Threaded, 3},      // only the first extension counts
    };
    for (const auto& c : cases) {
        const auto picture = Animation(c.frames);
        RecordingLoop loop(*picture, c.options, 100);
        loop.paintLimit = 40;
        loop.Run();
        const std::size_t paints = loop.Lines("paint").size();
        if (c.rounds == 0) {
            EXPECT_EQ(paints, 40u) << "options " << c.options;
        } else {
            EXPECT_EQ(paints, c.rounds * 2) << "options " << c.options;
            EXPECT_EQ(loop.Lines("event Loop").size(), c.rounds - 1);
        }
        EXPECT_EQ(loop.log.back(), "event EndPaint -1");
    }
}

TEST(GifAnimationLoop, LaterRoundsStartAtTheLoopingExtensionsFrame)
{
    const auto picture = Animation({{}, {.loops = 2}, {}});
    RecordingLoop loop(*picture, Threaded, 100);
    loop.Run();
    EXPECT_THAT(loop.Lines("paint"), ElementsAre("paint 0", "paint 1 after 0 disposal 1", "paint 2 after 1 disposal 1",
                                                 "paint 1 after 2 disposal 1", "paint 2 after 1 disposal 1"));
    EXPECT_THAT(loop.Lines("event Loop"), ElementsAre("event Loop 1"));
}

TEST(GifAnimationLoop, ComposesInGif89aOrder)
{
    // Each frame disposes of the one before; frame 2 keeps what it covers.
    const auto picture = Animation({{.disposal = 2, .loops = 2}, {.disposal = 3}, {}});
    RecordingLoop loop(*picture, Threaded | dfClearOnRestart, 100);
    loop.Run();
    EXPECT_THAT(loop.Lines("paint"), ElementsAre("paint 0 clear", "paint 1 after 0 disposal 2 save",
                                                 "paint 2 after 1 disposal 3", "paint 0 after 2 disposal 1 clear",
                                                 "paint 1 after 0 disposal 2 save", "paint 2 after 1 disposal 3"));
}

TEST(GifAnimationLoop, WaitsTheDelayLessHalfThePaintingTimeScaledBySpeed)
{
    const struct {
        int speed;
        TGIFDrawOptions options;
        int paintCostMs;
        int delay;
        std::string expected;
    } cases[] = {
        {100, Threaded, 0, 20, "wait 240"},     {100, Threaded, 40, 20, "wait 220"},
        {200, Threaded, 41, 20, "wait 110"},    {100, Unthreaded, 0, 2000, "wait 12000"},
        {100, Threaded, 0, 2000, "wait 24000"}, {0, Threaded, 0, 20, "wait forever"},
        {0, Unthreaded, 0, 20, "wait 12000"},   {100, Threaded, 1000, 20, "wait 0"},
        {100, Unthreaded, 1000, 20, "wait 1"},
    };
    for (const auto& c : cases) {
        const auto picture = Animation({{.delay = c.delay}, {.delay = c.delay}});
        RecordingLoop loop(*picture, c.options, c.speed);
        loop.paintCostMs = c.paintCostMs;
        loop.Run();
        EXPECT_THAT(loop.Lines("wait"), ElementsAre(c.expected)) << "speed " << c.speed << ", delay " << c.delay;
    }
}

TEST(GifAnimationLoop, HandlersSteerTheRun)
{
    const auto picture = Animation({{}, {}, {}, {}});
    {
        // After frame 0 a handler jumps to frame 2.
        RecordingLoop loop(*picture, Threaded, 100);
        loop.onEvent = [](RecordingLoop& l, GifPaintEvent e) {
            if (e == GifPaintEvent::AfterPaint && l.ActiveImage() == 0)
                l.SetActiveImage(2);
        };
        loop.Run();
        EXPECT_THAT(loop.Lines("paint"),
                    ElementsAre("paint 0", "paint 2 after 0 disposal 1", "paint 3 after 2 disposal 1"));
    }
    {
        // A restart after frame 1 begins again at frame 0 with start of painting.
        RecordingLoop loop(*picture, Threaded | dfClearOnRestart, 100);
        bool restarted = false;
        loop.onEvent = [&restarted](RecordingLoop& l, GifPaintEvent e) {
            if (e == GifPaintEvent::AfterPaint && l.ActiveImage() == 1 && !restarted) {
                restarted = true;
                l.Restart();
            }
        };
        loop.Run();
        EXPECT_THAT(loop.Lines("event StartPaint"), ElementsAre("event StartPaint 0", "event StartPaint 0"));
        EXPECT_EQ(loop.Lines("paint").size(), 6u);
        EXPECT_EQ(loop.Lines("paint")[2], "paint 0 after 1 disposal 1 clear");
    }
    {
        // Termination in the paint event: that frame is not painted.
        RecordingLoop loop(*picture, Threaded, 100);
        loop.onEvent = [](RecordingLoop& l, GifPaintEvent e) {
            if (e == GifPaintEvent::Paint && l.ActiveImage() == 1)
                l.Terminate();
        };
        loop.Run();
        EXPECT_THAT(loop.Lines("paint"), ElementsAre("paint 0"));
        EXPECT_EQ(loop.log.back(), "event EndPaint -1");
    }
}

TEST(GifAnimationLoop, AnExceptionEndsTheRunAndIsKept)
{
    const auto picture = Animation({{}, {}, {}});
    RecordingLoop loop(*picture, Threaded, 100);
    loop.onEvent = [](RecordingLoop& l, GifPaintEvent e) {
        if (e == GifPaintEvent::AfterPaint && l.ActiveImage() == 1)
            throw GIFException("handler failed");
    };
    loop.Run();
    EXPECT_TRUE(loop.Terminated());
    EXPECT_EQ(loop.Lines("paint").size(), 2u);
    EXPECT_EQ(loop.log.back(), "event EndPaint -1");
    ASSERT_TRUE(loop.FatalException());
    EXPECT_THROW(std::rethrow_exception(loop.FatalException()), GIFException);
}

TEST(GifAnimationLoop, FramesWithoutImageEndTheRound)
{
    // A looping extension, then a frame of extensions only: painting stops
    // there instead of going round without ever waiting.
    GifWriter writer;
    writer.Header(2, 2, GreyTable(1)).Application("NETSCAPE2.0", {{1, 0, 0}}).Comment({"no image"}).Trailer();
    const LoadResult empty = LoadGif(writer.Data());
    ASSERT_EQ(empty.picture->Images().Count(), 1u);
    RecordingLoop loop(*empty.picture, Threaded | dfLoopForever, 100);
    loop.Run();
    EXPECT_THAT(loop.log, ElementsAre("event StartPaint 0", "event EndPaint -1"));

    const auto picture = Animation({{}, {}});
    RecordingLoop single(*picture, dfThreaded | dfLoop, 100);  // without dfAnimate: the first frame only
    single.Run();
    EXPECT_THAT(single.Lines("paint"), ElementsAre("paint 0"));
}
