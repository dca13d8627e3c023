// Benchmark, not a test: how much the viewer's list fill adds to the registry
// walk it cannot avoid. Writes N UserAssist values into a scratch registry,
// then times, alternately and several times over, the bare walk
// (TStartHistory::ReadHistory) and the viewer's full load (walk plus list
// fill, the "Show" button of "Show All Entries"), and prints both medians and
// their ratio.
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

    ScratchRegistry scratch;
    const double writing = SecondsOf(
        [&] { ReplaceUserAssistArea(MakeSyntheticUserAssistArea(values, DecodeDateTime(Now()))); });
    std::printf("wrote %d values in %.2f s\n", values, writing);

    Application.Initialize();
    TStartMenuHistoryViewer viewer(nullptr);  // its creation is the first, untimed load
    if (viewer.ListView1->RowCount() != values) {
        std::fprintf(stderr, "the viewer lists %d rows, not %d\n", viewer.ListView1->RowCount(), values);
        return 1;
    }

    std::vector<double> walks, loads;
    for (int round = 0; round < rounds; ++round) {
        walks.push_back(SecondsOf([] {
            TStartHistory history;
            history.ReadHistory();
        }));
        loads.push_back(SecondsOf([&] { viewer.Button2Click(); }));
        std::printf("round %d: walk %.2f s, full load %.2f s\n", round + 1, walks.back(), loads.back());
    }
    const double walk = Median(walks);
    const double load = Median(loads);
    std::printf("median of %d rounds: walk %.2f s, full load %.2f s, ratio %.2f\n", rounds, walk, load, load / walk);
    return 0;
}
