// The process's private folder for station files and uploads in progress.
//
// Made on first use in the system's temporary folder, readable by this
// user only, and removed, with everything in it, when the process exits
// normally. A process killed outright leaves its folder; the next process
// to make one removes the folders of this user's processes that are gone
// (not on Windows, whose own clean-up empties the temporary folder).
//
// Thread safety: both functions may be called from any thread.
#ifndef VSTATION_SCRATCHFOLDER_H
#define VSTATION_SCRATCHFOLDER_H

#include <string>

namespace vstation {

// A fresh path inside the folder, named after `stem`; no file exists there
// yet. Empty when the folder cannot be made.
std::string scratchPath(const char* stem);

// A process-wide counter for names that must not collide with another
// transfer's (scratch files, temporary files beside a download target).
unsigned long long nextScratchNumber();

}  // namespace vstation

#endif  // VSTATION_SCRATCHFOLDER_H
