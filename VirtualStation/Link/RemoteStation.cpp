#include "Link/RemoteStation.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "Link/Frame.h"
#include "Link/Reports.h"
#include "Link/Socket.h"
#include "Link/Timeouts.h"

namespace vstation {
namespace link {

namespace {

constexpr int kConnectTimeoutMs = 3000;
// Buffers handed in are copied whole; beyond this a call is refused here.
constexpr uint32_t kLargestBuffer = kMaxFrameBytes / 4;

using Clock = std::chrono::steady_clock;

std::string fieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// The wait for a call's reply: VSTATION_REPLY_TIMEOUT_MS when set, whatever
// the call carries (tests shorten it); otherwise the call's own receive
// time-out `carriedMs`, or the link's 5 s when it carries none.
std::chrono::milliseconds replyTimeout(uint32_t carriedMs = 0) {
    const std::chrono::milliseconds set = linkTimeoutFromEnvironment();
    if (set.count() > 0) return set;
    return carriedMs > 0 ? std::chrono::milliseconds(carriedMs) : kDefaultLinkTimeout;
}

// One login's connection to a station process.
//
// Always owned by shared_ptr. The reporter thread keeps its link alive from
// its first report on, so that a report callback may log out (and so drop
// every other owner) and still return into a link that exists; the link then
// ends on that thread, after the callback.
//
// A station that freezes or vanishes without its connection being seen to
// close (power lost, cable pulled) is found out even while nothing is asked
// of it: while no call is in flight, the reporter thread sends a ping after
// heartbeatInterval() of quiet, which the station answers at once, and when
// nothing at all has arrived within linkTimeout() - heartbeatInterval() of
// the ping (and nothing waits to be read) the link is lost with
// NET_DVR_ERR_TIMEOUT, as for a call not answered in time. A call in flight
// is left to its own limit, which may be longer: the station does not read
// while it carries out a call.
class Link : public std::enable_shared_from_this<Link> {
public:
    explicit Link(Socket socket)
        : m_socket(std::move(socket)), m_quietLimit(linkTimeout()), m_pingAfter(heartbeatInterval()) {
        m_reader = std::thread([this] { readLoop(); });
        m_reporter = std::thread([this] { reportLoop(); });
    }
    ~Link() { close(); }

    // Sends `call` and waits up to `limit` for its reply. NET_DVR_ERR_NONE
    // with the reply, otherwise the error the call fails with: the link was
    // lost before (7), the station went away during the call (9), or it took
    // nothing in or gave no reply in time (10). A call not answered in time
    // loses the link, since a late reply could not be told from the next
    // call's.
    int32_t call(const Frame& call, Frame* reply, std::chrono::milliseconds limit) {
        std::lock_guard<std::mutex> calling(m_callMutex);
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_lostWith != NET_DVR_ERR_NONE) return NET_DVR_ERR_CONNECT;
        m_haveReply = false;
        lock.unlock();
        bool sendTimedOut = false;
        if (!writeFrame(m_socket, call, &sendTimedOut)) {
            return lose(sendTimedOut ? NET_DVR_ERR_TIMEOUT : NET_DVR_ERR_RECV);
        }
        lock.lock();
        if (!m_changed.wait_for(lock, limit, [this] { return m_haveReply || m_lostWith != NET_DVR_ERR_NONE; })) {
            lock.unlock();
            return lose(NET_DVR_ERR_TIMEOUT);
        }
        if (!m_haveReply) return m_lostWith;
        *reply = std::move(m_reply);
        m_haveReply = false;
        return NET_DVR_ERR_NONE;
    }

    void addStream(int32_t tag, uint32_t command, fRemoteConfigCallback callback, void* userData) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams[tag] = Stream{command, callback, userData};
    }

    // After this returns no report of `tag` is delivered, unless called from
    // within that report's callback.
    void removeStream(int32_t tag) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_streams.erase(tag);
        if (std::this_thread::get_id() == m_reporter.get_id()) return;
        m_changed.wait(lock, [&] { return m_delivering != tag; });
    }

