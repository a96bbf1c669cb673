#pragma once

#include <QCoreApplication>

// The application object of a ThreadSanitizer program: each event it delivers comes
// after the queued calls posted so far (QtHandOffs.cpp).
class HandOffApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override;
    // Frees the queued calls the program kept, once every one has run; main thread.
    static void dropKeptCalls();
};
