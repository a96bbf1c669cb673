#include "RecordedNetlink.h"

#include "support/TestEnvironment.h"

#include <linux/rtnetlink.h>
#include <sys/socket.h>

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

RecordedNetlink::RecordedNetlink(const std::string& name)
    : directory_(testenv::fixturePath("netlink/" + QString::fromStdString(name)).toStdString()) {}

RecordedNetlink::Bytes RecordedNetlink::recorded(uint16_t type, uint8_t family) const {
    std::ifstream file(directory_ + "/" + fileOf(type, family), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void RecordedNetlink::answerNext(uint16_t type, uint8_t family, std::vector<Answer> answers) {
    std::deque<Answer>& next = answers_[{type, family}];
    next.insert(next.end(), answers.begin(), answers.end());
}

int RecordedNetlink::requests(uint16_t type, uint8_t family) const {
    const auto found = requests_.find({type, family});
    return found != requests_.end() ? found->second : 0;
}

RecordedNetlink::Bytes RecordedNetlink::lastRequest(uint16_t type, uint8_t family) const {
    const auto found = lastRequests_.find({type, family});
    return found != lastRequests_.end() ? found->second : Bytes{};
}

darwin::NetlinkConnector RecordedNetlink::connector() {
    return [this] {
        return std::make_unique<ScriptedNetlink>(
            [this](std::span<const unsigned char> request) { return answer(request); });
    };
}

// Requests are told apart by their type and the family byte after the header.
RecordedNetlink::Answer RecordedNetlink::answer(std::span<const unsigned char> request) {
    const uint8_t family = request.size() > NLMSG_HDRLEN ? request[NLMSG_HDRLEN] : 0;
    const Key key{ScriptedNetlink::headerOf(request).nlmsg_type, family};
    ++requests_[key];
    lastRequests_[key].assign(request.begin(), request.end());
    std::deque<Answer>& next = answers_[key];
    if (next.empty()) {
        return Answer{{recorded(key.first, key.second)}, 0};
    }
    Answer answer = std::move(next.front());
    next.pop_front();
    return answer;
}
