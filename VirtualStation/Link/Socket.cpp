#include "Link/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vstation {
namespace link {

namespace {

struct AddressList {
    addrinfo* list = nullptr;
    ~AddressList() {
        if (list) freeaddrinfo(list);
    }
};

bool resolve(const std::string& host, uint16_t port, bool passive, AddressList* out) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    const std::string service = std::to_string(port);
    return getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &out->list) == 0;
}

void noDelay(int fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace

Socket::~Socket() {
    if (m_fd >= 0) ::close(m_fd);
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void Socket::shutdown() {
    if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
}

bool Socket::sendAll(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool Socket::receiveAll(void* into, size_t size) {
    auto* at = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t n = ::recv(m_fd, at, size, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

Socket connectTo(const std::string& host, uint16_t port, int timeoutMs) {
    AddressList addresses;
    if (!resolve(host, port, false, &addresses)) return Socket();
    for (addrinfo* a = addresses.list; a; a = a->ai_next) {
        Socket socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        if (!socket.valid()) continue;
        const int flags = fcntl(socket.fd(), F_GETFL);
        fcntl(socket.fd(), F_SETFL, flags | O_NONBLOCK);
        int rc = ::connect(socket.fd(), a->ai_addr, a->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            pollfd p{socket.fd(), POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            rc = (poll(&p, 1, timeoutMs) == 1 && getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                  error == 0)
                     ? 0
                     : -1;
        }
        if (rc != 0) continue;
        fcntl(socket.fd(), F_SETFL, flags);
        noDelay(socket.fd());
        return socket;
    }
    return Socket();
}

Socket listenOn(const std::string& host, uint16_t port, std::string* why) {
    AddressList addresses;
    if (!resolve(host, port, true, &addresses)) {
        *why = "cannot resolve " + host;
        return Socket();
    }
    for (addrinfo* a = addresses.list; a; a = a->ai_next) {
        Socket socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        if (!socket.valid()) continue;
        int on = 1;
        setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(socket.fd(), a->ai_addr, a->ai_addrlen) == 0 && ::listen(socket.fd(), 16) == 0) return socket;
        *why = std::string("cannot listen on ") + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    }
    if (why->empty()) *why = "no address to listen on for " + host;
    return Socket();
}

uint16_t localPort(const Socket& socket) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
}

Socket acceptFrom(Socket& listener) {
    for (;;) {
        const int fd = ::accept4(listener.fd(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            noDelay(fd);
            return Socket(fd);
        }
        if (errno != EINTR && errno != ECONNABORTED) return Socket();
    }
}

bool isLoopback(const std::string& host) {
    if (host == "localhost" || host == "::1") return true;
    in_addr v4{};
    return inet_pton(AF_INET, host.c_str(), &v4) == 1 && (ntohl(v4.s_addr) >> 24) == 127;
}

bool readFrame(Socket& socket, Frame* frame, std::string* why) {
    why->clear();
    uint8_t prefix[4];
    if (!socket.receiveAll(prefix, sizeof prefix)) return false;
    uint32_t length = 0;
    if (!frameLength(prefix, &length)) {
        *why = "frame length " + std::to_string(length) + " out of range";
        return false;
    }
    std::vector<uint8_t> body(length);
    if (!socket.receiveAll(body.data(), body.size())) return false;
    return decodeFrame(body.data(), body.size(), frame, why);
}

bool writeFrame(Socket& socket, const Frame& frame) { return socket.sendAll(encodeFrame(frame)); }

}  // namespace link
}  // namespace vstation
