#include "platform/ui/DelayedPerform.h"

#include "support/EventLoop.h"
#include "support/ManualTimer.h"

#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

using ui::DelayedPerform;

namespace {

class DelayedPerformTest : public ::testing::Test {
protected:
    void SetUp() override { DelayedPerform::setTimer(&timer); }
    void TearDown() override {
        DelayedPerform::cancelPreviousPerformRequestsWithTarget(&target);
        DelayedPerform::cancelPreviousPerformRequestsWithTarget(&other);
        DelayedPerform::setTimer(nullptr);
    }
    void advanceBy(int milliseconds) {
        timer.advanceBy(milliseconds);
        testenv::flushEvents();
    }

    testenv::ManualTimer timer;
    int target = 0;
    int other = 0;
};

TEST_F(DelayedPerformTest, RunsOnceWhenItsDelayHasPassedAndNeverBefore) {
    // Delays in seconds and the millisecond at which each is due: parts of a
    // millisecond round up, a delay below zero is none.
    const std::pair<double, int> cases[] = {{0.01, 10}, {0.0015, 2}, {0.0, 0}, {-1.0, 0}};
    for (const auto& [seconds, dueAt] : cases) {
        SCOPED_TRACE(seconds);
        int runs = 0;
        DelayedPerform::performAfterDelay(&target, seconds, [&] { ++runs; });
        advanceBy(std::max(dueAt - 1, 0));
        EXPECT_EQ(runs, dueAt > 0 ? 0 : 1);
        advanceBy(1);
        EXPECT_EQ(runs, 1);
        advanceBy(60 * 1000);
        EXPECT_EQ(runs, 1);
    }
}

TEST_F(DelayedPerformTest, CancelStopsEveryRequestOfThatTargetAndOnlyThose) {
    int cancelledRuns = 0;
    int otherRuns = 0;
    DelayedPerform::performAfterDelay(&target, 0.0, [&] { ++cancelledRuns; });
    DelayedPerform::performAfterDelay(&target, 0.02, [&] { ++cancelledRuns; });
    DelayedPerform::performAfterDelay(&other, 0.02, [&] { ++otherRuns; });
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(&target);
    advanceBy(20);
    EXPECT_EQ(cancelledRuns, 0);
    EXPECT_EQ(otherRuns, 1);
}

TEST_F(DelayedPerformTest, ACancelFromAnotherThreadHoldsEvenAfterTheDelayHasPassed) {
    int runs = 0;
    for (int i = 0; i < 2; ++i) {
        DelayedPerform::performAfterDelay(&target, 0.05, [&] { ++runs; });
    }
    timer.advanceBy(50); // the work now waits in this thread's event loop, not run yet
    std::thread([&] { DelayedPerform::cancelPreviousPerformRequestsWithTarget(&target); }).join();
    testenv::flushEvents();
    EXPECT_EQ(runs, 0);
}

TEST_F(DelayedPerformTest, RunsOnTheEventLoopOfTheThreadThatAsked) {
    QThread worker;
    worker.start();
    QObject onWorker;
    onWorker.moveToThread(&worker);
    std::atomic<QThread*> ranOn{nullptr};
    QMetaObject::invokeMethod(
        &onWorker,
        [&] {
            DelayedPerform::performAfterDelay(&target, 0.01,
                                              [&] { ranOn = QThread::currentThread(); });
        },
        Qt::BlockingQueuedConnection);
    advanceBy(10); // the timer calls back here, on the main thread
    // The worker runs what is posted to it in order: after this the work has run.
    QMetaObject::invokeMethod(
        &onWorker, [] {}, Qt::BlockingQueuedConnection);
    EXPECT_EQ(ranOn.load(), &worker);
    worker.quit();
    worker.wait();
}

TEST_F(DelayedPerformTest, TheQtTimerRunsTheWorkFromTheCallingThreadsEventLoop) {
    DelayedPerform::setTimer(nullptr);
    int runs = 0;
    DelayedPerform::performAfterDelay(&target, 0.0, [&] { ++runs; });
    EXPECT_EQ(runs, 0) << "not within the call";
    testenv::flushEvents();
    EXPECT_EQ(runs, 1);
}

} // namespace
