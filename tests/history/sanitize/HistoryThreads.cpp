// ThreadSanitizer check of the history's one shared connection as the program uses
// it: a gathering thread records every destination in transactions (and tries a
// commit with none open), reverse-DNS threads look addresses up synchronously
// against a loopback responder and write the host names, screen-like readers list,
// read, comment, delete and optimize, and the main thread's event loop starts
// background lookups whose answers its delegate writes. Afterwards the table must
// hold exactly what the threads did.
//
//     history_threads_tsan RESOURCE-DIR [ROUNDS]

#include "history/HistoryDB.h"
#include "registry/ReverseDNS.h"
#include "tests/history/sanitize/QtHandOffs.h"
#include "tests/registry/DnsResponder.h"

#include <QDir>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int keptCount = 12;  // rows nothing deletes
constexpr int doomedCount = 6; // rows the readers delete as they find them
constexpr int lookupThreads = 3;
constexpr int readerThreads = 2;
constexpr int backgroundQueries = 40;
constexpr int defaultRounds = 30;

QString address(int index) {
    return index < keptCount ? QStringLiteral("10.1.0.%1").arg(index + 1)
                             : QStringLiteral("10.2.0.%1").arg(index - keptCount + 1);
}
bool isDoomed(const QString& text) {
    return text.startsWith(QStringLiteral("10.2."));
}
// The name the responder gives "a.b.c.d": "host-a-b-c-d.example".
QString hostFor(const QString& text) {
    return QStringLiteral("host-") + QString(text).replace('.', '-') + QStringLiteral(".example");
}

// The PTR answer for the question "d.c.b.a.in-addr.arpa.".
QByteArray answerPtr(const QByteArray& id, const QByteArray& question) {
    QList<QByteArray> labels;
    for (int at = 0; at < question.size() && question[at] != 0; at += 1 + question[at]) {
        labels.append(question.mid(at + 1, question[at]));
    }
    QByteArray host = "host";
    for (int i = 3; i >= 0 && i < labels.size(); --i) {
        host += '-' + labels[i];
    }
    return build(Reply({ptr(host + ".example")}), id, question);
}

struct Tally {
    std::atomic<int> running{0};
    std::atomic<long> wrong{0};
    std::atomic<long> namesWritten{0};
    std::atomic<int> committed{0};
    std::atomic<int> backgroundAnswers{0};

    void fault(const char* what, const QString& detail) {
        std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail));
        ++wrong;
    }
};

void gather(HistoryDB& db, int rounds, Tally& tally) {
    for (int round = 0; round < rounds; ++round) {
        if (!db.begin()) {
            tally.fault("gathering", QStringLiteral("BEGIN failed in round %1").arg(round));
            continue;
        }
        for (int i = 0; i < keptCount + doomedCount; ++i) {
            db.insertHistory(
                {address(i), "JP", "Japan", "APNIC", "Asia", "10.0.0.0/8", "20240101"});
        }
        if (!db.commit()) {
            tally.fault("gathering", QStringLiteral("COMMIT failed in round %1").arg(round));
            continue;
        }
        ++tally.committed;
        if (round % 5 == 0 && db.commit()) { // none open: fails and rolls back nothing
            tally.fault("gathering", QStringLiteral("a COMMIT without BEGIN passed"));
        }
    }
}

void lookUp(HistoryDB& db, int rounds, Tally& tally) {
    ReverseDNS dns;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < keptCount + doomedCount; i += 1 + round % 3) {
            const QStringList& names = dns.lookupWithAddress(address(i));
            if (names != QStringList{hostFor(address(i))}) {
                tally.fault("lookup", address(i) + " -> " + names.join(','));
                continue;
            }
            db.updateHostnameWithIPAddress(names.front(), address(i));
            ++tally.namesWritten;
        }
    }
}

// What a history screen does: lists, opens rows, comments on them and deletes some.
void read(HistoryDB& db, int reader, const std::atomic<bool>& gathering, Tally& tally) {
    const QString comment = QStringLiteral("reader %1").arg(reader);
    for (int pass = 0; gathering || pass < 3; ++pass) {
        for (const QString& id : db.selectAllHistoriesOrderBy(pass % 2 + 1)) {
            const QStringList row = db.selectHistory(id.toInt());
            if (row.isEmpty()) {
                continue; // deleted since the listing
            }
            if (row.size() != 13 || row[0] != id || row[1].toInt() < 1) {
                tally.fault("reader", row.join('|'));
                continue;
            }
            if (isDoomed(row[4])) {
                db.deleteHistory(id.toInt());
            } else {
                db.updateCommentsPkey(comment, id.toInt());
            }
        }
        if (pass % 4 == 3) {
            db.optimize();
        }
    }
}