    void close() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
        }
        m_socket.shutdown();
        m_changed.notify_all();
        joinOrDetach(m_reader);
        joinOrDetach(m_reporter);
    }

private:
    struct Stream {
        uint32_t command = 0;
        fRemoteConfigCallback callback = nullptr;
        void* userData = nullptr;
    };

    // Ends the connection with `error` unless it ended already; the reader
    // then fails what is still open. Returns the error the link ended with.
    int32_t lose(int32_t error) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_lostWith == NET_DVR_ERR_NONE) m_lostWith = error;
            error = m_lostWith;
        }
        m_socket.shutdown();
        return error;
    }

    static void joinOrDetach(std::thread& t) {
        if (!t.joinable()) return;
        if (t.get_id() == std::this_thread::get_id()) {
            t.detach();
        } else {
            t.join();
        }
    }

    void readLoop() {
        Frame frame;
        std::string why;
        while (readFrame(m_socket, &frame, &why)) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (frame.kind == FrameKind::Reply) {
                m_reply = std::move(frame);
                m_haveReply = true;
            } else if (frame.kind == FrameKind::Report) {
                m_reports.push_back(std::move(frame));
            } else if (frame.kind == FrameKind::Ping) {
                // The station's answer: the time it arrived is all it says,
                // and the reporter, woken below, counts the quiet from there.
            } else {
                break;  // an error frame: the station closes this connection
            }
            m_changed.notify_all();
        }
        // A link that is lost, whether the station went away or stopped
        // answering, ends every long connection the way a failing device
        // does: status "failed" with the error the link was lost with.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_lostWith == NET_DVR_ERR_NONE) m_lostWith = NET_DVR_ERR_RECV;
        // Closed here (the session logged out) is not lost: nothing to report.
        for (const auto& [tag, stream] : m_streams) {
            if (m_closing) break;
            Frame failed;
            failed.kind = FrameKind::Report;
            const uint32_t status[2] = {NET_SDK_CALLBACK_STATUS_FAILED, static_cast<uint32_t>(m_lostWith)};
            failed.number(tag).number(stream.command).number(NET_SDK_CALLBACK_TYPE_STATUS).bytes(status, sizeof status);
            m_reports.push_back(std::move(failed));
        }
        m_changed.notify_all();
    }

    void reportLoop() {
        // Declared before the lock, so released after it: when this is the
        // last owner, the link is destroyed with its mutex unlocked, and
        // nothing of it is touched after that.
        std::shared_ptr<Link> alive;
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            // A closed link (its session logged out) delivers nothing more,
            // as a stopped connection: what is queued is dropped.
            if (m_closing) return;
            if (m_reports.empty()) {
                if (m_lostWith != NET_DVR_ERR_NONE) {
                    m_changed.wait(lock, [this] { return !m_reports.empty() || m_closing; });
                    continue;
                }
                const Clock::time_point heard = m_socket.lastInput();
                const Clock::time_point next = keepAlive(lock, heard);
                // Whatever came while the lock was let go is looked at first.
                if (m_reports.empty() && !m_closing && m_lostWith == NET_DVR_ERR_NONE && m_socket.lastInput() == heard)
                    m_changed.wait_until(lock, next);  // every frame taken in wakes it early
                continue;
            }
            Frame frame = std::move(m_reports.front());
            m_reports.pop_front();
            ItemReader items(frame);
            const auto tag = static_cast<int32_t>(items.number());
            const auto command = static_cast<uint32_t>(items.number());
            Report report;
            auto it = m_streams.find(tag);
            if (it == m_streams.end() || !unpackReport(command, &items, &report)) continue;
            const Stream stream = it->second;
            if (!alive) alive = shared_from_this();
            m_delivering = tag;
            lock.unlock();
            void* buffer = report.bind();
            stream.callback(report.type, buffer, static_cast<uint32_t>(report.record.size()), stream.userData);
            lock.lock();
            m_delivering = -1;
            m_changed.notify_all();
        }
    }

    // The heartbeat, on the reporter thread with `lock` held (let go of while
    // it sends). `heard` is when bytes last arrived. Returns when to look
    // again, unless a frame comes first.
    Clock::time_point keepAlive(std::unique_lock<std::mutex>& lock, Clock::time_point heard) {
        const Clock::time_point now = Clock::now();
        if (now - heard < m_pingAfter) return heard + m_pingAfter;
        // The silence that counts starts at the ping unanswered since `heard`,
        // not at `heard`: a report callback that kept this thread longer than
        // the time-out delayed the ping, and the station still gets its time.
        const Clock::duration answerWithin = m_quietLimit - m_pingAfter;
        const bool asked = m_pinged >= heard;
        const bool silent = asked && now - m_pinged >= answerWithin;
        if (asked && !silent) return m_pinged + answerWithin;
        Clock::time_point next = now + m_pingAfter;
        lock.unlock();
        // Pings go between calls, never inside one. A call in flight has its
        // own limit, and its reply wakes this thread again.
        std::unique_lock<std::mutex> calling(m_callMutex, std::try_to_lock);
        if (calling && silent) {
            // Bytes waiting mean this process, not the station, fell behind
            // (a loaded machine): the reader takes them next.
            if (!m_socket.inputWaiting()) lose(NET_DVR_ERR_TIMEOUT);
        } else if (calling) {
            Frame ping;
            ping.kind = FrameKind::Ping;
            bool sendTimedOut = false;
            m_pinged = now;
            if (writeFrame(m_socket, ping, &sendTimedOut)) {
                next = now + answerWithin;
            } else {
                lose(sendTimedOut ? NET_DVR_ERR_TIMEOUT : NET_DVR_ERR_RECV);
            }
        }
        if (calling) calling.unlock();  // a call waiting for it need not wait for the lock too
        lock.lock();
        return next;
    }

    Socket m_socket;
    std::mutex m_callMutex;  // one call in flight per connection
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int32_t m_lostWith = NET_DVR_ERR_NONE;  // set once the connection is over
    bool m_closing = false;
    bool m_haveReply = false;
    Frame m_reply;
    std::deque<Frame> m_reports;
    std::map<int32_t, Stream> m_streams;
    int32_t m_delivering = -1;
    const Clock::duration m_quietLimit;  // a ping unanswered for this less m_pingAfter: the station is gone
    const Clock::duration m_pingAfter;   // quiet for this long: ask for a sign of life
    Clock::time_point m_pinged;          // the last ping sent; the reporter thread's alone
    std::thread m_reader;
    std::thread m_reporter;
};

