#include "platform/darwin/linux/ServedStatfs.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace darwin {

namespace {

// What a worker writes back: one write under PIPE_BUF, so it arrives whole or not at all.
struct WorkerReply {
    int error = 0;
    struct ::statfs sizes {};
};

// The worker: system calls only, as the caller may have other threads. It keeps nothing
// of the caller's open but its pipe, so that while it waits it holds no file of the
// caller's (a FUSE server's own device, a socket, a lock).
[[noreturn]] void answerInWorker(const char* path, int replyEnd) {
    ::dup2(replyEnd, STDIN_FILENO);
    ::close_range(STDIN_FILENO + 1, ~0U, 0);
    WorkerReply reply;
    reply.error = ::statfs(path, &reply.sizes) == 0 ? 0 : errno;
    [[maybe_unused]] const ssize_t written = ::write(STDIN_FILENO, &reply, sizeof reply);
    ::_exit(0);
}

template <class Call> auto retryingOnSignal(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<int64_t>(left.count(), 0));
}

} // namespace

ServedStatfs& ServedStatfs::shared() {
    static ServedStatfs* instance = new ServedStatfs();
    return *instance;
}

std::vector<ServedStatfs::Answer> ServedStatfs::ask(const std::vector<Request>& requests,
                                                    std::chrono::milliseconds deadline) {
    const std::lock_guard lock(mutex_);
    const auto until = std::chrono::steady_clock::now() + deadline;
    collectArrived();
    std::vector<std::string> asked;
    for (const Request& request : requests) {
        if (!out_.contains(request.path) && start(request)) {
            asked.push_back(request.path);
        }
    }
    waitFor(std::move(asked), until);

    std::vector<Answer> answers;
    std::map<std::string, Known> stillMounted;
    for (const Request& request : requests) {
        const auto known = known_.find(request.path);
        if (known != known_.end() && known->second.mountId == request.mountId) {
            answers.push_back(known->second.answer);
            stillMounted.insert(*known);
        } else {
            answers.emplace_back();
        }
    }
    known_ = std::move(stillMounted);
    return answers;
}

bool ServedStatfs::start(const Request& request) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t worker = ::fork();
    if (worker == 0) {
        answerInWorker(request.path.c_str(), ends[1]);
    }
    ::close(ends[1]);
    if (worker < 0) {
        ::close(ends[0]);
        return false;
    }
    out_[request.path] = Question{worker, ends[0], request.mountId};
    return true;
}

void ServedStatfs::waitFor(std::vector<std::string> paths,
                           std::chrono::steady_clock::time_point deadline) {
    while (true) {
        std::erase_if(paths, [this](const std::string& path) { return !out_.contains(path); });
        const int timeout = millisecondsUntil(deadline);
        if (paths.empty() || timeout == 0 || !takeArrived(paths, timeout)) {
            return;
        }
    }
}

void ServedStatfs::collectArrived() {
    std::vector<std::string> paths;
    for (const auto& entry : out_) {
        paths.push_back(entry.first);
    }
    takeArrived(paths, 0);
}

bool ServedStatfs::takeArrived(const std::vector<std::string>& paths, int timeout) {
    std::vector<pollfd> replies;
    for (const std::string& path : paths) {
        replies.push_back({out_.at(path).reply, POLLIN, 0});
    }
    if (::poll(replies.data(), replies.size(), timeout) < 0) {
        return errno == EINTR;
    }
    for (size_t i = 0; i < replies.size(); ++i) {
        if (replies[i].revents != 0) {
            finish(paths[i]);
        }
    }
    return true;
}

// The reply is there (or the worker is gone without one): reading does not block, and
// the worker exits right after writing.
void ServedStatfs::finish(const std::string& path) {
    const Question question = out_.at(path);
    out_.erase(path);
    WorkerReply reply;
    const ssize_t got =
        retryingOnSignal([&] { return ::read(question.reply, &reply, sizeof reply); });
    ::close(question.reply);
    retryingOnSignal([&] { return ::waitpid(question.worker, nullptr, 0); });
    if (got != static_cast<ssize_t>(sizeof reply)) {
        return;
    }
    Answer answer;
    answer.state = reply.error == 0 ? Answer::State::Measured : Answer::State::Failed;
    answer.sizes = reply.sizes;
    known_[path] = Known{question.mountId, answer};
}

} // namespace darwin
