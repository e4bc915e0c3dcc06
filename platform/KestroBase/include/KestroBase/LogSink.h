// Controls of the base library stand-in that the original does not have:
// where log lines go and which levels pass. Programs that only use the
// declarations of KestroBase.h never need this header.
//
// Without any call here the stand-in reads three environment variables once,
// at the first log line:
//   KESTRO_LOG            "off" (default), "stderr", "stdout", or a file path
//                         to append to.
//   KESTRO_LOG_LEVEL      the lowest level written (default 5, so level-3
//                         traces are off).
//   KESTRO_LOG_MAX_BYTES  the log file's size cap (default 10 MiB, 0 for none).
// The calls below override them for the rest of the process.
//
// Level-3 traces hold card numbers, identity card data and biometrics. A log
// file is therefore created readable by its owner only and never opened
// through a symbolic link (POSIX); at its cap it moves to "<path>.1", so the
// log takes at most twice the cap. Unless traces are on, a line's text past
// 4 KiB is cut and ends with a note of how many bytes went. A file that
// cannot be opened is named once on standard error and its lines are dropped.
#ifndef KESTRO_BASE_LOG_SINK_H
#define KESTRO_BASE_LOG_SINK_H

#include <cstdint>
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
// The sink sees each text whole: cutting long lines is the destination's.
KESTROBASE_API void setLogSink(LogSink sink);

// Lines below `minLevel` are dropped, for the sink and the destination alike.
KESTROBASE_API void setLogLevel(int minLevel);

// Appends lines to the file `pathOrEmpty`; empty turns the destination off.
KESTROBASE_API void setLogFile(const std::string& pathOrEmpty);

// Writes lines to standard error.
KESTROBASE_API void setLogToStderr();

// Caps the log file at `bytes` (0: no cap), from the next line on.
KESTROBASE_API void setLogFileLimit(std::uint64_t bytes);

}  // namespace kestro_standin

#endif  // KESTRO_BASE_LOG_SINK_H
