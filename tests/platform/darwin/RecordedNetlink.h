#pragma once

#include "platform/darwin/linux/NetlinkSource.h"

#include <linux/netlink.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <vector>

// Serves netlink dumps in place of the kernel's socket: those recorded into a fixture
// folder (netlink/namespace by tools/netlink/record-dumps, sock-diag by
// tools/netlink/record-sock-diag), each whole as one datagram, or answers a test puts in
// their place. A request is known by its type and the two bytes after its header: the
// family, and a SOCK_DIAG_BY_FAMILY request's protocol (0 in the others).
class RecordedNetlink {
public:
    using Bytes = std::vector<unsigned char>;
    struct Key {
        uint16_t type = 0;
        uint8_t family = 0;
        uint8_t protocol = 0;
        auto operator<=>(const Key&) const = default;
    };
    // The datagrams, then — past them — a failed receive with error (EIO when 0), where a
    // socket would wait for ever.
    struct Answer {
        std::vector<Bytes> datagrams;
        int error = 0;
    };

    // The files of tests/fixtures/FOLDER, each the dump of its request.
    RecordedNetlink(const std::string& folder, const std::map<Key, std::string>& files);

    // A NLMSG_ERROR message carrying -error, as the kernel refuses a request; an
    // NLMSG_DONE, as it closes a dump.
    static Bytes errorMessage(int error) { return controlMessage(NLMSG_ERROR, error); }
    static Bytes doneMessage() { return controlMessage(NLMSG_DONE, 0); }
    // Writes value at offset `at` of a dump, to spoil it.
    template <class T> static void put(Bytes& bytes, size_t at, T value) {
        std::memcpy(bytes.data() + at, &value, sizeof value);
    }

    // The next requests of that kind get these answers, in order, before its dump.
    void answerNext(const Key& key, const std::vector<Answer>& answers);
    // The requests of that kind, as sent.
    std::vector<Bytes> requestsOf(const Key& key) const;

    darwin::NetlinkConnector connector();
    // The answer to one request, which it records.
    Answer answer(std::span<const unsigned char> request);

    // What each request gets when no answer is queued for it; a request without a dump
    // gets the kernel's refusal of a protocol it cannot dump (ENOENT).
    std::map<Key, Bytes> dumps;
    // Every request, as sent, in order.
    std::vector<Bytes> requests;

private:
    static Bytes controlMessage(uint16_t type, int error);
    static Key keyOf(std::span<const unsigned char> request);

    std::map<Key, std::deque<Answer>> next_;
};
