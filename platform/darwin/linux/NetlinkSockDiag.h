#pragma once

#include "platform/darwin/linux/SockDiagSource.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace darwin {

// Socket dumps from the kernel: a NETLINK_SOCK_DIAG socket of the calling process's
// network namespace, open for the life of the object. Each datagram is sized first
// (MSG_PEEK | MSG_TRUNC) and read whole into a buffer that starts at 64 KiB, above the
// 32 KiB the kernel puts into one dump datagram, and grows only for a larger one.
class NetlinkSockDiag : public SockDiagSource {
public:
    static std::unique_ptr<SockDiagSource> open();

    ~NetlinkSockDiag() override;

    bool request(const SockDiagQuery& query) override;
    std::span<const unsigned char> receive() override;

private:
    explicit NetlinkSockDiag(int descriptor);
    bool send(const void* request, size_t length);

    int descriptor_;
    uint32_t sequence_ = 0;
    std::vector<unsigned char> buffer_;
};

} // namespace darwin
