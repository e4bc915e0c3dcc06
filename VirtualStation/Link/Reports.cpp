#include "Link/Reports.h"

#include <cstddef>
#include <cstring>

#include "ZornNetSDK.h"

namespace vstation {
namespace link {

namespace {

struct PointerField {
    size_t pointer;  // offset of the pointer
    size_t size;     // offset of its 32-bit length
};

std::vector<PointerField> pointerFields(uint32_t command) {
    switch (command) {
    case NET_DVR_CAPTURE_FINGERPRINT_INFO:
        return {{offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, pFingerPrintPicBuffer),
                 offsetof(NET_DVR_CAPTURE_FINGERPRINT_CFG, dwFingerPrintPicSize)}};
    case NET_DVR_CAPTURE_FACE_INFO:
        return {{offsetof(NET_DVR_CAPTURE_FACE_CFG, pFaceTemplate1Buffer),
                 offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFaceTemplate1Size)},
                {offsetof(NET_DVR_CAPTURE_FACE_CFG, pFaceTemplate2Buffer),
                 offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFaceTemplate2Size)},
                {offsetof(NET_DVR_CAPTURE_FACE_CFG, pFacePicBuffer), offsetof(NET_DVR_CAPTURE_FACE_CFG, dwFacePicSize)},
                {offsetof(NET_DVR_CAPTURE_FACE_CFG, pInfraredFacePicBuffer),
                 offsetof(NET_DVR_CAPTURE_FACE_CFG, dwInfraredFacePicSize)}};
    case NET_DVR_SEARCH_CAPTURE_DATA:
        return {{offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pJsonBuffer),
                 offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwJsonLen)},
                {offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pFacePicBuffer),
                 offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwFacePicSize)},
                {offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, pInfraredFacePicBuffer),
                 offsetof(NET_DVR_SEARCH_CAPTURE_DATA_RESULT, dwInfraredFacePicSize)}};
    default:
        return {};
    }
}

// Data reports carry the pointers; status and progress reports are flat.
std::vector<PointerField> fieldsOf(uint32_t command, uint32_t type, size_t length) {
    if (type != NET_SDK_CALLBACK_TYPE_DATA) return {};
    std::vector<PointerField> fields = pointerFields(command);
    for (const PointerField& f : fields) {
        if (f.pointer + sizeof(void*) > length || f.size + sizeof(uint32_t) > length) return {};
    }
    return fields;
}

}  // namespace

void packReport(uint32_t command, uint32_t type, const void* buffer, uint32_t length, Frame* frame) {
    frame->number(type);
    if (buffer == nullptr) {
        frame->buffer(nullptr, 0);
        return;
    }
    std::string record(static_cast<const char*>(buffer), length);
    const std::vector<PointerField> fields = fieldsOf(command, type, length);
    std::vector<std::pair<const char*, uint32_t>> pointed;
    for (const PointerField& f : fields) {
        const char* p = nullptr;
        uint32_t size = 0;
        std::memcpy(&p, record.data() + f.pointer, sizeof p);
        std::memcpy(&size, record.data() + f.size, sizeof size);
        std::memset(&record[f.pointer], 0, sizeof p);
        pointed.emplace_back(p, size);
    }
    frame->bytes(record);
    for (const auto& [p, size] : pointed) frame->buffer(p, size);
}

bool unpackReport(uint32_t command, ItemReader* items, Report* report) {
    report->type = static_cast<uint32_t>(items->number());
    const std::string* record = items->buffer();
    report->hasRecord = record != nullptr;
    if (record) report->record = *record;
    const std::vector<PointerField> fields = fieldsOf(command, report->type, report->record.size());
    for (const PointerField& f : fields) {
        const std::string* buffer = items->buffer();
        report->present.push_back(buffer != nullptr);
        report->pointerOffsets.push_back(f.pointer);
        report->buffers.push_back(buffer ? *buffer : std::string());
        uint32_t size = 0;
        std::memcpy(&size, report->record.data() + f.size, sizeof size);
        if (buffer && buffer->size() != size) return false;
    }
    return items->ok() && items->atEnd();
}

void* Report::bind() {
    if (!hasRecord) return nullptr;
    for (size_t i = 0; i < pointerOffsets.size(); ++i) {
        char* p = present[i] ? &buffers[i][0] : nullptr;
        std::memcpy(&record[pointerOffsets[i]], &p, sizeof p);
    }
    return &record[0];
}

}  // namespace link
}  // namespace vstation
