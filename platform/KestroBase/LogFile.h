// The file a log writes to.
//
// Traces carry card, identity and biometric data, so the file is created
// readable by its owner only and is never opened through a symbolic link
// (where the platform can refuse one), which keeps another local user from
// pointing the log at a file of their choosing. Its size is capped by one
// rotation: when a line would take the file past its limit, the file becomes
// "<path>.1" (replacing the previous one) and a new file starts.
//
// Not thread-safe: the logger calls it under its own lock.
#ifndef KESTRO_BASE_LOG_FILE_H
#define KESTRO_BASE_LOG_FILE_H

#include <cstdint>
#include <string>

namespace kestro_standin {

class LogFile {
public:
    static constexpr std::uint64_t kDefaultLimit = 10u * 1024u * 1024u;

    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens `path` for appending; on failure `error` says why.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // 0 lifts the cap. Applies from the next line on.
    void setLimit(std::uint64_t bytes) { m_limit = bytes; }

    // Appends `line`, rotating first when it would pass the limit. Fails only
    // when the new file cannot be opened after a rotation; the file is then
    // closed and `error` says why.
    bool append(const std::string& line, std::string& error);

private:
    bool openFile(bool truncate, std::string& error);
    bool rotate(std::string& error);

    std::string m_path;
    int m_fd = -1;
    bool m_regular = false;  // only regular files are rotated
    std::uint64_t m_size = 0;
    std::uint64_t m_limit = kDefaultLimit;
};

}  // namespace kestro_standin

#endif  // KESTRO_BASE_LOG_FILE_H
