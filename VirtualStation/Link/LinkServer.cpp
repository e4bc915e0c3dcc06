#include "Link/LinkServer.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "Link/Reports.h"
#include "Link/Timeouts.h"
#include "State/ScratchFolder.h"
#include "ZornNetSDK.h"

namespace vstation {
namespace link {

namespace {

bool readFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return true;
}

// A buffer the client handed in: its bytes, or null. Its size must be the
// length the call names.
struct Buffer {
    std::string bytes;
    bool present = false;
    char* data() { return present ? &bytes[0] : nullptr; }
};

Buffer bufferOf(ItemReader& items) {
    Buffer b;
    if (const std::string* item = items.buffer()) {
        b.bytes = *item;
        b.present = true;
    }
    return b;
}

bool sized(const Buffer& b, int64_t length) {
    return !b.present || static_cast<int64_t>(b.bytes.size()) == length;
}

// Searches still to be dropped (LinkServer::dropNextSearches).
struct DropPlan {
    std::mutex mutex;
    int times = 0;
    int afterRecords = 0;
};

DropPlan& dropPlan() {
    static DropPlan plan;
    return plan;
}

// The record count after which a search starting now is dropped; -1: never.
int takeDrop() {
    DropPlan& plan = dropPlan();
    std::lock_guard<std::mutex> lock(plan.mutex);
    if (plan.times <= 0) return -1;
    --plan.times;
    return plan.afterRecords;
}

}  // namespace

// One client connection, with the handles it opened.
class ServerConnection : public std::enable_shared_from_this<ServerConnection> {
public:
    ServerConnection(Socket socket, const LinkServer::Options& station)
        : m_socket(std::move(socket)), m_station(station) {
        m_socket.limitSends(static_cast<int>(linkTimeout().count()));
    }

    void start() {
        auto self = shared_from_this();
        m_thread = std::thread([self] { self->serve(); });
    }
    void shutdown() { m_socket.shutdown(); }
    void join() {
        if (m_thread.joinable()) m_thread.join();
    }
    bool finished() const { return m_finished; }

private:
    struct Stream {
        ServerConnection* connection;
        int64_t tag;
        uint32_t command;
        int dropAfter = -1;  // records sent before the connection is dropped; -1: never
        int records = 0;
    };

    static void ZORN_CALL onReport(uint32_t type, void* buffer, uint32_t length, void* userData) {
        auto* stream = static_cast<Stream*>(userData);
        if (type == NET_SDK_CALLBACK_TYPE_DATA && stream->dropAfter >= 0 && stream->records++ >= stream->dropAfter) {
            stream->connection->m_socket.shutdown();
            return;
        }
        Frame frame;
        frame.kind = FrameKind::Report;
        frame.number(stream->tag).number(stream->command);
        packReport(stream->command, type, buffer, length, &frame);
        stream->connection->send(frame);
    }

    // A send that fails ends the connection: a client that took nothing in
    // for the link's time-out is frozen or gone, and its calls, reports and
    // pings are dropped with it rather than held by a thread of this station.
    bool send(const Frame& frame) {
        std::lock_guard<std::mutex> lock(m_writeMutex);
        bool timedOut = false;
        if (writeFrame(m_socket, frame, &timedOut)) return true;
        if (timedOut && !m_socket.isShut()) {
            std::cerr << "vstation: link connection closed: the client took nothing in for "
                      << linkTimeout().count() << " ms\n";
        }
        m_socket.shutdown();  // the reader stops, and closes what the connection held
        return false;
    }

    void refuse(const std::string& why) {
        Frame error;
        error.kind = FrameKind::Error;
        error.bytes(why);
        send(error);
        std::cerr << "vstation: link connection closed: " << why << "\n";
    }

    void serve() {
        Frame frame;
        std::string why;
        while (readFrame(m_socket, &frame, &why)) {
            if (frame.kind == FrameKind::Ping && frame.items.empty()) {
                Frame pong;
                pong.kind = FrameKind::Ping;
                if (!send(pong)) break;
                continue;
            }
            if (frame.kind != FrameKind::Call) {
                why = "only calls and empty pings are accepted";
                break;
            }
            Frame reply;
            reply.kind = FrameKind::Reply;
            bool changed = false;
            if (!dispatch(frame, &reply, &why, &changed)) break;
            if (changed && m_station.changed) m_station.changed();
            if (!send(reply)) break;
        }
        if (!why.empty()) refuse(why);
        m_socket.shutdown();  // reports of streams still open fail fast from here on
        closeEverything();
        m_finished = true;
    }

