// The station process's side of the link: accepts connections and carries
// out each call on the in-process station with the same NET_DVR_* call, so
// the station behaves over the link exactly as it does in-process.
//
// A connection sees only the handles it opened; another connection's handle
// is unknown to it. When a connection ends, whatever it left open (long
// connections, transfers, logins) is closed. A malformed frame gets an
// error frame and closes that connection only. A client's ping is answered
// with a ping at once. A send that waits longer than the link's time-out
// for the client to take something in ends that client's connection, as
// if the client had closed it, so a frozen client holds no thread of the
// station for long.
//
// Thread safety: run() on one thread, stop() from any other (not from a
// signal handler). Each connection runs on a thread of its own.
#ifndef VSTATION_LINK_LINK_SERVER_H
#define VSTATION_LINK_LINK_SERVER_H

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "Link/Socket.h"

namespace vstation {
namespace link {

class ServerConnection;

class LinkServer {
public:
    // The in-process station every login reaches, whatever address the
    // client dialled.
    struct Options {
        std::string address;
        uint16_t port = 8000;
        // Called, on a connection's thread, after a call that may have
        // changed the station: a request other than GET, a face parameter
        // set, an upload that finished.
        std::function<void()> changed;
    };
    LinkServer(Socket listener, Options station);
    ~LinkServer();

    // Serves until stop(); then closes every connection.
    void run();
    void stop();

    // A fault of the link itself, for any server of the process: each of the
    // next `times` searches (command 2554) started over the link has its
    // connection dropped, with no farewell, where its record answer
    // `afterRecords` + 1 would have gone. `times` 0 disarms.
    static void dropNextSearches(int times, int afterRecords);
    // The searches still to be dropped, and after how many records.
    static int searchesToDrop(int* afterRecords);

    LinkServer(const LinkServer&) = delete;
    LinkServer& operator=(const LinkServer&) = delete;

private:
    Socket m_listener;
    Options m_station;
    std::mutex m_mutex;
    bool m_stopping = false;
    std::list<std::shared_ptr<ServerConnection>> m_connections;
};

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_LINK_SERVER_H
