#include "StateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

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

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
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
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        *why = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
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
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(part.c_str(), target.c_str()) != 0) {
        std::remove(part.c_str());
        return false;
    }
    // The rename itself lasts once the folder is flushed.
    const int dir = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    *last = bytes;
    return true;
}

}  // namespace vstation_tool
