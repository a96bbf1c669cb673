#include "RecordedNetlink.h"

#include "support/TestEnvironment.h"

#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <cerrno>
#include <fstream>
#include <iterator>

namespace {

std::string fileOf(uint16_t type, uint8_t family) {
    switch (type) {
    case RTM_GETLINK:
        return "link.nl";
    case RTM_GETADDR:
        return "addr.nl";
    case RTM_GETROUTE:
        return family == AF_INET ? "route-inet.nl" : "route-inet6.nl";
    default:
        return "neigh-inet.nl";
    }
}

} // namespace

class RecordedNetlink::Source : public darwin::NetlinkSource {
public:
    Source(const RecordedNetlink& owner, std::shared_ptr<Script> script)
        : owner_(owner), script_(std::move(script)) {}

    bool request(uint16_t type, uint8_t family) override {
        const Key key{type, family};
        ++script_->requests[key];
        std::deque<Answer>& next = script_->answers[key];
        if (next.empty()) {
            answer_ = Answer{{owner_.recorded(type, family)}, 0};
        } else {
            answer_ = std::move(next.front());
            next.pop_front();
        }
        given_ = 0;
        return true;
    }

    // Past the recorded datagrams a socket would wait for ever; here it fails.
    bool receive(std::vector<unsigned char>& datagram) override {
        if (given_ < answer_.datagrams.size()) {
            datagram = answer_.datagrams[given_++];
            return true;
        }
        errno = answer_.error != 0 ? answer_.error : EIO;
        return false;
    }

private:
    const RecordedNetlink& owner_;
    std::shared_ptr<Script> script_;
    Answer answer_;
    size_t given_ = 0;
};

RecordedNetlink::RecordedNetlink(const std::string& name)
    : directory_(testenv::fixturePath("netlink/" + QString::fromStdString(name)).toStdString()) {}

RecordedNetlink::Bytes RecordedNetlink::recorded(uint16_t type, uint8_t family) const {
    std::ifstream file(directory_ + "/" + fileOf(type, family), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void RecordedNetlink::answerNext(uint16_t type, uint8_t family, std::vector<Answer> answers) {
    std::deque<Answer>& next = script_->answers[{type, family}];
    next.insert(next.end(), answers.begin(), answers.end());
}

int RecordedNetlink::requests(uint16_t type, uint8_t family) const {
    const auto found = script_->requests.find({type, family});
    return found != script_->requests.end() ? found->second : 0;
}

darwin::NetlinkConnector RecordedNetlink::connector() {
    return [this] { return std::make_unique<Source>(*this, script_); };
}