// A handle of this process standing for one on the station.
struct RemoteHandle {
    std::shared_ptr<Link> link;
    int64_t remote = -1;
    int32_t userId = -1;   // the login it belongs to
    std::string target;    // downloads: the file to write when done
};

class Registry {
public:
    static Registry& instance() {
        static Registry* const registry = new Registry();  // outlives callback threads
        return *registry;
    }

    void add(HandleKind kind, int32_t handle, RemoteHandle entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_handles[key(kind, handle)] = std::move(entry);
    }
    bool find(HandleKind kind, int32_t handle, RemoteHandle* entry) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_handles.find(key(kind, handle));
        if (it == m_handles.end()) return false;
        if (entry) *entry = it->second;
        return true;
    }
    void remove(HandleKind kind, int32_t handle) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_handles.erase(key(kind, handle));
    }
    // Drops a login and everything opened under it; returns the logins' links.
    std::vector<std::shared_ptr<Link>> removeLogins(int32_t userId) {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::shared_ptr<Link>> links;
        for (auto it = m_handles.begin(); it != m_handles.end();) {
            const bool login = it->first.first == HandleKind::Login;
            if (userId < 0 || it->second.userId == userId || (login && it->first.second == userId)) {
                if (login) links.push_back(it->second.link);
                it = m_handles.erase(it);
            } else {
                ++it;
            }
        }
        return links;
    }

