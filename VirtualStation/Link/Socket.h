// TCP sockets of the link, and frames read from and written to them. The
// only file that speaks to the operating system's socket interface: its
// Winsock branch lives in Socket.cpp alone.
//
// Thread safety: one reader and one writer may use a socket at once;
// shutdown(), lastInput() and inputWaiting() may be called from any thread
// (shutdown() wakes a blocked reader, or a blocked acceptFrom on a
// listening socket).
// Ownership: a Socket owns its descriptor and closes it.
#ifndef VSTATION_LINK_SOCKET_H
#define VSTATION_LINK_SOCKET_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "Link/Frame.h"

namespace vstation {
namespace link {

class Socket {
public:
    // A descriptor on POSIX, a SOCKET (an unsigned handle) under Winsock.
#ifdef _WIN32
    using Native = std::uintptr_t;
    static constexpr Native kNone = ~Native{0};
#else
    using Native = int;
    static constexpr Native kNone = -1;
#endif

    using Clock = std::chrono::steady_clock;

    Socket() = default;
    explicit Socket(Native fd) : m_fd(fd) {}
    ~Socket();
    Socket(Socket&& other) noexcept
        : m_fd(other.m_fd), m_shut(other.m_shut.load()), m_lastInput(other.m_lastInput.load()) {
        other.m_fd = kNone;
    }
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool valid() const { return m_fd != kNone; }
    Native fd() const { return m_fd; }
    // Ends both directions; a blocked read or accept returns.
    void shutdown();
    bool isShut() const { return m_shut; }

    // False when the connection ends or fails; `timedOut`, when given, then
    // says whether it was the send limit below that ran out.
    bool sendAll(const std::string& bytes, bool* timedOut = nullptr);
    bool receiveAll(void* into, size_t size);
    // Each wait of a send for room in the connection gives up after
    // `timeoutMs` (0: waits as long as it takes). A peer that takes nothing
    // in is found out this way; one that is merely slow keeps the send going.
    bool limitSends(int timeoutMs);

    // When bytes last arrived, or the socket was made: how long a peer has
    // been quiet, even in the middle of a frame.
    Clock::time_point lastInput() const { return Clock::time_point(Clock::duration(m_lastInput.load())); }
    // True when bytes, or the end of the connection, wait to be read. Does
    // not block.
    bool inputWaiting() const;

private:
    Native m_fd = kNone;
    std::atomic<bool> m_shut{false};
    std::atomic<Clock::rep> m_lastInput{Clock::now().time_since_epoch().count()};
};

// A connection to host:port, or an invalid socket when none could be made
// within `timeoutMs`.
Socket connectTo(const std::string& host, uint16_t port, int timeoutMs);

// A listening socket on host:port (port 0: any free one). On failure the
// socket is invalid and `why` says why.
Socket listenOn(const std::string& host, uint16_t port, std::string* why);
uint16_t localPort(const Socket& socket);
// The next connection, or an invalid socket once `listener` is shut down.
Socket acceptFrom(Socket& listener);
// True for 127.0.0.0/8, ::1 and "localhost".
bool isLoopback(const std::string& host);

// False at the end of the stream or on an I/O error (`why` empty) and on a
// malformed frame (`why` says what is wrong).
bool readFrame(Socket& socket, Frame* frame, std::string* why);
// `timedOut` as for Socket::sendAll.
bool writeFrame(Socket& socket, const Frame& frame, bool* timedOut = nullptr);

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_SOCKET_H
