// The link spoken raw, as a faulty or hostile client would: another
// connection's handles, malformed frames, a foreign protocol version, a
// client that stops reading. The station answers each with a clear error (or
// gives the frozen one up), closes at most that connection, and goes on
// serving.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "Link/Frame.h"
#include "Link/Socket.h"
#include "ToolRun.h"
#include "ZornNetSDK.h"

using vstation::link::Frame;
using vstation::link::FrameKind;
using vstation::link::ItemReader;
using vstation::link::Socket;

namespace {

Socket dial(const StationProcess& station) {
    const std::string& address = station.address();
    const size_t colon = address.rfind(':');
    return vstation::link::connectTo(address.substr(0, colon),
                                     static_cast<uint16_t>(std::stoi(address.substr(colon + 1))), 3000);
}

Frame call(const std::string& name) {
    Frame frame;
    frame.kind = FrameKind::Call;
    frame.bytes(name);
    return frame;
}

Frame exchange(Socket& socket, const Frame& request) {
    Frame reply;
    std::string why;
    EXPECT_TRUE(vstation::link::writeFrame(socket, request));
    EXPECT_TRUE(vstation::link::readFrame(socket, &reply, &why)) << why;
    return reply;
}

Frame loginCall(const char* password, int64_t version = vstation::link::kProtocolVersion) {
    NET_DVR_USER_LOGIN_INFO info{};
    std::strcpy(info.sDeviceAddress, "somewhere");  // the station is whoever answers
    info.wPort = 1;
    std::strcpy(info.sUserName, "admin");
    std::strcpy(info.sPassword, password);
    info.byLoginMode = 2;
    Frame frame = call("NET_DVR_Login_V40");
    frame.number(version).bytes(&info, sizeof info);
    return frame;
}

// Return value and SDK error of a reply.
std::pair<int64_t, int64_t> outcome(const Frame& reply) {
    EXPECT_EQ(reply.kind, FrameKind::Reply);
    ItemReader items(reply);
    const int64_t result = items.number();
    return {result, items.number()};
}

std::pair<int64_t, int64_t> outcomeOf(int64_t result, int64_t error) { return {result, error}; }

// After an error frame the station closes the connection.
std::string refusal(Socket& socket) {
    Frame reply;
    std::string why;
    EXPECT_TRUE(vstation::link::readFrame(socket, &reply, &why)) << why;
    EXPECT_EQ(reply.kind, FrameKind::Error);
    ItemReader items(reply);
    const std::string text = items.text();
    EXPECT_FALSE(vstation::link::readFrame(socket, &reply, &why)) << "connection left open";
    return text;
}

}  // namespace

TEST(Link, AccountsAreCheckedAndHandlesBelongToTheirConnection) {
    StationProcess station;
    ASSERT_FALSE(station.address().empty());
    Socket first = dial(station);
    Socket second = dial(station);

    EXPECT_EQ(outcome(exchange(first, loginCall("wrong"))), outcomeOf(-1, NET_DVR_ERR_PASSWORD));
    const auto [handle, error] = outcome(exchange(first, loginCall("Station#2026")));
    ASSERT_GE(handle, 0);
    EXPECT_EQ(error, 0);

    // The second connection cannot reach the first one's session.
    Frame logout = call("NET_DVR_Logout_V30");
    logout.number(handle);
    EXPECT_EQ(outcome(exchange(second, logout)), outcomeOf(0, NET_DVR_ERR_USER_ID));
    EXPECT_EQ(outcome(exchange(first, logout)), outcomeOf(1, 0));
}

TEST(Link, MalformedFramesCloseOnlyTheirConnection) {
    StationProcess station;
    ASSERT_FALSE(station.address().empty());

    struct Case {
        const char* what;
        std::string bytes;
        const char* said;
    } cases[] = {
        {"unknown kind", std::string("\0\0\0\1Z", 5), "unknown frame kind"},
        {"length beyond the limit", std::string("\x7f\xff\xff\xff", 4), "out of range"},
        {"buffer longer than its frame", std::string("\0\0\0\7Cb\0\0\0\x09x", 11), "longer than its frame"},
        {"unknown call", vstation::link::encodeFrame(call("NET_DVR_Format")), "unknown call 'NET_DVR_Format'"},
        {"arguments missing", vstation::link::encodeFrame(call("NET_DVR_Logout_V30")), "malformed arguments"},
        {"a report from the client", vstation::link::encodeFrame(Frame{FrameKind::Report, {}}), "only calls"},
        {"another protocol version", vstation::link::encodeFrame(loginCall("Station#2026", 99)), "version 99"},
        // Each item costs far more in memory than its byte on the wire.
        {"too many items", vstation::link::encodeFrame(Frame{FrameKind::Call, std::vector<vstation::link::Item>(1000)}),
         "too many items"},
    };
    Socket bystander = dial(station);
    for (const Case& c : cases) {
        Socket socket = dial(station);
        ASSERT_TRUE(socket.sendAll(c.bytes)) << c.what;
        EXPECT_NE(refusal(socket).find(c.said), std::string::npos) << c.what;
    }
    // The station and its other connections go on.
    EXPECT_GE(outcome(exchange(bystander, loginCall("Station#2026"))).first, 0);
    Socket fresh = dial(station);
    EXPECT_GE(outcome(exchange(fresh, loginCall("Station#2026"))).first, 0);
}

// A client that takes nothing in any more (frozen, or gone without its
// connection closing) while the station sends it a reply far larger than
// the connection holds: the station gives the send up after its time-out
// and ends that connection as if the client had closed it.
TEST(Link, AClientThatStopsReadingIsDroppedWhileOthersAreServed) {
    constexpr int kTimeoutMs = 300;
    StationProcess station({}, {{"VSTATION_REPLY_TIMEOUT_MS", std::to_string(kTimeoutMs)}});
    ASSERT_FALSE(station.address().empty());
    Socket frozen = dial(station);
    const int64_t handle = outcome(exchange(frozen, loginCall("Station#2026"))).first;
    ASSERT_GE(handle, 0);
    // An output buffer travels back whole, whatever the call writes into it.
    constexpr size_t kOut = 16u << 20;
    Frame ability = call("NET_DVR_GetDeviceAbility");
    ability.number(handle).number(0).buffer(nullptr, 0).number(0).bytes(std::string(kOut, 'x')).number(kOut);
    ASSERT_TRUE(vstation::link::writeFrame(frozen, ability));

    // The station serves another client while its send waits.
    Socket other = dial(station);
    const int64_t otherHandle = outcome(exchange(other, loginCall("Station#2026"))).first;
    EXPECT_GE(otherHandle, 0);
    Frame logout = call("NET_DVR_Logout_V30");
    logout.number(otherHandle);
    EXPECT_EQ(outcome(exchange(other, logout)), outcomeOf(1, 0));

    // Woken after the time-out (and slack for a loaded machine), the client
    // finds its connection ended long before the reply's end.
    std::this_thread::sleep_for(std::chrono::milliseconds(kTimeoutMs + 1500));
    std::vector<char> chunk(4096);
    size_t received = 0;
    while (received + chunk.size() < kOut && frozen.receiveAll(chunk.data(), chunk.size())) received += chunk.size();
    EXPECT_LT(received + chunk.size(), kOut) << "the whole reply went to a client that had stopped reading";
    RecordProperty("receivedBytes", static_cast<int>(received));

    const ToolResult result = station.stop();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("the client took nothing in for 300 ms"), std::string::npos) << result.err;
}
