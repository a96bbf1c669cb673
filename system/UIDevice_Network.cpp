#include "system/UIDevice_Network.h"

#include "platform/darwin/Darwin.h"
#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/InPcb.h"
#include "system/InterfaceCapture.h"

#include <mutex>

namespace {

const QString kDeviceInterfaceName = QStringLiteral("en0");

std::mutex captureLock;
std::optional<InterfaceCapture> capture;

InterfaceCapture readCapture() {
    return InterfaceCapture::read(InterfaceCapture::deviceInterfaceNames());
}

// Read when first asked for, and again on refresh().
InterfaceCapture captured() {
    const std::lock_guard lock(captureLock);
    if (!capture) {
        capture = readCapture();
    }
    return *capture;
}

// The IPv4 address an interface request answers, if it does.
std::optional<std::array<uint8_t, 4>> requestedAddress(int socket, unsigned long request,
                                                       const std::string& name) {
    std::array<unsigned char, darwin::ifreq::Layout::kSize> record{};
    darwin::ifreq::Layout::encode({name, {}}, record.data());
    if (darwin::ioctl(socket, request, record.data()) != 0) {
        return std::nullopt;
    }
    const auto address = darwin::ifreq::Layout::read<&darwin::IfreqAddress::addr>(record.data());
    return std::array<uint8_t, 4>{address[4], address[5], address[6], address[7]};
}

} // namespace

void UIDevice_Network::refresh() {
    InterfaceCapture fresh = readCapture();
    const std::lock_guard lock(captureLock);
    capture = fresh;
}

QString UIDevice_Network::ifname() {
    return kDeviceInterfaceName;
}

std::optional<QString> UIDevice_Network::macaddr() {
    return captured().macaddr();
}

std::array<uint8_t, 6> UIDevice_Network::ether() {
    return captured().ether();
}

std::optional<QString> UIDevice_Network::ipaddr() {
    return captured().ipaddr();
}

std::optional<QString> UIDevice_Network::netmask() {
    return captured().netmask();
}

std::optional<QString> UIDevice_Network::netaddr() {
    return captured().netaddr();
}

uint8_t UIDevice_Network::masklen() {
    return captured().masklen();
}

std::optional<QString> UIDevice_Network::broadcast() {
    return captured().broadcast();
}

std::optional<QString> UIDevice_Network::ip6addr() {
    return captured().ip6addr();
}

QStringList UIDevice_Network::getAddressInfoOfInterfaceName(const QString& name) {
    const std::string bytes = name.toStdString();
    if (bytes.size() >= darwin::IFNAMSIZ_DARWIN) {
        return {};
    }
    const int socket = darwin::socket(darwin::AF_INET_DARWIN, darwin::SOCK_DGRAM_DARWIN, 0);
    if (socket == -1) {
        return {};
    }
    const auto address = requestedAddress(socket, darwin::SIOCGIFADDR_DARWIN, bytes);
    if (!address) {
        darwin::close(socket);
        return {};
    }
    const auto other = [&](unsigned long request) {
        return requestedAddress(socket, request, bytes).value_or(std::array<uint8_t, 4>{});
    };
    const auto broadcast = other(darwin::SIOCGIFBRDADDR_DARWIN);
    const auto destination = other(darwin::SIOCGIFDSTADDR_DARWIN);
    const auto netmask = other(darwin::SIOCGIFNETMASK_DARWIN);
    darwin::close(socket);
    const uint8_t prefixLength = InterfaceCapture::prefixLengthOf(netmask);
    return {InterfaceCapture::dottedText(*address) + QStringLiteral("/%1").arg(prefixLength),
            InterfaceCapture::dottedText(broadcast), InterfaceCapture::dottedText(destination),
            InterfaceCapture::dottedText(netmask),
            InterfaceCapture::dottedText(InterfaceCapture::networkOf(*address, netmask))};
}
