#include "RecordedNetlink.h"

#include "support/TestEnvironment.h"

#include <cerrno>
#include <fstream>
#include <iterator>

namespace {

// A source whose every request gets the recording's answer.
class ReplayedSource : public darwin::NetlinkSource {
public:
    explicit ReplayedSource(RecordedNetlink& netlink) : netlink_(netlink) {}

    bool request(std::span<const unsigned char> message) override {
        answer_ = netlink_.answer(message);
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
    RecordedNetlink& netlink_;
    RecordedNetlink::Answer answer_;
    size_t given_ = 0;
};

} // namespace

RecordedNetlink::RecordedNetlink(const std::string& folder,
                                 const std::map<Key, std::string>& files) {
    const std::string directory =
        testenv::fixturePath(QString::fromStdString(folder)).toStdString();
    for (const auto& [key, name] : files) {
        std::ifstream file(directory + "/" + name, std::ios::binary);
        dumps[key].assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
}

// The header, then -error where NLMSG_ERROR and NLMSG_DONE keep it; room for the request
// an NLMSG_ERROR repeats.
RecordedNetlink::Bytes RecordedNetlink::controlMessage(uint16_t type, int error) {
    Bytes message(NLMSG_LENGTH(type == NLMSG_ERROR ? sizeof(nlmsgerr) : sizeof(int)));
    const nlmsghdr header{static_cast<uint32_t>(message.size()), type, 0, 1, 0};
    std::memcpy(message.data(), &header, sizeof header);
    put(message, NLMSG_HDRLEN, -error);
    return message;
}

void RecordedNetlink::answerNext(const Key& key, const std::vector<Answer>& answers) {
    next_[key].insert(next_[key].end(), answers.begin(), answers.end());
}

std::vector<RecordedNetlink::Bytes> RecordedNetlink::requestsOf(const Key& key) const {
    std::vector<Bytes> sent;
    for (const Bytes& request : requests) {
        if (keyOf(request) == key) {
            sent.push_back(request);
        }
    }
    return sent;
}

darwin::NetlinkConnector RecordedNetlink::connector() {
    return [this] { return std::make_unique<ReplayedSource>(*this); };
}

RecordedNetlink::Key RecordedNetlink::keyOf(std::span<const unsigned char> request) {
    nlmsghdr header{};
    std::memcpy(&header, request.data(), std::min(request.size(), sizeof header));
    const auto byte = [&](size_t at) { return at < request.size() ? request[at] : uint8_t{0}; };
    return {header.nlmsg_type, byte(NLMSG_HDRLEN), byte(NLMSG_HDRLEN + 1)};
}

RecordedNetlink::Answer RecordedNetlink::answer(std::span<const unsigned char> request) {
    requests.emplace_back(request.begin(), request.end());
    const Key key = keyOf(request);
    std::deque<Answer>& next = next_[key];
    if (!next.empty()) {
        Answer answer = std::move(next.front());
        next.pop_front();
        return answer;
    }
    const auto dump = dumps.find(key);
    return {{dump != dumps.end() ? dump->second : errorMessage(ENOENT)}, 0};
}
