#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace testenv {

// Collects, while it lives, the warnings logged in one category ("ormel.process"); other
// messages are dropped. Main thread only: the handler is process-wide.
class MessageLog {
public:
    explicit MessageLog(const char* category) : category_(category) {
        current() = this;
        previous_ = qInstallMessageHandler(&MessageLog::collect);
    }
    ~MessageLog() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const QStringList& warnings() const { return warnings_; }

private:
    static MessageLog*& current() {
        static MessageLog* log = nullptr;
        return log;
    }
    static void collect(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && qstrcmp(context.category, current()->category_) == 0) {
            current()->warnings_.append(text);
        }
    }

    const char* category_;
    QtMessageHandler previous_ = nullptr;
    QStringList warnings_;
};

} // namespace testenv
