#pragma once

#include <chrono>
#include <functional>
#include <string>

// Runs test code that mounts file systems in a child process of its own mount
// namespace, so that its mounts reach no other process and end with it. The child
// leads a process group of its own, which takes in whatever it starts (file system
// servers, workers).
class PrivateMountNamespace {
public:
    struct Outcome {
        enum class Kind {
            Ran,         // text is what the body returned
            Unavailable, // no namespace could be made (not root): text says why
            Failed,      // the child died or overran its time: text says how
        };
        Kind kind = Kind::Failed;
        std::string text;

        // No namespace, where a test may skip for that: never under CI.
        bool skips() const;
    };

    // Runs `body` in the child and hands back the text it returns. A child still
    // running after `limit` is killed with its whole group: a body that hangs (in a
    // wait no signal ends) fails the test instead of the suite. The body must not
    // return while processes it started still wait: it ends them.
    static Outcome run(const std::function<std::string()>& body,
                       std::chrono::seconds limit = std::chrono::seconds(60));
    // The same with a network namespace of the child's own besides, its loopback up:
    // sockets the body opens are seen by nobody else and go with it.
    static Outcome runWithPrivateNetwork(const std::function<std::string()>& body,
                                         std::chrono::seconds limit = std::chrono::seconds(60));

private:
    static Outcome runIn(int namespaces, const std::function<std::string()>& body,
                         std::chrono::seconds limit);
};
