#include "FuseTestServer.h"

#include <fcntl.h>
#include <linux/fuse.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr int kDevice = 3;  // the server's /dev/fuse
constexpr int kControl = 4; // the read end of the stall pipe
constexpr uint64_t kSubNode = 2;

template <class Body> void reply(const fuse_in_header& in, const Body& body) {
    struct {
        fuse_out_header header;
        Body body;
    } out{};
    out.header = {sizeof out, 0, in.unique};
    out.body = body;
    [[maybe_unused]] const ssize_t written = ::write(kDevice, &out, sizeof out);
}

void replyError(const fuse_in_header& in, int error) {
    const fuse_out_header out{sizeof out, -error, in.unique};
    [[maybe_unused]] const ssize_t written = ::write(kDevice, &out, sizeof out);
}

fuse_attr directory(uint64_t node) {
    fuse_attr attr{};
    attr.ino = node;
    attr.mode = S_IFDIR | 0755;
    attr.nlink = 2;
    return attr;
}

// Attributes and names are valid for no time: the kernel asks again on every use.
void answer(const fuse_in_header& in, const char* payload) {
    switch (in.opcode) {
    case FUSE_LOOKUP:
        if (in.nodeid == FUSE_ROOT_ID && std::string_view(payload) == "sub") {
            fuse_entry_out entry{};
            entry.nodeid = kSubNode;
            entry.generation = 1;
            entry.attr = directory(kSubNode);
            reply(in, entry);
        } else {
            replyError(in, ENOENT);
        }
        break;
    case FUSE_GETATTR: {
        fuse_attr_out attr{};
        attr.attr = directory(in.nodeid);
        reply(in, attr);
        break;
    }
    case FUSE_STATFS: {
        fuse_statfs_out sizes{};
        sizes.st.blocks = FuseTestServer::kBlocks;
        sizes.st.bfree = FuseTestServer::kBlocksFree;
        sizes.st.bavail = FuseTestServer::kBlocksAvailable;
        sizes.st.bsize = 4096;
        sizes.st.frsize = FuseTestServer::kFragmentSize;
        sizes.st.namelen = 255;
        reply(in, sizes);
        break;
    }
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT:
        break; // no reply
    default:
        replyError(in, ENOSYS);
    }
}

void answerInit(const fuse_in_header& in, const char* payload) {
    const auto* asked = reinterpret_cast<const fuse_init_in*>(payload);
    fuse_init_out init{};
    init.major = FUSE_KERNEL_VERSION;
    init.minor = std::min<uint32_t>(asked->minor, FUSE_KERNEL_MINOR_VERSION);
    init.max_write = 4096;
    reply(in, init);
}

[[noreturn]] void serve(bool stalled) {
    std::vector<char> request(FUSE_MIN_READ_BUFFER + 65536);
    while (true) {
        pollfd ready[] = {{kDevice, POLLIN, 0}, {kControl, POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0 && errno != EINTR) {
            ::_exit(1);
        }
        if (ready[1].revents != 0) {
            stalled = true;
            ::close(kControl);
        }
        if (ready[0].revents == 0) {
            continue;
        }
        const ssize_t got = ::read(kDevice, request.data(), request.size());
        if (got < static_cast<ssize_t>(sizeof(fuse_in_header))) {
            if (got < 0 && (errno == EINTR || errno == ENOENT)) {
                continue; // an interrupted request
            }
            ::_exit(0); // unmounted
        }
        const auto& in = *reinterpret_cast<const fuse_in_header*>(request.data());
        const char* payload = request.data() + sizeof in;
        if (in.opcode == FUSE_INIT) {
            answerInit(in, payload);
        } else if (!stalled) {
            answer(in, payload);
        }
    }
}

} // namespace

std::unique_ptr<FuseTestServer> FuseTestServer::mount(const std::string& mountPoint,
                                                      const std::string& blockDevice, bool stalled,
                                                      std::string& error) {
    const int device = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (device < 0) {
        error = std::string("/dev/fuse: ") + std::strerror(errno);
        return nullptr;
    }
    const bool overBlocks = !blockDevice.empty();
    std::string options = "fd=" + std::to_string(device) + ",rootmode=40000,user_id=0,group_id=0";
    options += overBlocks ? ",blksize=4096" : "";
    if (::mount(overBlocks ? blockDevice.c_str() : "ormel-test", mountPoint.c_str(),
                overBlocks ? "fuseblk" : "fuse", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        error = "mount " + mountPoint + ": " + std::strerror(errno);
        ::close(device);
        return nullptr;
    }
    int control[2];
    if (::pipe2(control, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        ::close(device);
        return nullptr;
    }
    const pid_t server = ::fork();
    if (server == 0) {
        // Above both places first, so that neither overwrites the other.
        const int aboveDevice = ::fcntl(device, F_DUPFD, kControl + 1);
        const int aboveControl = ::fcntl(control[0], F_DUPFD, kControl + 1);
        ::dup2(aboveDevice, kDevice);
        ::dup2(aboveControl, kControl);
        ::close_range(kControl + 1, ~0U, 0);
        serve(stalled);
    }
    // The server alone holds the device: when it goes, the connection ends.
    ::close(device);
    ::close(control[0]);
    if (server < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        ::close(control[1]);
        return nullptr;
    }
    return std::unique_ptr<FuseTestServer>(new FuseTestServer(server, control[1]));
}

FuseTestServer::~FuseTestServer() {
    ::close(control_);
    ::kill(server_, SIGKILL);
    while (::waitpid(server_, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void FuseTestServer::stall() {
    [[maybe_unused]] const ssize_t written = ::write(control_, "s", 1);
}
