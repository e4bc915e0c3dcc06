// Files on the local disk, the same on every system: exclusive creation,
// replacing a file, removing one, and the process number for unique names.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_LOCALFILES_H
#define VSTATION_LOCALFILES_H

#include <cstdio>
#include <memory>
#include <string>

namespace vstation {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A new file open for binary writing, never over an existing one, not
// inherited by child processes. Null when it exists or cannot be made.
FilePtr createExclusive(const std::string& path);

// Moves `from` to `to`, replacing a file already at `to`.
bool moveReplacing(const std::string& from, const std::string& to);

// Removes a file; false when it is still there.
bool removeFile(const std::string& path);

unsigned long processNumber();

}  // namespace vstation

#endif  // VSTATION_LOCALFILES_H
