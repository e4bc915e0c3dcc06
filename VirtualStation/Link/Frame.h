// Frames of the link between the SDK stand-in and a station process.
//
// On the wire a frame is a 32-bit big-endian length, then that many bytes: a
// kind byte and a list of items. An item is 'i' and a 64-bit big-endian
// signed number, 'b' and a 32-bit big-endian length and that many bytes, or
// 'n' (a buffer the caller did not hand in). docs/virtual-station.md lists
// the frames of each call.
//
// Thread safety: plain values and pure functions.
#ifndef VSTATION_LINK_FRAME_H
#define VSTATION_LINK_FRAME_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vstation {
namespace link {

// Larger frames are refused before anything is allocated for them.
constexpr uint32_t kMaxFrameBytes = 64u * 1024 * 1024;
// No frame of the link carries more than a dozen items; more are refused,
// since an item takes some fifty bytes of memory for one byte on the wire.
constexpr size_t kMaxFrameItems = 64;
constexpr int64_t kProtocolVersion = 1;

enum class FrameKind : uint8_t {
    Call = 'C',    // client -> station: call name, then its arguments
    Reply = 'R',   // station -> client: return value, SDK error, then outputs
    Report = 'E',  // station -> client: a long connection's report
    Error = 'X',   // either way: why the connection is being closed
    Ping = 'P',    // client -> station on an idle link; the station sends one back
};

struct Item {
    enum class Type : uint8_t { Number = 'i', Bytes = 'b', Null = 'n' };
    Type type = Type::Null;
    int64_t number = 0;
    std::string bytes;
};

struct Frame {
    FrameKind kind = FrameKind::Call;
    std::vector<Item> items;

    Frame& number(int64_t value);
    Frame& bytes(const void* data, size_t size);
    Frame& bytes(const std::string& data) { return bytes(data.data(), data.size()); }
    // `data` when it is not null, otherwise a Null item.
    Frame& buffer(const void* data, size_t size);
};

// The whole frame, length prefix included.
std::string encodeFrame(const Frame& frame);
// Reads the 4-byte length prefix; false when it is out of range.
bool frameLength(const uint8_t prefix[4], uint32_t* length);
// Parses what follows the prefix. On failure `why` says what is wrong.
bool decodeFrame(const uint8_t* data, size_t size, Frame* frame, std::string* why);

// Reads items in order; a missing item or one of another type marks the
// reader failed and yields 0 / null from then on.
class ItemReader {
public:
    explicit ItemReader(const Frame& frame) : m_items(frame.items) {}
    int64_t number();
    // Null for a Null item.
    const std::string* buffer();
    std::string text();
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_next == m_items.size(); }

private:
    const Item* take();
    const std::vector<Item>& m_items;
    size_t m_next = 0;
    bool m_ok = true;
};

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_FRAME_H