private:
    using Key = std::pair<HandleKind, int32_t>;
    static Key key(HandleKind kind, int32_t handle) { return {kind, handle}; }
    std::mutex m_mutex;
    std::map<Key, RemoteHandle> m_handles;
};

// A call on the station behind `handle`, waiting `limit` for the reply; on
// success `result` is its return value and its error is set as the last
// error. Returns false, with the last error set, when the link is lost (see
// Link::call) or the reply is malformed.
bool remoteCall(const RemoteHandle& remote, const Frame& call, Frame* reply, int64_t* result,
                std::chrono::milliseconds limit = replyTimeout()) {
    const int32_t failed = remote.link->call(call, reply, limit);
    if (failed != NET_DVR_ERR_NONE) {
        setLastError(failed);
        return false;
    }
    ItemReader items(*reply);
    *result = items.number();
    const auto error = static_cast<int32_t>(items.number());
    if (!items.ok()) {
        setLastError(NET_DVR_ERR_RECV);
        return false;
    }
    setLastError(error);
    return true;
}

Frame callFrame(const char* name) {
    Frame frame;
    frame.kind = FrameKind::Call;
    frame.bytes(std::string(name));
    return frame;
}

// Items after the return value and the error.
ItemReader outputsOf(const Frame& reply) {
    ItemReader items(reply);
    items.number();
    items.number();
    return items;
}

bool tooLarge(uint32_t size) { return size > kLargestBuffer; }

// Asks the station to end what `remote` stands for (a session, a long
// connection, a transfer) with the call `name`; nonzero when it ended. A
// station that is gone has ended it already: that counts as ended, with no
// error, so that the handle can still be released.
int64_t endAtStation(const RemoteHandle& remote, const char* name) {
    Frame call = callFrame(name);
    call.number(remote.remote);
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result)) {
        result = 1;
        setLastError(NET_DVR_ERR_NONE);
    }
    return result;
}

// The simple shape: one handle, a return value, nothing else back.
int32_t forward(HandleKind kind, int32_t handle, Frame call, int32_t unknown, int32_t failed) {
    RemoteHandle remote;
    if (!Registry::instance().find(kind, handle, &remote)) {
        setLastError(unknown);
        return failed;
    }
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result)) return failed;
    return static_cast<int32_t>(result);
}

bool readWholeFile(const char* path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return !in.bad();
}

// Written beside the target and renamed, so no partial file is left.
bool writeWholeFile(const std::string& path, const std::string& bytes) {
    const std::string part = path + ".part";
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written || std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool isRemote(HandleKind kind, int32_t handle) { return Registry::instance().find(kind, handle, nullptr); }

namespace {

// The login behind a remote call. A logout on another thread may have ended
// it since the call was routed here: the call then fails as for a handle
// that never was.
bool loginOf(int32_t userId, RemoteHandle* remote) {
    if (Registry::instance().find(HandleKind::Login, userId, remote)) return true;
    setLastError(NET_DVR_ERR_USER_ID);
    return false;
}

}  // namespace

int32_t login(const NET_DVR_USER_LOGIN_INFO& info, NET_DVR_DEVICEINFO_V40* device) {
    const std::string host = fieldText(info.sDeviceAddress, sizeof info.sDeviceAddress);
    Socket socket = connectTo(host, info.wPort, kConnectTimeoutMs);
    if (!socket.valid() || !socket.limitSends(static_cast<int>(replyTimeout().count()))) {
        setLastError(NET_DVR_ERR_CONNECT);
        return -1;
    }
    auto link = std::make_shared<Link>(std::move(socket));
    Frame call = callFrame("NET_DVR_Login_V40");
    call.number(kProtocolVersion).bytes(&info, sizeof info);
    Frame reply;
    int64_t result = -1;
    if (!remoteCall(RemoteHandle{link, -1, -1, {}}, call, &reply, &result)) return -1;
    if (result < 0) return -1;
    ItemReader outputs = outputsOf(reply);
    const std::string* record = outputs.buffer();
    if (!record || record->size() != sizeof *device) {
        setLastError(NET_DVR_ERR_RECV);
        return -1;
    }
    const int32_t handle = Runtime::instance().nextHandle(HandleKind::Login);
    std::memcpy(device, record->data(), sizeof *device);
    Registry::instance().add(HandleKind::Login, handle, RemoteHandle{link, result, handle, {}});
    setLastError(NET_DVR_ERR_NONE);
    return handle;
}

int32_t logout(int32_t userId) {
    RemoteHandle remote;
    if (!Registry::instance().find(HandleKind::Login, userId, &remote)) {
        setLastError(NET_DVR_ERR_USER_ID);
        return 0;
    }
    const int64_t result = endAtStation(remote, "NET_DVR_Logout_V30");
    for (const auto& link : Registry::instance().removeLogins(userId)) link->close();
    setLastError(NET_DVR_ERR_NONE);
    return static_cast<int32_t>(result);
}

int32_t deviceAbility(int32_t userId, uint32_t type, char* in, uint32_t inLength, char* out, uint32_t outLength) {
    if ((in && tooLarge(inLength)) || (out && tooLarge(outLength))) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return 0;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return 0;
    Frame call = callFrame("NET_DVR_GetDeviceAbility");
    call.number(remote.remote).number(type).buffer(in, inLength).number(inLength).buffer(out, outLength).number(outLength);
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result)) return 0;
    ItemReader outputs = outputsOf(reply);
    const std::string* written = outputs.buffer();
    if (out && written) std::memcpy(out, written->data(), std::min<size_t>(written->size(), outLength));
    return static_cast<int32_t>(result);
}

