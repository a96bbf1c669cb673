#include "platform/services/Dispatch.h"

#include <QMetaObject>

namespace services {

void Dispatch::asyncMain(const QObject* context, std::function<void()> work) {
    QMetaObject::invokeMethod(const_cast<QObject*>(context), std::move(work), Qt::QueuedConnection);
}

} // namespace services
