// TCP sockets of the link, and frames read from and written to them. The
// only file that speaks to the operating system's socket interface, so that
// a Winsock branch stays in one place.
//
// Thread safety: one reader and one writer may use a socket at once;
// shutdown() may be called from any thread to wake a blocked reader.
// Ownership: a Socket owns its descriptor and closes it.
#ifndef VSTATION_LINK_SOCKET_H
#define VSTATION_LINK_SOCKET_H

#include <cstdint>
#include <string>

#include "Link/Frame.h"

namespace vstation {
namespace link {

class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket();
    Socket(Socket&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool valid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Ends both directions; a blocked read returns.
    void shutdown();

    bool sendAll(const std::string& bytes);
    bool receiveAll(void* into, size_t size);

private:
    int m_fd = -1;
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
bool writeFrame(Socket& socket, const Frame& frame);

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_SOCKET_H
