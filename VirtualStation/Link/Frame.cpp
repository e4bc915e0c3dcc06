#include "Link/Frame.h"

#include <cstring>

namespace vstation {
namespace link {

namespace {

void putUnsigned(std::string& out, uint64_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint64_t getUnsigned(const uint8_t* data, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | data[i];
    return value;
}

bool validKind(uint8_t kind) {
    return kind == static_cast<uint8_t>(FrameKind::Call) || kind == static_cast<uint8_t>(FrameKind::Reply) ||
           kind == static_cast<uint8_t>(FrameKind::Report) || kind == static_cast<uint8_t>(FrameKind::Error) ||
           kind == static_cast<uint8_t>(FrameKind::Ping);
}

}  // namespace

Frame& Frame::number(int64_t value) {
    Item item;
    item.type = Item::Type::Number;
    item.number = value;
    items.push_back(std::move(item));
    return *this;
}

Frame& Frame::bytes(const void* data, size_t size) {
    Item item;
    item.type = Item::Type::Bytes;
    if (size > 0) item.bytes.assign(static_cast<const char*>(data), size);
    items.push_back(std::move(item));
    return *this;
}

Frame& Frame::buffer(const void* data, size_t size) {
    if (data != nullptr) return bytes(data, size);
    items.push_back(Item{});
    return *this;
}

std::string encodeFrame(const Frame& frame) {
    std::string body(1, static_cast<char>(frame.kind));
    for (const Item& item : frame.items) {
        body.push_back(static_cast<char>(item.type));
        if (item.type == Item::Type::Number) {
            putUnsigned(body, static_cast<uint64_t>(item.number), 8);
        } else if (item.type == Item::Type::Bytes) {
            putUnsigned(body, item.bytes.size(), 4);
            body += item.bytes;
        }
    }
    std::string out;
    putUnsigned(out, body.size(), 4);
    return out + body;
}

bool frameLength(const uint8_t prefix[4], uint32_t* length) {
    *length = static_cast<uint32_t>(getUnsigned(prefix, 4));
    return *length >= 1 && *length <= kMaxFrameBytes;
}

bool decodeFrame(const uint8_t* data, size_t size, Frame* frame, std::string* why) {
    if (size < 1 || !validKind(data[0])) {
        *why = "unknown frame kind";
        return false;
    }
    frame->kind = static_cast<FrameKind>(data[0]);
    frame->items.clear();
    size_t at = 1;
    while (at < size) {
        if (frame->items.size() == kMaxFrameItems) {
            *why = "too many items";
            return false;
        }
        Item item;
        item.type = static_cast<Item::Type>(data[at++]);
        if (item.type == Item::Type::Number) {
            if (size - at < 8) {
                *why = "number item cut short";
                return false;
            }
            item.number = static_cast<int64_t>(getUnsigned(data + at, 8));
            at += 8;
        } else if (item.type == Item::Type::Bytes) {
            if (size - at < 4) {
                *why = "buffer length cut short";
                return false;
            }
            const uint64_t length = getUnsigned(data + at, 4);
            at += 4;
            if (size - at < length) {
                *why = "buffer item longer than its frame";
                return false;
            }
            item.bytes.assign(reinterpret_cast<const char*>(data + at), static_cast<size_t>(length));
            at += static_cast<size_t>(length);
        } else if (item.type != Item::Type::Null) {
            *why = "unknown item type";
            return false;
        }
        frame->items.push_back(std::move(item));
    }
    return true;
}

const Item* ItemReader::take() {
    if (!m_ok || m_next >= m_items.size()) {
        m_ok = false;
        return nullptr;
    }
    return &m_items[m_next++];
}

int64_t ItemReader::number() {
    const Item* item = take();
    if (item && item->type == Item::Type::Number) return item->number;
    m_ok = false;
    return 0;
}

const std::string* ItemReader::buffer() {
    const Item* item = take();
    if (item && item->type == Item::Type::Bytes) return &item->bytes;
    if (!item || item->type != Item::Type::Null) m_ok = false;
    return nullptr;
}

std::string ItemReader::text() {
    const Item* item = take();
    if (item && item->type == Item::Type::Bytes) return item->bytes;
    m_ok = false;
    return std::string();
}

}  // namespace link
}  // namespace vstation
