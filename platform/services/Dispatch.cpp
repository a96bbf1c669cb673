#include "platform/services/Dispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

namespace services {

void Dispatch::asyncMain(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void Dispatch::asyncMain(const QObject* context, std::function<void()> work) {
    QMetaObject::invokeMethod(const_cast<QObject*>(context), std::move(work), Qt::QueuedConnection);
}

void Dispatch::asyncGlobal(std::function<void()> work) {
    QThreadPool::globalInstance()->start(std::move(work));
}

} // namespace services
