#pragma once

#include "registry/ReverseDNS.h"

#include <QObject>
#include <QPointer>
#include <QString>

// The host-name query of a lookup panel. The panel may close and go before the
// answer comes, so the query is not the panel's: it lives until the resolver is done,
// writes an answered name into the history in any case, passes it on to the panel
// while the panel exists, and then deletes itself.
class TarnelHostnameQuery : public QObject, public ReverseDNSDelegate {
public:
    // Starts looking `address` up; `receiver` hears the answer while it exists.
    template <class Receiver>
    static TarnelHostnameQuery* start(const QString& address, Receiver* receiver) {
        static_assert(std::is_base_of_v<QObject, Receiver> &&
                      std::is_base_of_v<ReverseDNSDelegate, Receiver>);
        return start(address, receiver, receiver);
    }

    const QString& address() const { return address_; }

    void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname) override;
    void reverseDNSQueryEnded(ReverseDNS* sender) override;

private:
    TarnelHostnameQuery(const QString& address, QObject* receiverObject,
                        ReverseDNSDelegate* receiver);
    static TarnelHostnameQuery* start(const QString& address, QObject* receiverObject,
                                      ReverseDNSDelegate* receiver);

    QString address_;
    ReverseDNS* rdns_; // a child of this query
    QPointer<QObject> receiverObject_;
    ReverseDNSDelegate* receiver_;
};
