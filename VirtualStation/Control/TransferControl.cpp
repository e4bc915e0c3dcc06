// Control API of the file store and the transfers.
#include <cstdio>
#include <mutex>

#include "State/DeviceState.h"
#include "Jobs/FileTransfer.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "VirtualStation/TransferControl.h"

namespace vstation {

bool failTransferAt(TransferKind kind, int32_t state, int afterPolls) {
    return FileTransfers::instance().armFault(kind, state, afterPolls);
}

void setTransferChunkSize(size_t bytes) { FileTransfers::instance().setChunkSize(bytes); }

bool setStationFile(const std::string& bytes, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    auto stored = StoredFile::fromBytes(bytes);
    if (!stored) return false;
    std::lock_guard<std::mutex> lock(station->mutex);
    station->device.replaceFile(std::move(stored));
    return true;
}

bool stationFile(std::string* bytes, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    std::shared_ptr<const StoredFile> stored;
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        stored = station->device.file();
    }
    if (!stored) return false;
    FILE* file = std::fopen(stored->path().c_str(), "rb");
    if (!file) return false;
    std::string content(static_cast<size_t>(stored->size()), '\0');
    const bool read = std::fread(&content[0], 1, content.size(), file) == content.size();
    std::fclose(file);
    if (!read) return false;
    bytes->swap(content);
    return true;
}

}  // namespace vstation