// The main thread's screen: starts background lookups from the event loop and writes
// the names its delegate receives.
class BackgroundLookups : public QObject, public ReverseDNSDelegate {
public:
    BackgroundLookups(HistoryDB& db, Tally& tally) : db_(db), tally_(tally) {
        dns_.setDelegate(this);
    }
    void startOne() {
        if (started_ < backgroundQueries) {
            dns_.lookupHostnameByIPAddress(address(started_++ % (keptCount + doomedCount)));
        }
    }
    bool allStarted() const { return started_ == backgroundQueries; }
    void reverseDNSFoundHostname(ReverseDNS*, const QString& hostname) override {
        const QString answered = hostname.mid(5, hostname.indexOf('.') - 5).replace('-', '.');
        if (hostname != hostFor(answered)) {
            tally_.fault("background lookup", hostname);
            return;
        }
        db_.updateHostnameWithIPAddress(hostname, answered);
        ++tally_.backgroundAnswers;
    }

private:
    HistoryDB& db_;
    Tally& tally_;
    ReverseDNS dns_;
    int started_ = 0;
};

// Every row is one of ours, once; a kept row was counted by every committed round,
// and its name and comment are the ones written or none.
void checkTable(HistoryDB& db, int rounds, Tally& tally) {
    QStringList ours;
    for (int i = 0; i < keptCount + doomedCount; ++i) {
        ours.append(address(i));
    }
    QStringList seen;
    int kept = 0;
    for (const QString& id : db.selectAllHistoriesOrderBy(2)) {
        const QStringList row = db.selectHistory(id.toInt());
        const QString& ipaddr = row.value(4);
        const int count = row.value(1).toInt();
        const bool known = ours.contains(ipaddr) && !seen.contains(ipaddr);
        if (row.size() != 13 || !known || (row[2] != "" && row[2] != hostFor(ipaddr)) ||
            (row[3] != "" && !row[3].startsWith(QStringLiteral("reader "))) ||
            (!isDoomed(ipaddr) && count != rounds) || count < 1 || count > rounds) {
            tally.fault("final table", row.join('|'));
        }
        seen.append(ipaddr);
        kept += isDoomed(ipaddr) ? 0 : 1;
    }
    if (kept != keptCount || seen.size() > keptCount + doomedCount) {
        tally.fault("final table", QStringLiteral("%1 rows, %2 kept").arg(seen.size()).arg(kept));
    }
}

} // namespace

// Halt at the first report, and read the suppressions for the uninstrumented Qt and glibc.
extern "C" const char* __tsan_default_options() {
    return "halt_on_error=1:exitcode=66:second_deadlock_stack=1:"
           "suppressions=" ORMEL_TSAN_SUPPRESSIONS;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s RESOURCE-DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : defaultRounds;
    char documents[] = "/tmp/ormel-history-tsan-XXXXXX";
    if (::mkdtemp(documents) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("ORMEL_RESOURCE_DIR", argv[1], 1);
    ::setenv("ORMEL_DOCUMENTS_DIR", documents, 1);
    HandOffApplication application(argc, argv);
    DnsResponder responder(answerPtr);
    Tally tally;
    int result = 1;
    {
        HistoryDB db;
        if (!db.isReady()) {
            std::fprintf(stderr, "no history template in %s\n", argv[1]);
            return 1;
        }
        std::atomic<bool> gathering{true};
        std::vector<std::thread> threads;
        const auto spawn = [&](std::function<void()> work) {
            ++tally.running;
            threads.emplace_back([&tally, work = std::move(work)] {
                work();
                --tally.running;
            });
        };
        spawn([&] {
            gather(db, rounds, tally);
            gathering = false;
        });
        for (int i = 0; i < lookupThreads; ++i) {
            spawn([&] { lookUp(db, rounds / 3 + 1, tally); });
        }
        for (int i = 0; i < readerThreads; ++i) {
            spawn([&, i] { read(db, i, gathering, tally); });
        }

        BackgroundLookups screen(db, tally);
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            screen.startOne();
            if (screen.allStarted() && tally.running == 0) {
                application.quit();
            }
        });
        tick.start(2);
        application.exec();
        for (std::thread& thread : threads) {
            thread.join();
        }
        if (!ReverseDNS::waitForQueries(30000)) {
            tally.fault("background lookups", QStringLiteral("still running"));
        }
        QCoreApplication::sendPostedEvents(); // the last answers' queued calls
        HandOffApplication::dropKeptCalls();
        if (tally.backgroundAnswers != backgroundQueries) {
            tally.fault("background lookups",
                        QStringLiteral("%1 answered").arg(tally.backgroundAnswers.load()));
        }
        if (tally.committed != rounds) {
            tally.fault("gathering", QStringLiteral("%1 committed").arg(tally.committed.load()));
        }
        checkTable(db, rounds, tally);
        result = tally.wrong == 0 ? 0 : 1;
    }
    QDir(QString::fromLocal8Bit(documents)).removeRecursively();
    std::printf("%d rounds committed, %ld host names written, %d background answers, %ld wrong\n",
                tally.committed.load(), tally.namesWritten.load(), tally.backgroundAnswers.load(),
                tally.wrong.load());
    return result;
}
