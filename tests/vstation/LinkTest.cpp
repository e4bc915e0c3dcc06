// The link spoken raw, as a faulty or hostile client would: another
// connection's handles, malformed frames, a foreign protocol version. The
// station answers each with a clear error, closes at most that connection,
// and goes on serving.
#include <gtest/gtest.h>

#include <cstring>
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
