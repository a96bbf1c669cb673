#pragma once

#include "ScriptedNetlink.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// Socket dumps as recorded from the kernel (tests/fixtures/sock-diag, made by
// tools/netlink/record-sock-diag), served to the Linux backend in place of its NETLINK_SOCK_DIAG
// socket.
class RecordedSockDiag {
public:
    using Bytes = std::vector<unsigned char>;
    using Query = std::pair<int, int>; // family, protocol

    // The answers for each (family, protocol), one per request of a source, the last one
    // again and again; a query without answers gets the kernel's error for a protocol it
    // cannot dump (ENOENT). receiveError, when set, fails every read. The requests as
    // sent, in order.
    struct Answers {
        std::map<Query, std::vector<Bytes>> byQuery;
        std::vector<Bytes> requests;
        int receiveError = 0;
    };

    // Opens a source over the answers per reading.
    static darwin::NetlinkConnector connector(std::shared_ptr<Answers> answers) {
        return [answers] {
            auto served = std::make_shared<std::map<Query, size_t>>();
            return std::make_unique<ScriptedNetlink>(
                [answers, served](std::span<const unsigned char> request) {
                    return answer(*answers, *served, request);
                });
        };
    }

    // A NLMSG_ERROR message carrying -error, as the kernel refuses a request.
    static Bytes errorMessage(int error) {
        Bytes message(NLMSG_LENGTH(sizeof(nlmsgerr)));
        const nlmsghdr header{static_cast<uint32_t>(message.size()), NLMSG_ERROR, 0, 1, 0};
        const nlmsgerr body{-error, {}};
        std::memcpy(message.data(), &header, sizeof header);
        std::memcpy(message.data() + NLMSG_HDRLEN, &body, sizeof body);
        return message;
    }

private:
    // TCPDIAG_GETSOCK asks for TCP of both families; SOCK_DIAG_BY_FAMILY names the family
    // and protocol in the two bytes after the header.
    static Query queryOf(std::span<const unsigned char> request) {
        if (ScriptedNetlink::headerOf(request).nlmsg_type == TCPDIAG_GETSOCK) {
            return {AF_UNSPEC, IPPROTO_TCP};
        }
        return request.size() >= NLMSG_HDRLEN + 2
                   ? Query{request[NLMSG_HDRLEN], request[NLMSG_HDRLEN + 1]}
                   : Query{};
    }

    static ScriptedNetlink::Answer answer(Answers& answers, std::map<Query, size_t>& served,
                                          std::span<const unsigned char> request) {
        answers.requests.emplace_back(request.begin(), request.end());
        if (answers.receiveError != 0) {
            return {{}, answers.receiveError};
        }
        const auto found = answers.byQuery.find(queryOf(request));
        if (found == answers.byQuery.end() || found->second.empty()) {
            return {{errorMessage(ENOENT)}, 0};
        }
        const size_t next = std::min(served[found->first]++, found->second.size() - 1);
        return {{found->second[next]}, 0};
    }
};