int32_t xmlConfig(int32_t userId, NET_DVR_XML_CONFIG_INPUT* input, NET_DVR_XML_CONFIG_OUTPUT* output) {
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return 0;
    NET_DVR_XML_CONFIG_INPUT inCopy{};
    NET_DVR_XML_CONFIG_OUTPUT outCopy{};
    if (input) std::memcpy(&inCopy, input, sizeof inCopy);
    if (output) std::memcpy(&outCopy, output, sizeof outCopy);
    if ((inCopy.lpRequestUrl && tooLarge(inCopy.dwRequestUrlLen)) || (inCopy.lpInBuffer && tooLarge(inCopy.dwInBufferSize)) ||
        (outCopy.lpOutBuffer && tooLarge(outCopy.dwOutBufferSize)) || (outCopy.lpStatusBuffer && tooLarge(outCopy.dwStatusSize))) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return 0;
    }
    const void* url = inCopy.lpRequestUrl;
    const void* body = inCopy.lpInBuffer;
    const void* outBuffer = outCopy.lpOutBuffer;
    const void* statusBuffer = outCopy.lpStatusBuffer;
    // Pointers mean nothing to the station; whether each was set travels
    // with its buffer.
    inCopy.lpRequestUrl = inCopy.lpInBuffer = nullptr;
    outCopy.lpOutBuffer = outCopy.lpStatusBuffer = nullptr;
    Frame call = callFrame("NET_DVR_STDXMLConfig");
    call.number(remote.remote)
        .buffer(input ? &inCopy : nullptr, sizeof inCopy)
        .buffer(url, inCopy.dwRequestUrlLen)
        .buffer(body, inCopy.dwInBufferSize)
        .buffer(output ? &outCopy : nullptr, sizeof outCopy)
        .buffer(outBuffer, outCopy.dwOutBufferSize)
        .buffer(statusBuffer, outCopy.dwStatusSize);
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result, replyTimeout(inCopy.dwRecvTimeOut))) return 0;
    ItemReader outputs = outputsOf(reply);
    const std::string* record = outputs.buffer();
    const std::string* outBytes = outputs.buffer();
    const std::string* statusBytes = outputs.buffer();
    if (output && record && record->size() == sizeof outCopy) {
        NET_DVR_XML_CONFIG_OUTPUT back;
        std::memcpy(&back, record->data(), sizeof back);
        output->dwReturnedXMLSize = back.dwReturnedXMLSize;
        output->dwStatusSize = back.dwStatusSize;
    }
    if (output && output->lpOutBuffer && outBytes)
        std::memcpy(output->lpOutBuffer, outBytes->data(), std::min<size_t>(outBytes->size(), outCopy.dwOutBufferSize));
    if (output && output->lpStatusBuffer && statusBytes)
        std::memcpy(output->lpStatusBuffer, statusBytes->data(), std::min<size_t>(statusBytes->size(), outCopy.dwStatusSize));
    return static_cast<int32_t>(result);
}

