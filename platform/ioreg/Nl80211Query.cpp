#include "platform/ioreg/Nl80211Query.h"

#include <linux/nl80211.h>
#include <net/if.h>
#include <netlink/genl/ctrl.h>
#include <netlink/genl/genl.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <memory>

namespace ioreg {

namespace {

constexpr int kMaxReceives = 8;
constexpr suseconds_t kReceiveTimeoutMicroseconds = 500'000;

struct SocketDeleter {
    void operator()(nl_sock* socket) const { nl_socket_free(socket); }
};
struct MessageDeleter {
    void operator()(nl_msg* message) const { nlmsg_free(message); }
};
struct CallbackDeleter {
    void operator()(nl_cb* callback) const { nl_cb_put(callback); }
};

struct Exchange {
    std::optional<WirelessLink> link;
    bool done = false;
};

int onReply(nl_msg* message, void* argument) {
    auto* exchange = static_cast<Exchange*>(argument);
    nlmsghdr* header = nlmsg_hdr(message);
    const int length = genlmsg_attrlen(static_cast<genlmsghdr*>(nlmsg_data(header)), 0);
    if (length >= 0) {
        exchange->link =
            WirelessLink::parseAttributes(reinterpret_cast<const uint8_t*>(genlmsg_attrdata(
                                              static_cast<genlmsghdr*>(nlmsg_data(header)), 0)),
                                          static_cast<size_t>(length));
    }
    return NL_OK;
}

int onFinished(nl_msg* /*message*/, void* argument) {
    static_cast<Exchange*>(argument)->done = true;
    return NL_STOP;
}

int onError(sockaddr_nl* /*peer*/, nlmsgerr* /*error*/, void* argument) {
    static_cast<Exchange*>(argument)->done = true;
    return NL_STOP;
}

} // namespace

std::optional<WirelessLink> Nl80211Query::interfaceLink(const QString& interfaceName) {
    const unsigned index = if_nametoindex(interfaceName.toLocal8Bit().constData());
    if (index == 0) {
        return std::nullopt;
    }
    std::unique_ptr<nl_sock, SocketDeleter> socket(nl_socket_alloc());
    if (!socket || genl_connect(socket.get()) != 0) {
        return std::nullopt;
    }
    const timeval timeout{0, kReceiveTimeoutMicroseconds};
    setsockopt(nl_socket_get_fd(socket.get()), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const int family = genl_ctrl_resolve(socket.get(), "nl80211");
    std::unique_ptr<nl_msg, MessageDeleter> request(nlmsg_alloc());
    if (family < 0 || !request ||
        genlmsg_put(request.get(), NL_AUTO_PORT, NL_AUTO_SEQ, family, 0, 0,
                    NL80211_CMD_GET_INTERFACE, 0) == nullptr ||
        nla_put_u32(request.get(), NL80211_ATTR_IFINDEX, index) != 0 ||
        nl_send_auto(socket.get(), request.get()) < 0) {
        return std::nullopt;
    }
    std::unique_ptr<nl_cb, CallbackDeleter> callbacks(nl_cb_alloc(NL_CB_DEFAULT));
    if (!callbacks) {
        return std::nullopt;
    }
    Exchange exchange;
    nl_cb_set(callbacks.get(), NL_CB_VALID, NL_CB_CUSTOM, onReply, &exchange);
    nl_cb_set(callbacks.get(), NL_CB_ACK, NL_CB_CUSTOM, onFinished, &exchange);
    nl_cb_set(callbacks.get(), NL_CB_FINISH, NL_CB_CUSTOM, onFinished, &exchange);
    nl_cb_err(callbacks.get(), NL_CB_CUSTOM, onError, &exchange);
    for (int receive = 0; receive < kMaxReceives && !exchange.done; ++receive) {
        if (nl_recvmsgs(socket.get(), callbacks.get()) < 0) {
            break;
        }
    }
    return exchange.link;
}

} // namespace ioreg
