#pragma once

#include "platform/darwin/linux/NetlinkSource.h"

#include <linux/netlink.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <utility>
#include <vector>

// A netlink source in place of the kernel's socket: each request goes to a script, whose
// answer gives the datagrams the reads that follow receive.
class ScriptedNetlink : public darwin::NetlinkSource {
public:
    using Bytes = std::vector<unsigned char>;

    // The datagrams, then — past them — a failed receive with error (EIO when 0), where
    // a socket would wait for ever.
    struct Answer {
        std::vector<Bytes> datagrams;
        int error = 0;
    };
    using Script = std::function<Answer(std::span<const unsigned char> request)>;

    explicit ScriptedNetlink(Script script) : script_(std::move(script)) {}

    // The nlmsghdr a request starts with.
    static nlmsghdr headerOf(std::span<const unsigned char> request) {
        nlmsghdr header{};
        std::memcpy(&header, request.data(), std::min(request.size(), sizeof header));
        return header;
    }

    bool request(std::span<const unsigned char> message) override {
        answer_ = script_(message);
        given_ = 0;
        return true;
    }

    std::span<const unsigned char> receive() override {
        if (given_ < answer_.datagrams.size()) {
            return answer_.datagrams[given_++];
        }
        errno = answer_.error != 0 ? answer_.error : EIO;
        return {};
    }

private:
    Script script_;
    Answer answer_;
    size_t given_ = 0;
};
