// The folder that keeps a station's state between runs (--data DIR):
// profile.json, the station's profile with what clients changed written in,
// and file, the station's file. Each is replaced atomically (written beside,
// flushed, renamed), so a crash leaves the old state or the new, never half.
//
// Thread safety: save() may be called from any thread; calls are serialised.
#ifndef VSTATION_TOOL_STATE_FOLDER_H
#define VSTATION_TOOL_STATE_FOLDER_H

#include <cstdint>
#include <mutex>
#include <string>

namespace vstation_tool {

class StateFolder {
public:
    // Creates the folder when missing. False, with `why`, when it cannot.
    bool open(const std::string& path, std::string* why);
    bool isOpen() const { return !m_path.empty(); }

    // The profile kept by an earlier run, if any.
    bool savedProfile(std::string* profile) const;
    // Gives the station its kept file, if any.
    void restoreFile(const std::string& address, uint16_t port) const;

    // Writes the station's state into `profile` (the text the station was
    // loaded from) and keeps both files. Unchanged files are not rewritten.
    bool save(const std::string& profile, const std::string& address, uint16_t port);

private:
    bool replace(const std::string& name, const std::string& bytes, std::string* last);

    std::string m_path;
    std::mutex m_mutex;
    std::string m_lastProfile;
    std::string m_lastFile;
};

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_STATE_FOLDER_H
