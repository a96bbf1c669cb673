// What ThreadSanitizer cannot see in the system Qt, told to it: Qt 6 hands a
// thread-pool job to its worker and a queued call to the receiver's thread under a
// QMutex, which waits on futexes the sanitizer does not model, so everything the
// job or call captured would look raced. The program's own definitions of the two
// entry points the code under test calls release a sync object before going on to
// Qt's, and the job and the event delivery acquire it first: the same edges Qt's
// mutex makes, and no more (every hand-off passes through that one mutex too).
// Suppressing the reports instead would hide races in the jobs' own code.
//
// A queued call is counted by a reference Qt drops, without the sanitizer seeing
// the count, on the poster's thread or the receiver's, whichever comes last: freed
// on the poster's, it would look raced with its run on the receiver's. So the
// program keeps one more reference to each call and drops those on the main thread
// at the end.

#include "tests/history/sanitize/QtHandOffs.h"

#include <QMetaObject>
#include <QThreadPool>

#include <dlfcn.h>

#include <functional>
#include <mutex>
#include <vector>

extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);

namespace {

char poolHandOff;
char postedHandOff;

std::mutex keptCallsLock;
std::vector<QtPrivate::QSlotObjectBase*> keptCalls;

// Qt's definition of a function this program defines too.
template <class Function> Function qtDefinition(const char* mangledName) {
    void* const found = ::dlsym(RTLD_NEXT, mangledName);
    if (found == nullptr) {
        qFatal("%s: not in the Qt library", mangledName);
    }
    return reinterpret_cast<Function>(found);
}

} // namespace

void QThreadPool::start(std::function<void()> functionToRun, int priority) {
    using Start = void (*)(QThreadPool*, std::function<void()>, int);
    static const Start qtStart = qtDefinition<Start>("_ZN11QThreadPool5startESt8functionIFvvEEi");
    std::function<void()> job = [run = std::move(functionToRun)] {
        __tsan_acquire(&poolHandOff);
        run();
    };
    __tsan_release(&poolHandOff);
    qtStart(this, std::move(job), priority);
}

bool QMetaObject::invokeMethodImpl(QObject* object, QtPrivate::QSlotObjectBase* slot,
                                   Qt::ConnectionType type, void* ret) {
    using Invoke = bool (*)(QObject*, QtPrivate::QSlotObjectBase*, Qt::ConnectionType, void*);
    static const Invoke qtInvoke = qtDefinition<Invoke>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14"
        "ConnectionTypeEPv");
    if (type == Qt::QueuedConnection && slot != nullptr) {
        slot->ref();
        const std::lock_guard lock(keptCallsLock);
        keptCalls.push_back(slot);
    }
    __tsan_release(&postedHandOff);
    return qtInvoke(object, slot, type, ret);
}

void HandOffApplication::dropKeptCalls() {
    std::vector<QtPrivate::QSlotObjectBase*> calls;
    {
        const std::lock_guard lock(keptCallsLock);
        calls.swap(keptCalls);
    }
    for (QtPrivate::QSlotObjectBase* call : calls) {
        call->destroyIfLastRef();
    }
}

bool HandOffApplication::notify(QObject* receiver, QEvent* event) {
    __tsan_acquire(&postedHandOff);
    return QCoreApplication::notify(receiver, event);
}
