#pragma once

#include <sys/types.h>
#include <sys/vfs.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace darwin {

// statfs(2) of file systems that another process or machine answers for (FUSE, network),
// asked without ever blocking the caller for longer than a deadline. Each question is
// asked by a worker process of its own: a statfs whose server has taken the request and
// stalls waits in the kernel, unkillable, until the server answers or goes, and a thread
// waiting so would keep the whole program from exiting; a process is left behind alone.
// At most one question per mount point is out at a time; a stuck one stays until the
// kernel lets it go, and its late answer is kept then.
class ServedStatfs {
public:
    struct Request {
        std::string path;    // the mount point
        int64_t mountId = 0; // which mount on it (mountinfo's first field)
    };

    struct Answer {
        enum class State {
            Unknown,  // no answer yet, none before either
            Measured, // sizes holds the latest answer
            Failed,   // the latest answer was an error (a gone server's ENOTCONN)
        };
        State state = State::Unknown;
        struct ::statfs sizes {};
    };

    // The process's one instance, never destroyed: workers may outlive any caller.
    static ServedStatfs& shared();

    // An answer for each request, in order: asks each mount point that has no question
    // out, waits up to `deadline` for those answers, and gives what is known then: a
    // fresh answer, else the latest earlier answer for the same mount (as the device's
    // kernel keeps its last statfs of a mount), else Unknown. A question left out by an
    // earlier call is not waited for again, so that a stalled server costs one deadline.
    // Callers on several threads take turns.
    std::vector<Answer> ask(const std::vector<Request>& requests,
                            std::chrono::milliseconds deadline);

private:
    struct Question {
        pid_t worker = -1;
        int reply = -1; // the read end of the worker's pipe
        int64_t mountId = 0;
    };
    struct Known {
        int64_t mountId = 0;
        Answer answer;
    };

    ServedStatfs() = default;

    bool start(const Request& request);
    // Waits until the questions on `paths` are answered or the deadline passes.
    void waitFor(std::vector<std::string> paths, std::chrono::steady_clock::time_point deadline);
    // Takes in every answer that has arrived.
    void collectArrived();
    // Polls the questions on `paths` (all out) for up to `timeout` ms and takes in the
    // answers that arrived; false when polling fails.
    bool takeArrived(const std::vector<std::string>& paths, int timeout);
    void finish(const std::string& path);

    std::mutex mutex_;
    std::map<std::string, Question> out_; // by mount point
    std::map<std::string, Known> known_;  // by mount point
};

} // namespace darwin
