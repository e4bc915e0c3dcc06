// DeviceState: face parameters and the file store of one station.
//
// Thread safety: guarded by the station's mutex, like every family state.
#ifndef VSTATION_DEVICESTATE_H
#define VSTATION_DEVICESTATE_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

struct cJSON;

namespace vstation {

// One file held by a station, kept on disk in the process's scratch folder.
// The file goes with the last holder: a download that has it open keeps
// reading it even after an upload replaced it.
class StoredFile {
public:
    StoredFile(std::string path, uint64_t size) : m_path(std::move(path)), m_size(size) {}
    ~StoredFile();
    StoredFile(const StoredFile&) = delete;
    StoredFile& operator=(const StoredFile&) = delete;

    const std::string& path() const { return m_path; }
    uint64_t size() const { return m_size; }

    // Writes `bytes` to a new scratch file; null when the disk refuses.
    static std::shared_ptr<const StoredFile> fromBytes(const std::string& bytes);

private:
    std::string m_path;
    uint64_t m_size;
};

struct DeviceState {
    // Reads "faceParam" and "file" from the station's profile object (null:
    // none), falling back to the built-in samples for keys that are absent.
    void load(const cJSON* profile);
    // Adds "faceParam" to `profile` (the file is kept apart: it may be any bytes).
    void save(cJSON* profile) const;

    // Face parameter record values as the station keeps them: the switch
    // byte (1 off, 2 on; a profile may hold any byte) and the value byte.
    uint8_t faceSwitch = 2;
    uint8_t faceValue = 50;

    // The station's one file: what a download of type 40 returns and what an
    // upload of type 56 replaces. Written to disk on first use; null when
    // the disk refuses.
    std::shared_ptr<const StoredFile> file();
    void replaceFile(std::shared_ptr<const StoredFile> file);

private:
    std::string m_initialFile;  // the profile's text until it is first needed
    std::shared_ptr<const StoredFile> m_file;
};

}  // namespace vstation

#endif  // VSTATION_DEVICESTATE_H
