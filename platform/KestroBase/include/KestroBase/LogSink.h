// Controls of the base library stand-in that the original does not have:
// where log lines go and which levels pass. Programs that only use the
// declarations of KestroBase.h never need this header.
//
// Without any call here the stand-in reads two environment variables once,
// at the first log line:
//   KESTRO_LOG        "stderr" (default), "stdout", "off", or a file path to
//                     append to.
//   KESTRO_LOG_LEVEL  the lowest level written (default 5, so level-3 traces
//                     are off).
// The calls below override them for the rest of the process.
#ifndef KESTRO_BASE_LOG_SINK_H
#define KESTRO_BASE_LOG_SINK_H

#include <functional>
#include <string>

#include "KestroBase.h"

namespace kestro_standin {

// Receives every line that passes the level filter: the level, the module tag
// and the formatted text (without time stamp or line end). A sink replaces the
// file or stream destination; it is called under the log lock, so it must not
// log itself.
using LogSink = std::function<void(int level, const std::string& module, const std::string& text)>;

// Installs `sink`; an empty function restores the configured destination.
KESTROBASE_API void setLogSink(LogSink sink);

// Lines below `minLevel` are dropped, for the sink and the destination alike.
KESTROBASE_API void setLogLevel(int minLevel);

// Appends lines to the file `pathOrEmpty`; empty means standard error.
KESTROBASE_API void setLogFile(const std::string& pathOrEmpty);

}  // namespace kestro_standin

#endif  // KESTRO_BASE_LOG_SINK_H
