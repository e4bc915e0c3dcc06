#include "Link/Socket.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <mutex>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

namespace vstation {
namespace link {

namespace {

// The calls that differ between POSIX and Winsock, each in both spellings.
#ifdef _WIN32
using Length = int;
constexpr int kNoSignal = 0;  // Winsock raises no signal on a closed peer
constexpr int kShutBoth = SD_BOTH;

// Winsock needs starting once per process; it is left running until exit.
bool startNetwork() {
    static std::once_flag started;
    static bool ok = false;
    std::call_once(started, [] {
        WSADATA data;
        ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return ok;
}

void closeNative(Socket::Native fd) { ::closesocket(fd); }
bool retry() { return false; }  // Winsock calls are not interrupted by signals
std::string lastError() {
    char text[256] = "";
    const int code = WSAGetLastError();
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code), 0,
                   text, sizeof text, nullptr);
    std::string why = text;
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.')) why.pop_back();
    return why.empty() ? "error " + std::to_string(code) : why;
}

// Sockets are inheritable handles by default; the station starts no
// programs, but a client of the SDK may.
Socket::Native newSocket(const addrinfo* a) {
    const SOCKET fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (fd != INVALID_SOCKET) SetHandleInformation(reinterpret_cast<HANDLE>(fd), HANDLE_FLAG_INHERIT, 0);
    return fd;
}

bool setBlocking(Socket::Native fd, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(fd, FIONBIO, &nonBlocking) == 0;
}
bool connectPending() { return WSAGetLastError() == WSAEWOULDBLOCK; }

// True once a connection that is under way has been made.
bool awaitConnected(Socket::Native fd, int timeoutMs) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(fd, &writable);
    FD_SET(fd, &failed);  // Winsock reports a refused connection here
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::select(0, nullptr, &writable, &failed, &limit) == 1 && FD_ISSET(fd, &writable);
}

// A blocked accept or recv is not woken by shutdown() on every Windows
// version, so waits for input are cut into slices that look at the socket's
// shut flag in between. False once the socket is shut.
bool awaitInput(const Socket& socket) {
    for (;;) {
        if (socket.isShut()) return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket.fd(), &readable);
        timeval slice{0, 100 * 1000};
        const int ready = ::select(0, &readable, nullptr, nullptr, &slice);
        if (ready != 0) return !socket.isShut();  // input, or an error the next call reports
    }
}

Socket::Native acceptNative(Socket& listener) {
    if (!awaitInput(listener)) return Socket::kNone;
    const SOCKET fd = ::accept(listener.fd(), nullptr, nullptr);
    if (fd != INVALID_SOCKET) SetHandleInformation(reinterpret_cast<HANDLE>(fd), HANDLE_FLAG_INHERIT, 0);
    return fd;
}
bool acceptAgain() { return WSAGetLastError() == WSAECONNRESET; }

bool hasInput(Socket::Native fd) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    timeval none{0, 0};
    return ::select(0, &set, nullptr, nullptr, &none) == 1;
}

bool setSendLimit(Socket::Native fd, int timeoutMs) {
    const DWORD limit = static_cast<DWORD>(timeoutMs);
    return setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit) == 0;
}
bool sendTimedOut() { return WSAGetLastError() == WSAETIMEDOUT; }
#else
using Length = socklen_t;
constexpr int kNoSignal = MSG_NOSIGNAL;
constexpr int kShutBoth = SHUT_RDWR;

bool startNetwork() { return true; }
void closeNative(Socket::Native fd) { ::close(fd); }
bool retry() { return errno == EINTR; }
std::string lastError() { return std::strerror(errno); }

Socket::Native newSocket(const addrinfo* a) {
    return ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
}

