// Benchmark, not a test: how the two record layouts compare in the registry
// walk, and how much the viewer's list fill adds to the walk it cannot avoid.
// For each layout (the 16-byte classic record, then the 72-byte record of
// Windows 7 and later) it writes N values into a scratch registry, then times,
// alternately and several times over, the bare walk (TStartHistory::ReadHistory)
// and the viewer's full load (walk plus list fill, the "Show" button of "Show
// All Entries"), and prints the medians and their ratios; then the pass that
// explains the entries (part of every walk) alone, on the entries read.
//
//   viewer-load-bench [VALUES [ROUNDS]]     defaults: 100000 values, 3 rounds
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DemoUserAssist.h"
#include "ScratchRegistry.h"
#include "Win32UserAssistWriter.h"
#include "history/EntryExplanation.h"
#include "history/StartMenuHistory.h"
#include "ui/Application.h"
#include "viewer/frmStartMenuHistoryViewer.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Action>
double SecondsOf(Action action)
{
    const auto start = Clock::now();
    action();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int values = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (values <= 0 || rounds <= 0) {
        std::fputs("usage: viewer-load-bench [VALUES [ROUNDS]]\n", stderr);
        return 2;
    }

    Application.Initialize();
    double walks[2] = {}, loads[2] = {};
    const UserAssistLayout layouts[] = {UserAssistLayout::Classic, UserAssistLayout::Current};
    for (std::size_t l = 0; l < std::size(layouts); ++l) {
        const int recordSize = static_cast<int>(layouts[l]);
        ScratchRegistry scratch;
        const double writing = SecondsOf(
            [&] { ReplaceUserAssistArea(MakeSyntheticUserAssistArea(values, DecodeDateTime(Now()), layouts[l])); });
        std::printf("%d-byte records: wrote %d values in %.2f s\n", recordSize, values, writing);

        TStartMenuHistoryViewer viewer(nullptr);  // its creation is the first, untimed load
        if (viewer.ListView1->RowCount() != values) {
            std::fprintf(stderr, "the viewer lists %d rows, not %d\n", viewer.ListView1->RowCount(), values);
            return 1;
        }
        std::vector<double> walkTimes, loadTimes;
        for (int round = 0; round < rounds; ++round) {
            walkTimes.push_back(SecondsOf([] {
                TStartHistory history;
                history.ReadHistory();
            }));
            loadTimes.push_back(SecondsOf([&] { viewer.Button2Click(); }));
            std::printf("  round %d: walk %.2f s, full load %.2f s\n", round + 1, walkTimes.back(), loadTimes.back());
        }
        walks[l] = Median(walkTimes);
        loads[l] = Median(loadTimes);
        std::printf("  median of %d rounds: walk %.2f s, full load %.2f s, full load / walk %.2f\n", rounds, walks[l],
                    loads[l], loads[l] / walks[l]);

        TStartHistory history;
        history.ReadHistory();
        std::vector<TStartItem> items(static_cast<std::size_t>(history.Count()));
        for (int i = 0; i < history.Count(); ++i)
            history.GetItem(i, items[static_cast<std::size_t>(i)]);
        std::vector<double> explainTimes;
        for (int round = 0; round < rounds; ++round)
            explainTimes.push_back(SecondsOf([&] { ExplainEntries(items); }));
        std::printf("  the explaining pass alone on %zu entries: median %.1f ms\n", items.size(),
                    Median(explainTimes) * 1000);
    }
    std::printf("72-byte walk / 16-byte walk %.2f; 72-byte full load / its walk %.2f\n", walks[1] / walks[0],
                loads[1] / walks[1]);
    return 0;
}
