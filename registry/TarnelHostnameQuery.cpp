#include "registry/TarnelHostnameQuery.h"

#include "history/HistoryDB.h"

TarnelHostnameQuery::TarnelHostnameQuery(const QString& address, QObject* receiverObject,
                                         ReverseDNSDelegate* receiver)
    : address_(address), rdns_(new ReverseDNS(this)), receiverObject_(receiverObject),
      receiver_(receiver) {
    rdns_->setDelegate(this);
}

TarnelHostnameQuery* TarnelHostnameQuery::start(const QString& address, QObject* receiverObject,
                                                ReverseDNSDelegate* receiver) {
    auto* query = new TarnelHostnameQuery(address, receiverObject, receiver);
    query->rdns_->lookupHostnameByIPAddress(address);
    return query;
}

void TarnelHostnameQuery::reverseDNSFoundHostname(ReverseDNS* /*sender*/, const QString& hostname) {
    if (hostname.isEmpty()) {
        return;
    }
    if (HistoryDB* history = HistoryDB::sharedInstance()) {
        history->updateHostnameWithIPAddress(hostname, address_);
    }
    if (receiverObject_) {
        receiver_->reverseDNSFoundHostname(rdns_, hostname);
    }
}

void TarnelHostnameQuery::reverseDNSQueryEnded(ReverseDNS* /*sender*/) {
    deleteLater();
}
