#include "StateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <cjson/cJSON.h>

#include "VirtualStation/StationControl.h"
#include "VirtualStation/TransferControl.h"

namespace vstation_tool {

namespace {

bool readFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return true;
}

// `bytes` in a new file at `path`, on the disk when this returns true.
bool writeFlushed(const std::string& path, const std::string& bytes) {
#ifdef _WIN32
    // Binary, or the C runtime turns every "\n" into "\r\n".
    const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
#endif
    if (fd < 0) return false;
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
#ifdef _WIN32
        const int n = ::_write(fd, bytes.data() + done, static_cast<unsigned>(std::min<size_t>(bytes.size() - done, 1 << 20)));
#else
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
#endif
        written = n > 0;
        if (written) done += static_cast<size_t>(n);
    }
#ifdef _WIN32
    written = written && ::_commit(fd) == 0;
    return ::_close(fd) == 0 && written;
#else
    written = written && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
#endif
}

// Puts `from` in place of `to` and makes the move itself last.
bool moveFlushed(const std::string& from, const std::string& to, const std::string& folder) {
#ifdef _WIN32
    (void)folder;
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename lasts once the folder is flushed.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
#endif
}

// The profile's first station with `state`'s keys put in place of its own.
std::string merged(const std::string& profile, const std::string& state) {
    cJSON* root = cJSON_Parse(profile.c_str());
    cJSON* changes = cJSON_Parse(state.c_str());
    cJSON* station = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(root, "stations"), 0);
    std::string text;
    if (cJSON_IsObject(station) && cJSON_IsObject(changes)) {
        for (cJSON* key = changes->child; key; key = key->next) {
            cJSON_DeleteItemFromObjectCaseSensitive(station, key->string);
            cJSON_AddItemToObject(station, key->string, cJSON_Duplicate(key, true));
        }
        char* printed = cJSON_Print(root);
        if (printed) text = printed;
        cJSON_free(printed);
    }
    cJSON_Delete(root);
    cJSON_Delete(changes);
    return text;
}

}  // namespace

bool StateFolder::open(const std::string& path, std::string* why) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(path, error) && fs::create_directory(path, error)) {
        fs::permissions(path, fs::perms::owner_all, error);
    }
    if (error) {
        *why = "cannot create " + path + ": " + error.message();
        return false;
    }
    if (!fs::is_directory(path, error)) {
        *why = path + " is not a folder";
        return false;
    }
    m_path = path;
    readFile(m_path + "/profile.json", &m_lastProfile);
    readFile(m_path + "/file", &m_lastFile);
    return true;
}

bool StateFolder::savedProfile(std::string* profile) const {
    if (m_lastProfile.empty()) return false;
    *profile = m_lastProfile;
    return true;
}

void StateFolder::restoreFile(const std::string& address, uint16_t port) const {
    std::string bytes;
    if (readFile(m_path + "/file", &bytes)) vstation::setStationFile(bytes, address, port);
}

bool StateFolder::save(const std::string& profile, const std::string& address, uint16_t port) {
    if (!isOpen()) return true;
    std::string state;
    std::string file;
    if (!vstation::stationState(&state, address, port) || !vstation::stationFile(&file, address, port)) return false;
    const std::string text = merged(profile, state);
    std::lock_guard<std::mutex> lock(m_mutex);
    return !text.empty() && replace("profile.json", text, &m_lastProfile) && replace("file", file, &m_lastFile);
}

bool StateFolder::replace(const std::string& name, const std::string& bytes, std::string* last) {
    if (bytes == *last) return true;
    const std::string target = m_path + "/" + name;
    const std::string part = m_path + "/." + name + ".part";
    if (!writeFlushed(part, bytes) || !moveFlushed(part, target, m_path)) {
        std::remove(part.c_str());
        return false;
    }
    *last = bytes;
    return true;
}

}  // namespace vstation_tool
