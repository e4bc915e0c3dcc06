// The control page and its JSON API over HTTP (--http), served by a
// maintained HTTP library; the endpoints themselves know nothing of HTTP
// (Api.h). Every request first passes the guard (RequestGuard.h).
//
// Thread safety: start() and stop() from one thread; requests are served on
// the library's worker threads.
#ifndef VSTATION_TOOL_HTTP_SERVER_H
#define VSTATION_TOOL_HTTP_SERVER_H

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "Http/Api.h"

namespace vstation_tool {

class HttpServer {
public:
    explicit HttpServer(ApiContext& context);
    ~HttpServer();

    // Binds host:port (port 0: any free one) and serves on a thread of its
    // own. False, with `why`, when the address cannot be bound.
    bool start(const std::string& host, uint16_t port, std::string* why);
    // The port bound.
    uint16_t port() const { return m_port; }
    // Stops serving and waits for the serving thread.
    void stop();

    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    uint16_t m_port = 0;
    std::thread m_thread;
};

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_HTTP_SERVER_H