int32_t getDvrConfig(int32_t userId, uint32_t command, int32_t channel, void* out, uint32_t outSize,
                     uint32_t* returned) {
    if (out && tooLarge(outSize)) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return 0;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return 0;
    Frame call = callFrame("NET_DVR_GetDVRConfig");
    call.number(remote.remote).number(command).number(channel).buffer(out, outSize).number(outSize).number(returned ? 1 : 0);
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result)) return 0;
    ItemReader outputs = outputsOf(reply);
    const std::string* written = outputs.buffer();
    const int64_t count = outputs.number();
    if (out && written) std::memcpy(out, written->data(), std::min<size_t>(written->size(), outSize));
    if (returned && outputs.ok()) *returned = static_cast<uint32_t>(count);
    return static_cast<int32_t>(result);
}

int32_t setDvrConfig(int32_t userId, uint32_t command, int32_t channel, void* in, uint32_t inSize) {
    if (in && tooLarge(inSize)) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return 0;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return 0;
    Frame call = callFrame("NET_DVR_SetDVRConfig");
    call.number(remote.remote).number(command).number(channel).buffer(in, inSize).number(inSize);
    Frame reply;
    int64_t result = 0;
    if (!remoteCall(remote, call, &reply, &result)) return 0;
    return static_cast<int32_t>(result);
}

int32_t startRemoteConfig(int32_t userId, uint32_t command, void* in, uint32_t inLength,
                          fRemoteConfigCallback callback, void* userData) {
    if (in && tooLarge(inLength)) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return -1;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return -1;
    // The connection is known before the call, so that no early report is lost.
    const int32_t handle = Runtime::instance().nextHandle(HandleKind::LongConnection);
    if (callback) remote.link->addStream(handle, command, callback, userData);
    Frame call = callFrame("NET_DVR_StartRemoteConfig");
    call.number(remote.remote).number(command).buffer(in, inLength).number(inLength).number(callback ? 1 : 0).number(handle);
    Frame reply;
    int64_t result = -1;
    if (!remoteCall(remote, call, &reply, &result) || result < 0) {
        remote.link->removeStream(handle);
        return -1;
    }
    Registry::instance().add(HandleKind::LongConnection, handle, RemoteHandle{remote.link, result, userId, {}});
    return handle;
}

int32_t sendRemoteConfig(int32_t handle, uint32_t type, char* buffer, uint32_t size) {
    if (buffer && tooLarge(size)) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return 0;
    }
    RemoteHandle remote;
    Registry::instance().find(HandleKind::LongConnection, handle, &remote);
    Frame call = callFrame("NET_DVR_SendRemoteConfig");
    call.number(remote.remote).number(type).buffer(buffer, size).number(size);
    return forward(HandleKind::LongConnection, handle, call, NET_DVR_ERR_HANDLE, 0);
}

int32_t stopRemoteConfig(int32_t handle) {
    RemoteHandle remote;
    if (!Registry::instance().find(HandleKind::LongConnection, handle, &remote)) {
        setLastError(NET_DVR_ERR_HANDLE);
        return 0;
    }
    const int64_t result = endAtStation(remote, "NET_DVR_StopRemoteConfig");
    if (result) {
        remote.link->removeStream(handle);
        Registry::instance().remove(HandleKind::LongConnection, handle);
    }
    return static_cast<int32_t>(result);
}

