#pragma once

#include <QByteArray>
#include <QMap>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace testenv {

// An HTTP/1.1 server on 127.0.0.1 for the download tests, on its own threads (so the
// program under test may run in another process while the test waits). Each path
// answers as its Reply says; every connection is closed after one response.
class HttpTestServer {
public:
    enum class Behaviour {
        Whole,     // the status, headers and body
        Truncated, // Content-Length of the whole body, half of it, then close
        Reset,     // chunked: a chunk of half the body, then a connection reset
        Stall,     // the headers, then nothing until the client gives up
        Redirect,  // 302 to `location`
    };

    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray lastModified; // header value, none when empty
        Behaviour behaviour = Behaviour::Whole;
        QByteArray location;
    };

    HttpTestServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot start the HTTP test server");
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { acceptLoop(); });
    }

    ~HttpTestServer() {
        ::close(stopPipe_[1]);
        acceptor_.join();
        for (std::thread& connection : connections_) {
            connection.join();
        }
        ::close(stopPipe_[0]);
        ::close(listener_);
    }

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    void serve(const QByteArray& path, const Reply& reply) {
        const std::lock_guard lock(mutex_);
        replies_[path] = reply;
    }

    quint16 port() const { return port_; }
    QByteArray url(const QByteArray& path) const {
        return "http://127.0.0.1:" + QByteArray::number(port_) + path;
    }
    int requests() const { return requests_.load(); }

private:
    // Waits until `fd` is readable or the server stops; false when it stops.
    bool waitReadable(int fd) const {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        while (::poll(fds, 2, -1) < 0) {
        }
        return (fds[1].revents & (POLLIN | POLLHUP)) == 0;
    }

    void acceptLoop() {
        while (waitReadable(listener_)) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                connections_.emplace_back([this, client] { answer(client); });
            }
        }
    }

    QByteArray readRequest(int client) const {
        QByteArray request;
        char buffer[4096];
        while (!request.contains("\r\n\r\n") && waitReadable(client)) {
            const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
            if (count <= 0) {
                break;
            }
            request.append(buffer, count);
        }
        return request;
    }

    static void sendAll(int client, const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t count =
                ::send(client, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (count <= 0) {
                return;
            }
            done += count;
        }
    }

    static QByteArray head(const Reply& reply, qint64 length) {
        QByteArray text = "HTTP/1.1 " + QByteArray::number(reply.status) + " " +
                          (reply.status == 200   ? "OK"
                           : reply.status == 302 ? "Found"
                           : reply.status == 404 ? "Not Found"
                                                 : "Server Error") +
                          "\r\nConnection: close\r\nContent-Type: text/plain\r\n";
        text += length >= 0 ? "Content-Length: " + QByteArray::number(length) + "\r\n"
                            : QByteArray("Transfer-Encoding: chunked\r\n");
        if (!reply.lastModified.isEmpty()) {
            text += "Last-Modified: " + reply.lastModified + "\r\n";
        }
        if (!reply.location.isEmpty()) {
            text += "Location: " + reply.location + "\r\n";
        }
        return text + "\r\n";
    }

    void answer(int client) {
        const QByteArray request = readRequest(client);
        ++requests_;
        const QByteArray path = request.split(' ').value(1);
        Reply reply;
        {
            const std::lock_guard lock(mutex_);
            reply = replies_.value(path, Reply{404, "no such file\n", {}, Behaviour::Whole, {}});
        }
        const QByteArray half = reply.body.left(reply.body.size() / 2);
        switch (reply.behaviour) {
        case Behaviour::Whole:
            sendAll(client, head(reply, reply.body.size()) + reply.body);
            break;
        case Behaviour::Truncated:
            sendAll(client, head(reply, reply.body.size()) + half);
            break;
        case Behaviour::Reset: {
            sendAll(client,
                    head(reply, -1) + QByteArray::number(half.size(), 16) + "\r\n" + half + "\r\n");
            const linger reset{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            break;
        }
        case Behaviour::Stall:
            sendAll(client, head(reply, reply.body.size()));
            waitForClientToClose(client);
            break;
        case Behaviour::Redirect:
            reply.status = 302;
            sendAll(client, head(reply, 0));
            break;
        }
        ::close(client);
    }

    void waitForClientToClose(int client) const {
        char buffer[256];
        while (waitReadable(client) && ::recv(client, buffer, sizeof buffer, 0) > 0) {
        }
    }

    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    quint16 port_ = 0;
    std::thread acceptor_;
    std::vector<std::thread> connections_; // touched by the acceptor, joined after it
    std::mutex mutex_;
    QMap<QByteArray, Reply> replies_;
    std::atomic<int> requests_{0};
};

} // namespace testenv
