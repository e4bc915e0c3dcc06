// Arbitrary bytes as the link's frame reader sees them: a length prefix, then
// a frame body. Whatever decodes must encode back to the same bytes, and a
// report's buffers must match the lengths its record names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Link/Frame.h"
#include "Link/Reports.h"

using vstation::link::Frame;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t length = 0;
    if (!vstation::link::frameLength(data, &length) || length != size - 4) return 0;
    // An exact-size copy, so reading one byte past the body is caught.
    std::unique_ptr<uint8_t[]> body(new uint8_t[length]);
    std::memcpy(body.get(), data + 4, length);

    Frame frame;
    std::string why;
    if (!vstation::link::decodeFrame(body.get(), length, &frame, &why)) {
        if (why.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const std::string again = vstation::link::encodeFrame(frame);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0) std::abort();

    if (frame.kind == vstation::link::FrameKind::Report) {
        vstation::link::ItemReader items(frame);
        items.number();  // connection
        const auto command = static_cast<uint32_t>(items.number());
        vstation::link::Report report;
        if (vstation::link::unpackReport(command, &items, &report)) (void)report.bind();
    }
    return 0;
}
