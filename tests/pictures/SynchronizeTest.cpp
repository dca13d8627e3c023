// Worker threads running calls on the UI thread.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "pictures/Synchronize.h"

namespace {

struct SynchronizeTest : testing::Test {
    void SetUp() override { InitSynchronize(); }
};

}  // namespace

TEST_F(SynchronizeTest, TheThreadThatInitialisesIsTheUiThread)
{
    EXPECT_EQ(MainThreadId(), GetCurrentThreadId());
    InitSynchronize();  // again: no change
    std::atomic<DWORD> seen{0};
    std::thread([&seen] {
        InitSynchronize();
        seen = MainThreadId();
    }).join();
    EXPECT_EQ(seen, GetCurrentThreadId());
}

TEST_F(SynchronizeTest, DispatchingMessagesRunsQueuedCalls)
{
    std::atomic<bool> returned{false};
    DWORD ranOn = 0;
    std::thread worker([&] {
        Synchronize([&ranOn] { ranOn = GetCurrentThreadId(); });
        returned = true;
        PostThreadMessageA(MainThreadId(), WM_NULL, 0, 0);  // wakes GetMessage below
    });
    MSG message;
    while (!returned && GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    worker.join();
    EXPECT_EQ(ranOn, GetCurrentThreadId());
}

TEST_F(SynchronizeTest, CheckSynchronizeRunsCallsOfManyWorkers)
{
    constexpr int Workers = 4;
    constexpr int CallsEach = 25;
    std::atomic<int> finished{0};
    std::vector<DWORD> ranOn;  // touched on this thread only
    std::vector<std::thread> workers;
    for (int w = 0; w < Workers; ++w)
        workers.emplace_back([&] {
            for (int c = 0; c < CallsEach; ++c)
                Synchronize([&ranOn] { ranOn.push_back(GetCurrentThreadId()); });
            ++finished;
        });
    while (finished < Workers)
        CheckSynchronize(5);
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_EQ(ranOn.size(), static_cast<std::size_t>(Workers * CallsEach));
    for (const DWORD thread : ranOn)
        EXPECT_EQ(thread, GetCurrentThreadId());
    EXPECT_FALSE(CheckSynchronize());
}

TEST_F(SynchronizeTest, ACallsExceptionReachesTheWorker)
{
    std::string caught;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            Synchronize([] { throw std::runtime_error("from the UI thread"); });
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        done = true;
    });
    while (!done)
        CheckSynchronize(5);
    worker.join();
    EXPECT_EQ(caught, "from the UI thread");
}

TEST_F(SynchronizeTest, OnTheUiThreadCallsRunAtOnceAndWorkersCannotCheck)
{
    int ran = 0;
    Synchronize([&ran] { ++ran; });
    EXPECT_EQ(ran, 1);
    bool checked = true;
    std::thread([&checked] { checked = CheckSynchronize(10); }).join();
    EXPECT_FALSE(checked);
}