bool setBlocking(Socket::Native fd, bool blocking) {
    const int flags = fcntl(fd, F_GETFL);
    return fcntl(fd, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}
bool connectPending() { return errno == EINPROGRESS; }

bool awaitConnected(Socket::Native fd, int timeoutMs) {
    pollfd p{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    return poll(&p, 1, timeoutMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// A shut socket wakes a blocked recv or accept by itself.
bool awaitInput(const Socket&) { return true; }

Socket::Native acceptNative(Socket& listener) { return ::accept4(listener.fd(), nullptr, nullptr, SOCK_CLOEXEC); }
bool acceptAgain() { return errno == EINTR || errno == ECONNABORTED; }

bool hasInput(Socket::Native fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

bool setSendLimit(Socket::Native fd, int timeoutMs) {
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0;
}
bool sendTimedOut() { return errno == EAGAIN || errno == EWOULDBLOCK; }
#endif

struct AddressList {
    addrinfo* list = nullptr;
    ~AddressList() {
        if (list) freeaddrinfo(list);
    }
};

bool resolve(const std::string& host, uint16_t port, bool passive, AddressList* out) {
    if (!startNetwork()) return false;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    const std::string service = std::to_string(port);
    return getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &out->list) == 0;
}

void noDelay(Socket::Native fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

}  // namespace

Socket::~Socket() {
    if (valid()) closeNative(m_fd);
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        if (valid()) closeNative(m_fd);
        m_fd = other.m_fd;
        m_shut = other.m_shut.load();
        m_lastInput = other.m_lastInput.load();
        other.m_fd = kNone;
    }
    return *this;
}

void Socket::shutdown() {
    if (!valid()) return;
    m_shut = true;
    ::shutdown(m_fd, kShutBoth);
}

bool Socket::sendAll(const std::string& bytes, bool* timedOut) {
    if (timedOut) *timedOut = false;
    size_t sent = 0;
    while (sent < bytes.size()) {
        // Winsock counts in int: large writes go in pieces.
        const size_t piece = std::min<size_t>(bytes.size() - sent, 1 << 20);
        const auto n = ::send(m_fd, bytes.data() + sent, static_cast<Length>(piece), kNoSignal);
        if (n < 0 && retry()) continue;
        if (n <= 0) {
            if (timedOut) *timedOut = n < 0 && sendTimedOut();
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool Socket::limitSends(int timeoutMs) { return valid() && setSendLimit(m_fd, std::max(timeoutMs, 0)); }

bool Socket::inputWaiting() const { return valid() && hasInput(m_fd); }

bool Socket::receiveAll(void* into, size_t size) {
    auto* at = static_cast<char*>(into);
    while (size > 0) {
        if (!awaitInput(*this)) return false;
        const size_t piece = std::min<size_t>(size, 1 << 20);
        const auto n = ::recv(m_fd, at, static_cast<Length>(piece), 0);
        if (n < 0 && retry()) continue;
        if (n <= 0) return false;
        m_lastInput = Clock::now().time_since_epoch().count();
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

Socket connectTo(const std::string& host, uint16_t port, int timeoutMs) {
    AddressList addresses;
    if (!resolve(host, port, false, &addresses)) return Socket();
    for (addrinfo* a = addresses.list; a; a = a->ai_next) {
        Socket socket(newSocket(a));
        if (!socket.valid() || !setBlocking(socket.fd(), false)) continue;
        int rc = ::connect(socket.fd(), a->ai_addr, static_cast<Length>(a->ai_addrlen));
        if (rc != 0 && connectPending()) rc = awaitConnected(socket.fd(), timeoutMs) ? 0 : -1;
        if (rc != 0 || !setBlocking(socket.fd(), true)) continue;
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
        Socket socket(newSocket(a));
        if (!socket.valid()) continue;
#ifndef _WIN32
        // A restarted station takes its port back at once. (Winsock's
        // SO_REUSEADDR would let two stations share a port instead.)
        int on = 1;
        setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
        if (::bind(socket.fd(), a->ai_addr, static_cast<Length>(a->ai_addrlen)) == 0 && ::listen(socket.fd(), 16) == 0)
            return socket;
        *why = std::string("cannot listen on ") + host + ":" + std::to_string(port) + ": " + lastError();
    }
    if (why->empty()) *why = "no address to listen on for " + host;
    return Socket();
}

uint16_t localPort(const Socket& socket) {
    sockaddr_storage address{};
    Length length = sizeof address;
    if (getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
}

Socket acceptFrom(Socket& listener) {
    for (;;) {
        const Socket::Native fd = acceptNative(listener);
        if (fd != Socket::kNone) {
            noDelay(fd);
            return Socket(fd);
        }
        if (listener.isShut() || !acceptAgain()) return Socket();
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

bool writeFrame(Socket& socket, const Frame& frame, bool* timedOut) {
    return socket.sendAll(encodeFrame(frame), timedOut);
}

}  // namespace link
}  // namespace vstation
