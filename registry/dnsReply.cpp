#include "registry/dnsReply.h"

#include "platform/darwin/ByteOrder.h"

#include <arpa/inet.h>
#include <resolv.h>

#include <algorithm>
#include <optional>

namespace {

constexpr size_t headerSize = 12;
constexpr size_t fixedRecordSize = 10; // type, class, TTL, data length

uint16_t readBig16(const uint8_t* at) {
    return darwin::readInteger<uint16_t, std::endian::big>(at, 0);
}

// A bounded cursor over the reply.
struct Reply {
    const uint8_t* begin;
    const uint8_t* end;

    // The name at `at` expanded into text and the bytes it takes there, or nothing
    // when it cannot be expanded inside the reply.
    std::optional<std::pair<std::string, size_t>> name(const uint8_t* at) const {
        if (at >= end) {
            return std::nullopt;
        }
        char text[NS_MAXDNAME + 1];
        const int used = dn_expand(begin, end, at, text, sizeof text);
        if (used <= 0 || static_cast<size_t>(used) > static_cast<size_t>(end - at)) {
            return std::nullopt;
        }
        return std::make_pair(std::string(text), static_cast<size_t>(used));
    }
};

// Reads one record's data of the asked type; false when it is unreadable.
bool readAnswer(const Reply& reply, const uint8_t* data, size_t dataLength, int type,
                std::vector<std::string>& results) {
    switch (type) {
    case dns_type_ptr: {
        const auto host = reply.name(data);
        if (!host || host->second > dataLength) {
            return false;
        }
        results.push_back(host->first);
        return true;
    }
    case dns_type_mx: {
        // The preference, then the exchange's name: read, not reported.
        const auto exchange = dataLength > 2 ? reply.name(data + 2) : std::nullopt;
        return exchange && exchange->second <= dataLength - 2;
    }
    case dns_type_a: {
        if (dataLength != 4) {
            return false;
        }
        char text[INET_ADDRSTRLEN];
        if (!inet_ntop(AF_INET, data, text, sizeof text)) {
            return false;
        }
        results.emplace_back(text);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

int dns_reply_answers(const uint8_t* reply, size_t length, int type,
                      std::vector<std::string>& results) {
    if (!reply || length < headerSize || (reply[3] & 0x0f) != 0) {
        return -1;
    }
    const Reply bounds{reply, reply + std::min(length, dns_reply_limit)};
    const uint8_t* at = reply + headerSize;
    for (unsigned question = readBig16(reply + 4); question > 0; --question) {
        const auto name = bounds.name(at);
        if (!name || static_cast<size_t>(bounds.end - at) - name->second < 4) {
            return -1;
        }
        at += name->second + 4;
    }
    int result = -1;
    for (unsigned answer = readBig16(reply + 6); answer > 0; --answer) {
        const auto owner = bounds.name(at);
        if (!owner || static_cast<size_t>(bounds.end - at) - owner->second < fixedRecordSize) {
            break;
        }
        const uint8_t* fixed = at + owner->second;
        const size_t dataLength = readBig16(fixed + 8);
        const uint8_t* data = fixed + fixedRecordSize;
        if (dataLength > static_cast<size_t>(bounds.end - data)) {
            break;
        }
        if (readBig16(fixed) == type) {
            if (!readAnswer(bounds, data, dataLength, type, results)) {
                break;
            }
            result = 0;
        }
        at = data + dataLength;
    }
    return result;
}
