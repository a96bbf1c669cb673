#include "platform/ui/DelayedPerform.h"

#include "support/EventLoop.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using ui::DelayedPerform;

TEST(DelayedPerform, RunsOnceAfterTheDelay) {
    int target = 0;
    int runs = 0;
    DelayedPerform::performAfterDelay(&target, 0.01, [&] { ++runs; });
    EXPECT_EQ(DelayedPerform::pendingCount(&target), 1);
    EXPECT_TRUE(testenv::processEventsUntil([&] { return runs == 1; }));
    testenv::flushEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(DelayedPerform::pendingCount(&target), 0);
}

TEST(DelayedPerform, CancelStopsOnlyThatTargetsRequests) {
    int cancelledTarget = 0;
    int otherTarget = 0;
    int cancelledRuns = 0;
    int otherRuns = 0;
    DelayedPerform::performAfterDelay(&cancelledTarget, 0.0, [&] { ++cancelledRuns; });
    DelayedPerform::performAfterDelay(&cancelledTarget, 0.02, [&] { ++cancelledRuns; });
    DelayedPerform::performAfterDelay(&otherTarget, 0.02, [&] { ++otherRuns; });
    DelayedPerform::cancelPreviousPerformRequestsWithTarget(&cancelledTarget);
    EXPECT_EQ(DelayedPerform::pendingCount(&cancelledTarget), 0);
    EXPECT_EQ(DelayedPerform::pendingCount(&otherTarget), 1);
    EXPECT_TRUE(testenv::processEventsUntil([&] { return otherRuns == 1; }));
    testenv::flushEvents();
    EXPECT_EQ(cancelledRuns, 0);
}

TEST(DelayedPerform, RequestCancelledFromAnotherThreadAfterItsTimerFiredDoesNotRun) {
    int target = 0;
    int runs = 0;
    DelayedPerform::performAfterDelay(&target, 0.0, [&] { ++runs; });
    // Let the zero timer become due without running the event loop, then cancel from
    // a worker thread before the main thread gets to it.
    QThread::msleep(5);
    std::thread canceller(
        [&] { DelayedPerform::cancelPreviousPerformRequestsWithTarget(&target); });
    canceller.join();
    testenv::flushEvents();
    EXPECT_EQ(runs, 0);
}

TEST(DelayedPerform, RunsOnTheEventLoopOfTheThreadThatAsked) {
    QThread worker;
    worker.start();
    std::atomic<QThread*> ranOn{nullptr};
    int target = 0;
    // Ask from the worker thread: the request must run there, not on the main thread.
    QObject context;
    context.moveToThread(&worker);
    QMetaObject::invokeMethod(
        &context,
        [&] {
            DelayedPerform::performAfterDelay(&target, 0.0,
                                              [&] { ranOn = QThread::currentThread(); });
        },
        Qt::QueuedConnection);
    EXPECT_TRUE(testenv::processEventsUntil([&] { return ranOn.load() != nullptr; }));
    EXPECT_EQ(ranOn.load(), &worker);
    worker.quit();
    worker.wait();
}

TEST(DelayedPerform, ACancelFromAnotherThreadWhileOthersCountStopsEveryRequest) {
    int target = 0;
    std::atomic<int> runs{0};
    for (int i = 0; i < 50; ++i) {
        DelayedPerform::performAfterDelay(&target, 0.0, [&] { ++runs; });
    }
    std::thread a([&] { DelayedPerform::cancelPreviousPerformRequestsWithTarget(&target); });
    std::thread b([&] { (void)DelayedPerform::pendingCount(&target); });
    a.join();
    b.join();
    testenv::flushEvents();
    EXPECT_EQ(runs.load(), 0);
    EXPECT_EQ(DelayedPerform::pendingCount(&target), 0);
}
