#pragma once

#include "platform/darwin/linux/SockDiagSource.h"

#include <linux/netlink.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// Socket dumps as recorded from the kernel (tests/fixtures/sock-diag, made by record.py
// there), served to the Linux backend in place of its netlink socket.
class RecordedSockDiag : public darwin::SockDiagSource {
public:
    using Bytes = std::vector<unsigned char>;

    // The answers for each (family, protocol), one per request, the last one again and
    // again; a query without answers gets the kernel's error for a protocol it cannot
    // dump (ENOENT). receiveError, when set, fails every read.
    struct Answers {
        std::map<std::pair<int, int>, std::vector<Bytes>> byQuery;
        int requests = 0;
        int receiveError = 0;
    };

    static Factory factory(std::shared_ptr<Answers> answers) {
        return [answers] { return std::make_unique<RecordedSockDiag>(answers); };
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

    explicit RecordedSockDiag(std::shared_ptr<Answers> answers) : answers_(std::move(answers)) {}

    bool request(const darwin::SockDiagQuery& query) override {
        const auto found = answers_->byQuery.find({query.family, query.protocol});
        current_ = errorMessage(ENOENT);
        if (found != answers_->byQuery.end() && !found->second.empty()) {
            const size_t served = std::min(served_[found->first]++, found->second.size() - 1);
            current_ = found->second[served];
        }
        ++answers_->requests;
        unread_ = true;
        return true;
    }

    // The whole answer as one datagram; after it, nothing more (a read that would wait).
    std::span<const unsigned char> receive() override {
        if (answers_->receiveError != 0 || !unread_) {
            errno = answers_->receiveError != 0 ? answers_->receiveError : EIO;
            return {};
        }
        unread_ = false;
        return current_;
    }

private:
    std::shared_ptr<Answers> answers_;
    std::map<std::pair<int, int>, size_t> served_;
    Bytes current_;
    bool unread_ = false;
};
