#include "platform/darwin/linux/ProcNetRaw.h"

#include "platform/darwin/linux/TextFields.h"

#include <sys/socket.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

namespace darwin {

namespace {

template <class T> std::optional<T> parseHex(std::string_view field) {
    T value{};
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value, 16);
    if (field.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// "0100007F:0001": the address as 32-bit words in the host's order (one word for
// IPv4, four for IPv6), then the port.
bool parseEndpoint(std::string_view field, int family, std::array<uint8_t, 16>& address,
                   uint16_t& port) {
    const size_t colon = field.find(':');
    if (colon != (family == AF_INET ? 8u : 32u)) {
        return false;
    }
    for (size_t word = 0; word * 8 < colon; ++word) {
        const std::optional<uint32_t> value = parseHex<uint32_t>(field.substr(word * 8, 8));
        if (!value) {
            return false;
        }
        std::memcpy(address.data() + word * 4, &*value, 4);
    }
    const std::optional<uint16_t> number = parseHex<uint16_t>(field.substr(colon + 1));
    port = number.value_or(0);
    return number.has_value();
}

// "tx_queue:rx_queue" in hexadecimal.
bool parseQueues(std::string_view field, InetSocket& socket) {
    const size_t colon = field.find(':');
    const auto send = parseHex<uint32_t>(field.substr(0, colon));
    const auto receive = colon == std::string_view::npos
                             ? std::nullopt
                             : parseHex<uint32_t>(field.substr(colon + 1));
    socket.sendQueue = send.value_or(0);
    socket.receiveQueue = receive.value_or(0);
    return send && receive;
}

// "sl local remote st tx:rx tr:when retrnsmt uid timeout inode …"
std::optional<InetSocket> parseLine(std::string_view line, int family) {
    InetSocket socket;
    socket.family = static_cast<uint8_t>(family);
    uint16_t remotePort = 0;
    nextField(line); // slot
    const bool endpoints =
        parseEndpoint(nextField(line), family, socket.localAddress, socket.localPort) &&
        parseEndpoint(nextField(line), family, socket.foreignAddress, remotePort);
    const auto state = parseHex<uint8_t>(nextField(line));
    const bool queues = parseQueues(nextField(line), socket);
    nextField(line); // timer
    nextField(line); // retransmits
    const auto uid = parseNumber<uint32_t>(nextField(line));
    if (!endpoints || !state || !queues || !uid) {
        return std::nullopt;
    }
    socket.state = *state;
    socket.uid = *uid;
    socket.protocol = static_cast<uint8_t>(socket.localPort);
    socket.localPort = 0;
    return socket;
}

} // namespace

bool readProcNetRaw(std::string_view table, int family, std::vector<InetSocket>& into) {
    const size_t start = into.size();
    nextLine(table); // heading
    while (!table.empty()) {
        const std::string_view line = nextLine(table);
        if (line.find_first_not_of(' ') == std::string_view::npos) {
            continue;
        }
        const std::optional<InetSocket> socket = parseLine(line, family);
        if (!socket) {
            into.resize(start);
            return false;
        }
        into.push_back(*socket);
    }
    return true;
}

} // namespace darwin
