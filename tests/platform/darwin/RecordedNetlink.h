#pragma once

#include "ScriptedNetlink.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Serves the rtnetlink dumps recorded by tools/netlink/record-dumps from a namespace
// (tests/fixtures/netlink/NAME/*.nl), each dump as one datagram, or answers a test puts
// in their place.
class RecordedNetlink {
public:
    using Bytes = std::vector<unsigned char>;
    // One answer to a request: its datagrams, then — when error is not 0 — a failed
    // receive with that errno.
    using Answer = ScriptedNetlink::Answer;

    explicit RecordedNetlink(const std::string& name);

    // The recorded dump of a request (RTM_GETLINK with AF_UNSPEC, …).
    Bytes recorded(uint16_t type, uint8_t family) const;
    // The next requests of that kind get these answers, in order, before the recording.
    void answerNext(uint16_t type, uint8_t family, std::vector<Answer> answers);
    // How often that dump was requested.
    int requests(uint16_t type, uint8_t family) const;
    // The last request of that kind, as sent.
    Bytes lastRequest(uint16_t type, uint8_t family) const;

    darwin::NetlinkConnector connector();

private:
    using Key = std::pair<uint16_t, uint8_t>;

    Answer answer(std::span<const unsigned char> request);

    std::string directory_;
    std::map<Key, std::deque<Answer>> answers_;
    std::map<Key, int> requests_;
    std::map<Key, Bytes> lastRequests_;
};
