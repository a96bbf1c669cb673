#include "update/RegistryUpdateCommand.h"

#include "common/OutputFile.h"
#include "registry/TarnelDB.h"
#include "update/RegistryUpdate.h"
#include "update/UpdateDB.h"

#include <QEventLoop>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QString dayText(const QDateTime& date) {
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd"));
}

bool printLine(const QString& line) {
    return OutputFile::writeAll(STDOUT_FILENO, (line + QLatin1Char('\n')).toUtf8());
}

class CommandDelegate : public RegistryUpdateDelegate {
public:
    explicit CommandDelegate(QEventLoop& loop) : loop_(loop), bar_(::isatty(STDERR_FILENO) == 1) {}

    int status = EXIT_FAILURE;
    bool done = false;

    void registryUpdateProgress(qint64 received, qint64 total) override {
        if (!bar_) {
            return;
        }
        constexpr int width = 40;
        const double megabytes = double(received) / 1e6;
        if (total <= 0) {
            std::fprintf(stderr, "\r%.1f MB", megabytes);
        } else {
            const int filled = int(double(width) * double(received) / double(total));
            std::fprintf(stderr, "\r[%-*s] %3d%% %.1f/%.1f MB", width,
                         QByteArray(filled, '#').constData(), int(100 * received / total),
                         megabytes, double(total) / 1e6);
        }
        std::fflush(stderr);
        drawn_ = true;
    }

    void registryUpdateDidSucceed(const Installed& installed) override {
        endBar();
        const bool printed = printLine(QStringLiteral("installed %1: %2 ranges, dated %3")
                                           .arg(QString::fromLatin1(TarnelDB::fileName))
                                           .arg(installed.ranges)
                                           .arg(dayText(installed.dated)));
        status = printed ? EXIT_SUCCESS : EXIT_FAILURE;
        done = true;
        loop_.quit();
    }

    void registryUpdateDidFail(Stage /*stage*/, const QString& message) override {
        endBar();
        std::fprintf(stderr, "ormel: registry update failed: %s\n", qPrintable(message));
        status = EXIT_FAILURE;
        done = true;
        loop_.quit();
    }

private:
    void endBar() {
        if (drawn_) {
            std::fputc('\n', stderr);
        }
    }

    QEventLoop& loop_;
    bool bar_;
    bool drawn_ = false;
};

} // namespace

int RegistryUpdateCommand::run(bool force) {
    const QString fileName = QString::fromLatin1(TarnelDB::fileName);
    if (!force && !UpdateDB::needsUpdateElapsed(fileName, UpdateDB::updateInterval)) {
        const auto dated = UpdateDB::modificationDate(fileName);
        return printLine(QStringLiteral("registry already current (dated %1)")
                             .arg(dated ? dayText(*dated) : QString()))
                   ? EXIT_SUCCESS
                   : EXIT_FAILURE;
    }
    QString error;
    RegistryUpdate::Options options{RegistrySources::fromEnvironment(&error), {}, 0, 0};
    if (options.sources.urls.isEmpty()) {
        std::fprintf(stderr, "ormel: registry update failed: %s\n", qPrintable(error));
        return EXIT_FAILURE;
    }
    QEventLoop loop;
    CommandDelegate delegate(loop);
    RegistryUpdate update(&delegate, std::move(options));
    update.start();
    // A failure found before any transfer (no backup possible) has ended it already.
    if (!delegate.done) {
        loop.exec();
    }
    return delegate.status;
}
