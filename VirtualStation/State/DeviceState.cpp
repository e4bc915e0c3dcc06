// DeviceState: profile keys, and the station's file on disk.
#include "State/DeviceState.h"

#include <cjson/cJSON.h>

#include <cmath>
#include <cstdio>

#include "State/LocalFiles.h"
#include "State/ScratchFolder.h"

namespace vstation {

namespace {

constexpr const char* kSampleFile =
    "Enrollment station file store\n"
    "This is the sample file of the virtual station. Upload a file to replace it.\n";

// A profile byte: an integer 0-255, else the sample stays.
void readByte(const cJSON* object, const char* key, uint8_t* out) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (!cJSON_IsNumber(item)) return;
    const double value = item->valuedouble;
    if (value >= 0 && value <= 255 && value == std::floor(value)) *out = static_cast<uint8_t>(value);
}

}  // namespace

StoredFile::~StoredFile() { removeFile(m_path); }

std::shared_ptr<const StoredFile> StoredFile::fromBytes(const std::string& bytes) {
    const std::string path = scratchPath("station");
    if (path.empty()) return nullptr;
    FilePtr file = createExclusive(path);
    if (!file) return nullptr;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    if (std::fclose(file.release()) != 0 || !written) {
        removeFile(path);
        return nullptr;
    }
    return std::make_shared<const StoredFile>(path, bytes.size());
}

void DeviceState::load(const cJSON* profile) {
    m_initialFile = kSampleFile;
    if (!profile) return;
    const cJSON* face = cJSON_GetObjectItemCaseSensitive(profile, "faceParam");
    if (cJSON_IsObject(face)) {
        readByte(face, "switch", &faceSwitch);
        readByte(face, "value", &faceValue);
    }
    const cJSON* file = cJSON_GetObjectItemCaseSensitive(profile, "file");
    if (cJSON_IsString(file) && file->valuestring) m_initialFile = file->valuestring;
}

void DeviceState::save(cJSON* profile) const {
    cJSON* face = cJSON_AddObjectToObject(profile, "faceParam");
    cJSON_AddNumberToObject(face, "switch", faceSwitch);
    cJSON_AddNumberToObject(face, "value", faceValue);
}

std::shared_ptr<const StoredFile> DeviceState::file() {
    // Most stations are never asked for their file: only then does it reach the disk.
    if (!m_file) m_file = StoredFile::fromBytes(m_initialFile);
    return m_file;
}

void DeviceState::replaceFile(std::shared_ptr<const StoredFile> file) {
    m_file = std::move(file);
    m_initialFile.clear();
}

}  // namespace vstation
