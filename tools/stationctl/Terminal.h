// Whether the standard streams are attached to a terminal.
#ifndef STATIONCTL_TERMINAL_H
#define STATIONCTL_TERMINAL_H

namespace stationctl {

bool stdinIsTerminal();
bool stderrIsTerminal();

}  // namespace stationctl

#endif  // STATIONCTL_TERMINAL_H
