// The request to stop the station process: Ctrl-C or SIGTERM on POSIX,
// Ctrl-C, Ctrl-Break or the console closing on Windows. The main thread
// waits for it and then stops the station in order.
#ifndef VSTATION_TOOL_STOP_REQUEST_H
#define VSTATION_TOOL_STOP_REQUEST_H

namespace vstation_tool {

// Takes the stop requests away from their default action (ending the
// process at once). Call before any other thread starts: on POSIX the
// threads inherit the blocked signals, so only waitForStop() sees them.
void catchStopRequests();

// Returns once a stop was requested.
void waitForStop();

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_STOP_REQUEST_H
