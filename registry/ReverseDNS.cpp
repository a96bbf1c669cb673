#include "registry/ReverseDNS.h"

#include "registry/dnsReply.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

#include <atomic>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <resolv.h>

#include <algorithm>
#include <mutex>

void ReverseDNSDelegate::reverseDNSFoundHostname(ReverseDNS*, const QString&) {}
void ReverseDNSDelegate::reverseDNSNetworkReachabilityAnswer(ReverseDNS*, const QString&) {}
void ReverseDNSDelegate::reverseDNSQueryEnded(ReverseDNS*) {}

namespace {

std::mutex testServersLock;
std::vector<sockaddr_in> testServers;

// Points the resolver state at the test servers, when there are any.
void useTestServers(struct __res_state& state) {
    const std::lock_guard lock(testServersLock);
    if (testServers.empty()) {
        return;
    }
    const int count = static_cast<int>(std::min<size_t>(testServers.size(), MAXNS));
    for (int i = 0; i < count; ++i) {
        state.nsaddr_list[i] = testServers[static_cast<size_t>(i)];
    }
    state.nscount = count;
    state.retrans = 5;
    state.retry = 1;
}

// Background queries and the object their answers are posted through, made on the
// main thread at the first query and kept for the process's life: a query still
// waiting on the resolver at exit is not waited for.
struct Workers {
    QThreadPool pool;
    QObject mainThreadContext;

    Workers() {
        pool.setMaxThreadCount(ReverseDNS::maxWorkers);
        if (const QCoreApplication* application = QCoreApplication::instance()) {
            mainThreadContext.moveToThread(application->thread());
        }
    }
    static Workers& instance() {
        static Workers* const workers = new Workers;
        return *workers;
    }
};

} // namespace

int my_query(const char* name, int type, std::vector<std::string>& results, int timeoutSeconds) {
    struct __res_state state {};
    if (res_ninit(&state) != 0) {
        return -1;
    }
    useTestServers(state);
    if (timeoutSeconds > 0) {
        state.retrans = timeoutSeconds;
        state.retry = 1;
    }
    uint8_t answer[dns_reply_limit] = {};
    const int length = res_nquery(&state, name, ns_c_in, type, answer, sizeof answer);
    res_nclose(&state);
    if (length < 0) {
        return -1;
    }
    // The resolver reports the whole length of a longer reply it cut.
    const size_t kept = std::min(static_cast<size_t>(length), sizeof answer);
    return dns_reply_answers(answer, kept, type, results);
}

ReverseDNS::ReverseDNS(QObject* parent) : QObject(parent) {}

void ReverseDNS::clearDelegate() {
    delegateObject_.clear();
    delegate_ = nullptr;
}

std::string ReverseDNS::reverseName(const QString& address) {
    in_addr parsed{};
    if (inet_pton(AF_INET, address.toLatin1().constData(), &parsed) != 1) {
        return {};
    }
    return reverseName(ntohl(parsed.s_addr));
}

std::string ReverseDNS::reverseName(uint32_t address) {
    std::string name;
    for (int shift = 0; shift < 32; shift += 8) {
        name += std::to_string(address >> shift & 0xffu) + '.';
    }
    return name + "in-addr.arpa.";
}

void ReverseDNS::lookupHostnameByIPAddress(const QString& address) {
    startQuery(reverseName(address), dns_type_ptr, &ReverseDNSDelegate::reverseDNSFoundHostname);
}

void ReverseDNS::checkNetworkReachabilityWithName(const QString& hostname) {
    startQuery(hostname.toStdString(), dns_type_a,
               &ReverseDNSDelegate::reverseDNSNetworkReachabilityAnswer);
}

namespace {

std::atomic<bool> backgroundQueriesAllowed{true};

} // namespace

void ReverseDNS::setBackgroundQueriesAllowed(bool allowed) {
    backgroundQueriesAllowed = allowed;
}

void ReverseDNS::startQuery(std::string name, int type, Deliver deliver) {
    Workers& workers = Workers::instance();
    QObject* const context = &workers.mainThreadContext;
    const QPointer<ReverseDNS> sender(this);
    // Runs on the main thread, where the sender and its delegate are destroyed. The
    // queued call that runs it may be destroyed on the worker, after it has run: what it
    // holds is only read here.
    const auto report = [sender, deliver](bool answered, const QString& answer) {
        ReverseDNSDelegate* delegate = sender ? sender->delegate() : nullptr;
        if (delegate != nullptr && answered) {
            (delegate->*deliver)(sender.data(), answer);
        }
        // The answer's call may have let go of the sender or its delegate.
        if (ReverseDNSDelegate* after = sender ? sender->delegate() : nullptr) {
            after->reverseDNSQueryEnded(sender.data());
        }
    };
    if (name.empty() || !backgroundQueriesAllowed) {
        QMetaObject::invokeMethod(
            context, [report] { report(false, {}); }, Qt::QueuedConnection);
        return;
    }
    workers.pool.start([name = std::move(name), type, context, report] {
        std::vector<std::string> answers;
        const bool answered = my_query(name.c_str(), type, answers) == 0 && !answers.empty();
        const QString first = answered ? QString::fromStdString(answers.front()) : QString();
        QMetaObject::invokeMethod(
            context, [report, answered, first] { report(answered, first); }, Qt::QueuedConnection);
    });
}

const QStringList& ReverseDNS::lookup(const std::string& name, int type) {
    results_.clear();
    std::vector<std::string> answers;
    if (name.empty() || my_query(name.c_str(), type, answers) != 0) {
        return results_;
    }
    for (const std::string& answer : answers) {
        results_.append(QString::fromStdString(answer));
    }
    if (!results_.isEmpty()) {
        host_ = results_.front();
    }
    return results_;
}

const QStringList& ReverseDNS::lookupWithAddress(const QString& address) {
    return lookup(reverseName(address), dns_type_ptr);
}

const QStringList& ReverseDNS::lookupWithHost(const QString& hostname) {
    return lookup(hostname.toStdString(), dns_type_a);
}

void ReverseDNS::setServersForTesting(const QList<std::pair<QString, uint16_t>>& servers) {
    std::vector<sockaddr_in> addresses;
    for (const auto& [address, port] : servers) {
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        if (inet_pton(AF_INET, address.toLatin1().constData(), &server.sin_addr) == 1) {
            addresses.push_back(server);
        }
    }
    const std::lock_guard lock(testServersLock);
    testServers = std::move(addresses);
}

bool ReverseDNS::waitForQueries(int boundMs) {
    return Workers::instance().pool.waitForDone(boundMs);
}
