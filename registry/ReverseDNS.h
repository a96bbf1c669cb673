#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class ReverseDNS;

// Receiver of a ReverseDNS's answers; the operations do nothing unless overridden.
// A delegate is also a QObject: the answer reaches it on the thread it lives on (the
// main thread), and not at all once it has been destroyed.
class ReverseDNSDelegate {
public:
    virtual ~ReverseDNSDelegate() = default;
    virtual void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname);
    virtual void reverseDNSNetworkReachabilityAnswer(ReverseDNS* sender, const QString& address);
    // After every background query, answered or not (also one that was not allowed to
    // start), and after its answer: an owner that waits for its queries can let go.
    virtual void reverseDNSQueryEnded(ReverseDNS* sender);
};

// Finds the host name of an IPv4 address (PTR under "in-addr.arpa.") or the
// addresses of a host name (A), synchronously or in the background.
//
// A background query runs on a worker thread (at most maxWorkers at once; more wait
// their turn), with resolver state of its own, and hands its first answer to the
// delegate through a queued call. The query keeps only weak references to this
// object and to the delegate: when either is gone by the time the answer arrives,
// nothing is called. A failed query, a negative reply or one without an answer of
// the asked type calls no answer operation, only reverseDNSQueryEnded.
class ReverseDNS : public QObject {
public:
    static constexpr int maxWorkers = 4;

    explicit ReverseDNS(QObject* parent = nullptr);

    template <class Delegate> void setDelegate(Delegate* delegate) {
        static_assert(std::is_base_of_v<QObject, Delegate> &&
                      std::is_base_of_v<ReverseDNSDelegate, Delegate>);
        delegateObject_ = delegate;
        delegate_ = delegate;
    }
    void clearDelegate();
    ReverseDNSDelegate* delegate() const { return delegateObject_ ? delegate_ : nullptr; }

    // Background forms: return at once.
    void lookupHostnameByIPAddress(const QString& address);
    void checkNetworkReachabilityWithName(const QString& hostname);

    // Synchronous forms: the answers, kept in results(); host() becomes the first
    // when there is one and is otherwise left as it was.
    const QStringList& lookupWithAddress(const QString& address);
    const QStringList& lookupWithHost(const QString& hostname);
    const QString& host() const { return host_; }
    const QStringList& results() const { return results_; }

    // "d.c.b.a.in-addr.arpa." for the dotted quad "a.b.c.d"; empty for other text.
    static std::string reverseName(const QString& address);
    // The same for an address in host byte order (as tl_parse_address gives it).
    static std::string reverseName(uint32_t address);

    // Queries go to these servers instead of the system's (an empty list restores
    // them), with one try each: tests answer on the loopback.
    static void setServersForTesting(const QList<std::pair<QString, uint16_t>>& servers);
    // Background queries are started only while allowed (the default). A run that only
    // prints what it has (a dump) forbids them: it must not ask the network anything.
    static void setBackgroundQueriesAllowed(bool allowed);
    // Waits until no background query is running; false when the bound passed first.
    static bool waitForQueries(int boundMs);

private:
    using Deliver = void (ReverseDNSDelegate::*)(ReverseDNS*, const QString&);
    void startQuery(std::string name, int type, Deliver deliver);
    const QStringList& lookup(const std::string& name, int type);

    QPointer<QObject> delegateObject_;
    ReverseDNSDelegate* delegate_ = nullptr;
    QString host_;
    QStringList results_;
};

// Runs one query of `type` for `name` through the resolver and appends the answers
// (dnsReply.h) to `results`: 0 when at least one was found, -1 otherwise. With
// `timeoutSeconds` above 0 each server gets one try of that long, instead of the
// tries and time-out the system configured.
int my_query(const char* name, int type, std::vector<std::string>& results, int timeoutSeconds = 0);
