#pragma once

#include "registry/ReverseDNS.h"

#include <QByteArray>
#include <QList>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

// DNS replies built byte by byte, and a responder on the loopback that sends them, for
// the cases that query through ReverseDNS (the GoogleTest cases and the
// ThreadSanitizer program, so no test framework here).

inline QByteArray big16(int value) {
    QByteArray bytes(2, '\0');
    bytes[0] = static_cast<char>(value >> 8 & 0xff);
    bytes[1] = static_cast<char>(value & 0xff);
    return bytes;
}

// A name in labels: wireName("a.example") is "\1a\7example\0".
inline QByteArray wireName(const QByteArray& dotted) {
    QByteArray wire;
    for (const QByteArray& label : dotted.split('.')) {
        wire += static_cast<char>(label.size()) + label;
    }
    return wire + '\0';
}

inline const QByteArray toQuestionName = QByteArray::fromHex("c00c"); // pointer to the question

inline QByteArray record(int type, const QByteArray& data, int dataLength = -1) {
    return toQuestionName + big16(type) + big16(1) + QByteArray(4, '\0') +
           big16(dataLength < 0 ? data.size() : dataLength) + data;
}
inline QByteArray ptr(const QByteArray& host) {
    return record(12, wireName(host));
}
inline QByteArray cname(const QByteArray& alias) {
    return record(5, wireName(alias));
}

struct Reply {
    Reply(QList<QByteArray> answers_, int rcode_ = 0, int answerCount_ = -1, int cutTo_ = -1)
        : answers(std::move(answers_)), rcode(rcode_), answerCount(answerCount_), cutTo(cutTo_) {}
    QList<QByteArray> answers;
    int rcode;
    int answerCount; // the header's count, when it is not the records'
    int cutTo;       // the reply's length, when it is cut
};

// The reply to `question` (the query's question section, its name first).
inline QByteArray build(const Reply& reply, const QByteArray& id, const QByteArray& question) {
    QByteArray bytes = id + big16(0x8180 | reply.rcode) + big16(1) +
                       big16(reply.answerCount < 0 ? reply.answers.size() : reply.answerCount) +
                       big16(0) + big16(0) + question;
    for (const QByteArray& answer : reply.answers) {
        bytes += answer;
    }
    return reply.cutTo < 0 ? bytes : bytes.left(reply.cutTo);
}

// Answers each query on 127.0.0.1 (an ephemeral UDP port) with the reply the
// function makes from the query's id and question; until release(), when held,
// queries wait unanswered (and are then answered in the order they came, or the
// last first). Throws std::runtime_error when it cannot listen.
class DnsResponder {
public:
    using Answer = std::function<QByteArray(const QByteArray& id, const QByteArray& question)>;

    explicit DnsResponder(Answer answer, bool held = false) : answer_(std::move(answer)) {
        held_ = held;
        socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof local;
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
            ::close(socket_);
            throw std::runtime_error("cannot bind the DNS responder to 127.0.0.1");
        }
        port_ = ntohs(local.sin_port);
        thread_ = std::thread([this] { serve(); });
        ReverseDNS::setServersForTesting({{QStringLiteral("127.0.0.1"), port_}});
    }
    ~DnsResponder() {
        ReverseDNS::setServersForTesting({});
        stop_ = true;
        thread_.join();
        ::close(socket_);
    }
    void release(bool lastFirst = false) {
        lastFirst_ = lastFirst;
        held_ = false;
    }
    int queries() const { return queries_; }

private:
    void serve() {
        std::vector<std::pair<QByteArray, sockaddr_in>> waiting;
        while (!stop_) {
            pollfd ready{socket_, POLLIN, 0};
            if (::poll(&ready, 1, 20) == 1) {
                char buffer[1500];
                sockaddr_in from{};
                socklen_t size = sizeof from;
                const ssize_t length = ::recvfrom(socket_, buffer, sizeof buffer, 0,
                                                  reinterpret_cast<sockaddr*>(&from), &size);
                if (length > 12) {
                    ++queries_;
                    waiting.emplace_back(QByteArray(buffer, static_cast<int>(length)), from);
                }
            }
            if (held_) {
                continue;
            }
            if (lastFirst_) {
                std::reverse(waiting.begin(), waiting.end());
            }
            for (const auto& [query, from] : waiting) {
                // The query carries its question and nothing after it.
                const QByteArray reply = answer_(query.left(2), query.mid(12));
                ::sendto(socket_, reply.constData(), static_cast<size_t>(reply.size()), 0,
                         reinterpret_cast<const sockaddr*>(&from), sizeof from);
            }
            waiting.clear();
        }
    }

    Answer answer_;
    int socket_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> held_{false};
    std::atomic<bool> lastFirst_{false};
    std::atomic<int> queries_{0};
    std::thread thread_;
};