    // The caller's handle if this connection opened it, else -1, which no
    // station knows: the call then fails the way it fails for any unknown handle.
    static int32_t owned(const std::set<int32_t>& handles, int64_t handle) {
        return handles.count(static_cast<int32_t>(handle)) && handle >= 0 && handle <= INT32_MAX
                   ? static_cast<int32_t>(handle)
                   : -1;
    }
    int32_t login(int64_t h) const { return owned(m_logins, h); }
    int32_t stream(int64_t h) const {
        std::set<int32_t> keys;
        for (const auto& entry : m_streams) keys.insert(entry.first);
        return owned(keys, h);
    }
    static int32_t transfer(const std::map<int32_t, std::string>& files, int64_t h) {
        std::set<int32_t> keys;
        for (const auto& entry : files) keys.insert(entry.first);
        return owned(keys, h);
    }


    static void answer(Frame* reply, int64_t result) { reply->number(result).number(NET_DVR_GetLastError()); }

    bool dispatch(const Frame& call, Frame* reply, std::string* why, bool* changed) {
        ItemReader in(call);
        const std::string name = in.text();
        bool known = true;
        if (name == "NET_DVR_Login_V40") {
            const int64_t version = in.number();
            const std::string* record = in.buffer();
            if (in.ok() && version != kProtocolVersion) {
                *why = "protocol version " + std::to_string(version) + " is not spoken here (" +
                       std::to_string(kProtocolVersion) + " is)";
                return false;
            }
            if (!record || record->size() != sizeof(NET_DVR_USER_LOGIN_INFO)) in.number();  // marks it malformed
            if (in.ok() && in.atEnd()) {
                NET_DVR_USER_LOGIN_INFO info;
                std::memcpy(&info, record->data(), sizeof info);
                // Whatever address the client dialled, it reached this station.
                std::memset(info.sDeviceAddress, 0, sizeof info.sDeviceAddress);
                std::memcpy(info.sDeviceAddress, m_station.address.data(),
                            std::min(m_station.address.size(), sizeof info.sDeviceAddress));
                info.wPort = m_station.port;
                NET_DVR_DEVICEINFO_V40 device{};
                const int32_t handle = NET_DVR_Login_V40(&info, &device);
                answer(reply, handle);
                if (handle >= 0) {
                    m_logins.insert(handle);
                    reply->bytes(&device, sizeof device);
                } else {
                    reply->buffer(nullptr, 0);
                }
            }
        } else if (name == "NET_DVR_Logout_V30") {
            const int32_t user = login(in.number());
            if (in.ok() && in.atEnd()) {
                answer(reply, NET_DVR_Logout_V30(user));
                m_logins.erase(user);
            }
        } else if (name == "NET_DVR_GetDeviceAbility") {
            const int32_t user = login(in.number());
            const int64_t type = in.number();
            Buffer input = bufferOf(in);
            const int64_t inLength = in.number();
            Buffer output = bufferOf(in);
            const int64_t outLength = in.number();
            if (in.ok() && in.atEnd() && sized(input, inLength) && sized(output, outLength)) {
                answer(reply, NET_DVR_GetDeviceAbility(user, static_cast<uint32_t>(type), input.data(),
                                                       static_cast<uint32_t>(inLength), output.data(),
                                                       static_cast<uint32_t>(outLength)));
                reply->buffer(output.data(), output.bytes.size());
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_STDXMLConfig") {
            const int32_t user = login(in.number());
            Buffer inRecord = bufferOf(in);
            Buffer url = bufferOf(in);
            Buffer body = bufferOf(in);
            Buffer outRecord = bufferOf(in);
            Buffer outBuffer = bufferOf(in);
            Buffer statusBuffer = bufferOf(in);
            NET_DVR_XML_CONFIG_INPUT input{};
            NET_DVR_XML_CONFIG_OUTPUT output{};
            bool consistent = sized(inRecord, sizeof input) && sized(outRecord, sizeof output);
            if (consistent && inRecord.present) {
                std::memcpy(&input, inRecord.bytes.data(), sizeof input);
                consistent = sized(url, input.dwRequestUrlLen) && sized(body, input.dwInBufferSize);
                input.lpRequestUrl = url.data();
                input.lpInBuffer = body.data();
            }
            if (consistent && outRecord.present) {
                std::memcpy(&output, outRecord.bytes.data(), sizeof output);
                consistent = sized(outBuffer, output.dwOutBufferSize) && sized(statusBuffer, output.dwStatusSize);
                output.lpOutBuffer = outBuffer.data();
                output.lpStatusBuffer = statusBuffer.data();
            }
            if (in.ok() && in.atEnd() && consistent) {
                const int32_t result = NET_DVR_STDXMLConfig(user, inRecord.present ? &input : nullptr,
                                                            outRecord.present ? &output : nullptr);
                answer(reply, result);
                *changed = result && url.bytes.compare(0, 4, "GET ") != 0;
                output.lpOutBuffer = output.lpStatusBuffer = nullptr;
                reply->buffer(outRecord.present ? &output : nullptr, sizeof output)
                    .buffer(outBuffer.data(), outBuffer.bytes.size())
                    .buffer(statusBuffer.data(), statusBuffer.bytes.size());
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_GetDVRConfig") {
            const int32_t user = login(in.number());
            const int64_t command = in.number();
            const int64_t channel = in.number();
            Buffer output = bufferOf(in);
            const int64_t outSize = in.number();
            const bool wantsCount = in.number() != 0;
            if (in.ok() && in.atEnd() && sized(output, outSize)) {
                uint32_t count = 0;
                answer(reply, NET_DVR_GetDVRConfig(user, static_cast<uint32_t>(command), static_cast<int32_t>(channel),
                                                   output.data(), static_cast<uint32_t>(outSize),
                                                   wantsCount ? &count : nullptr));
                reply->buffer(output.data(), output.bytes.size()).number(count);
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_SetDVRConfig") {
            const int32_t user = login(in.number());
            const int64_t command = in.number();
            const int64_t channel = in.number();
            Buffer input = bufferOf(in);
            const int64_t inSize = in.number();
            if (in.ok() && in.atEnd() && sized(input, inSize)) {
                const int32_t result = NET_DVR_SetDVRConfig(user, static_cast<uint32_t>(command),
                                                            static_cast<int32_t>(channel), input.data(),
                                                            static_cast<uint32_t>(inSize));
                answer(reply, result);
                *changed = result != 0;
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_StartRemoteConfig") {
            const int32_t user = login(in.number());
            const int64_t command = in.number();
            Buffer input = bufferOf(in);
            const int64_t inLength = in.number();
            const bool withCallback = in.number() != 0;
            const int64_t tag = in.number();
            if (in.ok() && in.atEnd() && sized(input, inLength)) {
                auto context = std::make_unique<Stream>(Stream{this, tag, static_cast<uint32_t>(command)});
                if (command == NET_DVR_SEARCH_CAPTURE_DATA) context->dropAfter = takeDrop();
                const int32_t handle = NET_DVR_StartRemoteConfig(user, static_cast<uint32_t>(command), input.data(),
                                                                 static_cast<uint32_t>(inLength),
                                                                 withCallback ? &onReport : nullptr, context.get());
                answer(reply, handle);
                if (handle >= 0) m_streams[handle] = std::move(context);
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_SendRemoteConfig") {
            const int32_t handle = stream(in.number());
            const int64_t type = in.number();
            Buffer page = bufferOf(in);
            const int64_t size = in.number();
            if (in.ok() && in.atEnd() && sized(page, size)) {
                answer(reply, NET_DVR_SendRemoteConfig(handle, static_cast<uint32_t>(type), page.data(),
                                                       static_cast<uint32_t>(size)));
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_StopRemoteConfig") {
            const int32_t handle = stream(in.number());
            if (in.ok() && in.atEnd()) {
                const int32_t result = NET_DVR_StopRemoteConfig(handle);
                answer(reply, result);
                if (result) m_streams.erase(handle);
            }
        } else if (name == "NET_DVR_UploadFile_V40") {
            const int32_t user = login(in.number());
            const int64_t type = in.number();
            Buffer input = bufferOf(in);
            const int64_t inSize = in.number();
            const bool named = in.number() != 0;
            Buffer contents = bufferOf(in);
            Buffer output = bufferOf(in);
            const int64_t outSize = in.number();
            if (in.ok() && in.atEnd() && sized(input, inSize) && sized(output, outSize)) {
                // A file the client could not read is one that is not there.
                const std::string path = scratchPath(contents.present ? "upload" : "unreadable");
                bool staged = true;
                if (contents.present) {
                    std::ofstream out(path, std::ios::binary);
                    staged = static_cast<bool>(out.write(contents.bytes.data(), contents.bytes.size()));
                }
                const int32_t handle =
                    staged ? NET_DVR_UploadFile_V40(user, static_cast<uint32_t>(type), input.data(),
                                                    static_cast<uint32_t>(inSize),
                                                    named ? const_cast<char*>(path.c_str()) : nullptr, output.data(),
                                                    static_cast<uint32_t>(outSize))
                           : -1;
                answer(reply, handle);
                reply->buffer(output.data(), output.bytes.size());
                if (handle >= 0) {
                    m_uploads[handle] = path;
                } else {
                    std::remove(path.c_str());
                }
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_StartDownload") {
            const int32_t user = login(in.number());
            const int64_t type = in.number();
            Buffer input = bufferOf(in);
            const int64_t inSize = in.number();
            const bool named = in.number() != 0;
            if (in.ok() && in.atEnd() && sized(input, inSize)) {
                const std::string path = scratchPath("download");
                const int32_t handle =
                    NET_DVR_StartDownload(user, static_cast<uint32_t>(type), input.data(), static_cast<uint32_t>(inSize),
                                          named ? const_cast<char*>(path.c_str()) : nullptr);
                answer(reply, handle);
                if (handle >= 0) m_downloads[handle] = path;
            } else {
                in.number();
            }
        } else if (name == "NET_DVR_GetUploadState" || name == "NET_DVR_GetDownloadState") {
            const bool upload = name == "NET_DVR_GetUploadState";
            const int32_t handle = transfer(upload ? m_uploads : m_downloads, in.number());
            const bool wantsProgress = in.number() != 0;
            if (in.ok() && in.atEnd()) {
                uint32_t progress = 0;
                uint32_t* p = wantsProgress ? &progress : nullptr;
                const int32_t state = upload ? NET_DVR_GetUploadState(handle, p) : NET_DVR_GetDownloadState(handle, p);
                const int32_t error = NET_DVR_GetLastError();
                reply->number(state).number(error).number(progress);
                *changed = upload && state == NET_DVR_TRANSFER_DONE;
                std::string file;
                if (!upload && state == NET_DVR_TRANSFER_DONE && readFile(m_downloads[handle], &file)) {
                    reply->bytes(file);
                } else {
                    reply->buffer(nullptr, 0);
                }
            }
        } else if (name == "NET_DVR_UploadClose" || name == "NET_DVR_StopDownload") {
            const bool upload = name == "NET_DVR_UploadClose";
            auto& files = upload ? m_uploads : m_downloads;
            const int32_t handle = transfer(files, in.number());
            if (in.ok() && in.atEnd()) {
                const int32_t result = upload ? NET_DVR_UploadClose(handle) : NET_DVR_StopDownload(handle);
                answer(reply, result);
                if (result) {
                    std::remove(files[handle].c_str());
                    files.erase(handle);
                }
            }
        } else {
            known = false;
        }
        if (!known) {
            *why = "unknown call '" + name + "'";
            return false;
        }
        if (!in.ok() || !in.atEnd()) {
            *why = "malformed arguments of " + name;
            return false;
        }
        return true;
    }

    void closeEverything() {
        for (auto& entry : m_streams) NET_DVR_StopRemoteConfig(entry.first);
        m_streams.clear();
        for (auto& entry : m_uploads) {
            NET_DVR_UploadClose(entry.first);
            std::remove(entry.second.c_str());
        }
        for (auto& entry : m_downloads) {
            NET_DVR_StopDownload(entry.first);
            std::remove(entry.second.c_str());
        }
        m_uploads.clear();
        m_downloads.clear();
        for (int32_t user : m_logins) NET_DVR_Logout_V30(user);
        m_logins.clear();
    }

    Socket m_socket;
    const LinkServer::Options m_station;
    std::mutex m_writeMutex;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    std::set<int32_t> m_logins;
    std::map<int32_t, std::unique_ptr<Stream>> m_streams;
    std::map<int32_t, std::string> m_uploads;
    std::map<int32_t, std::string> m_downloads;
};

LinkServer::LinkServer(Socket listener, Options station)
    : m_listener(std::move(listener)), m_station(std::move(station)) {}

LinkServer::~LinkServer() { stop(); }

void LinkServer::run() {
    for (;;) {
        Socket socket = acceptFrom(m_listener);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!socket.valid() || m_stopping) break;
        // Finished connections are collected as new ones come.
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            if ((*it)->finished()) {
                (*it)->join();
                it = m_connections.erase(it);
            } else {
                ++it;
            }
        }
        auto connection = std::make_shared<ServerConnection>(std::move(socket), m_station);
        connection->start();
        m_connections.push_back(std::move(connection));
    }
    std::list<std::shared_ptr<ServerConnection>> connections;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        connections.swap(m_connections);
    }
    for (auto& connection : connections) connection->shutdown();
    for (auto& connection : connections) connection->join();
}

void LinkServer::dropNextSearches(int times, int afterRecords) {
    DropPlan& plan = dropPlan();
    std::lock_guard<std::mutex> lock(plan.mutex);
    plan.times = times;
    plan.afterRecords = afterRecords < 0 ? 0 : afterRecords;
}

int LinkServer::searchesToDrop(int* afterRecords) {
    DropPlan& plan = dropPlan();
    std::lock_guard<std::mutex> lock(plan.mutex);
    *afterRecords = plan.afterRecords;
    return plan.times;
}

void LinkServer::stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    m_listener.shutdown();
}

}  // namespace link
}  // namespace vstation