int32_t uploadFile(int32_t userId, uint32_t type, void* in, uint32_t inSize, const char* fileName, void* out,
                   uint32_t outSize) {
    if ((in && tooLarge(inSize)) || (out && tooLarge(outSize))) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return -1;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return -1;
    // An unreadable file travels as no file; the station then refuses it in
    // its own order of checks.
    std::string contents;
    const bool readable = fileName && readWholeFile(fileName, &contents) && !tooLarge(static_cast<uint32_t>(
                              std::min<size_t>(contents.size(), UINT32_MAX)));
    Frame call = callFrame("NET_DVR_UploadFile_V40");
    call.number(remote.remote).number(type).buffer(in, inSize).number(inSize).number(fileName ? 1 : 0)
        .buffer(readable ? contents.data() : nullptr, contents.size()).buffer(out, outSize).number(outSize);
    Frame reply;
    int64_t result = -1;
    if (!remoteCall(remote, call, &reply, &result) || result < 0) return -1;
    ItemReader outputs = outputsOf(reply);
    const std::string* written = outputs.buffer();
    if (out && written) std::memcpy(out, written->data(), std::min<size_t>(written->size(), outSize));
    const int32_t handle = Runtime::instance().nextHandle(HandleKind::Upload);
    Registry::instance().add(HandleKind::Upload, handle, RemoteHandle{remote.link, result, userId, {}});
    return handle;
}

int32_t startDownload(int32_t userId, uint32_t type, void* in, uint32_t inSize, const char* fileName) {
    if (in && tooLarge(inSize)) {
        setLastError(NET_DVR_ERR_PARAMETER);
        return -1;
    }
    RemoteHandle remote;
    if (!loginOf(userId, &remote)) return -1;
    Frame call = callFrame("NET_DVR_StartDownload");
    call.number(remote.remote).number(type).buffer(in, inSize).number(inSize).number(fileName ? 1 : 0);
    Frame reply;
    int64_t result = -1;
    if (!remoteCall(remote, call, &reply, &result) || result < 0) return -1;
    const int32_t handle = Runtime::instance().nextHandle(HandleKind::Download);
    Registry::instance().add(HandleKind::Download, handle, RemoteHandle{remote.link, result, userId, fileName});
    return handle;
}

int32_t transferState(HandleKind kind, int32_t handle, uint32_t* progress) {
    RemoteHandle remote;
    if (!Registry::instance().find(kind, handle, &remote)) {
        setLastError(NET_DVR_ERR_HANDLE);
        return -1;
    }
    Frame call = callFrame(kind == HandleKind::Upload ? "NET_DVR_GetUploadState" : "NET_DVR_GetDownloadState");
    call.number(remote.remote).number(progress ? 1 : 0);
    Frame reply;
    int64_t result = -1;
    if (!remoteCall(remote, call, &reply, &result)) return -1;
    ItemReader outputs = outputsOf(reply);
    const int64_t percent = outputs.number();
    const std::string* file = outputs.buffer();
    if (progress && outputs.ok()) *progress = static_cast<uint32_t>(percent);
    // The station hands the downloaded file over once, with "done".
    if (kind == HandleKind::Download && result == NET_DVR_TRANSFER_DONE && file &&
        !writeWholeFile(remote.target, *file)) {
        setLastError(NET_DVR_ERR_FILE);
        return NET_DVR_TRANSFER_FAILED;
    }
    return static_cast<int32_t>(result);
}

int32_t closeTransfer(HandleKind kind, int32_t handle) {
    RemoteHandle remote;
    if (!Registry::instance().find(kind, handle, &remote)) {
        setLastError(NET_DVR_ERR_HANDLE);
        return 0;
    }
    const int64_t result =
        endAtStation(remote, kind == HandleKind::Upload ? "NET_DVR_UploadClose" : "NET_DVR_StopDownload");
    if (result) Registry::instance().remove(kind, handle);
    return static_cast<int32_t>(result);
}

void closeAll() {
    for (const auto& link : Registry::instance().removeLogins(-1)) link->close();
}

}  // namespace link
}  // namespace vstation
