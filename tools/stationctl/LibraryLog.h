// Where the library's own log lines go. stationctl prints every failure in
// words itself, so by default the library's lines are kept off the terminal.
#ifndef STATIONCTL_LIBRARYLOG_H
#define STATIONCTL_LIBRARYLOG_H

#include <string>

namespace stationctl {

// `where`: empty for off, "stderr", or a file to append to. Must run before
// the first library call. A KESTRO_LOG already in the environment wins.
void routeLibraryLog(const std::string& where);

}  // namespace stationctl

#endif  // STATIONCTL_LIBRARYLOG_H
