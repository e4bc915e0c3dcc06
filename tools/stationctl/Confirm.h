// Asking the person at the terminal before something that cannot be undone.
#ifndef STATIONCTL_CONFIRM_H
#define STATIONCTL_CONFIRM_H

#include <string>

namespace stationctl {

enum class Answer { Yes, No, NoTerminal };

// Asks `question` on stderr and reads y/yes (any case) from the terminal.
// Without a terminal on stdin nobody can answer: NoTerminal.
Answer confirm(const std::string& question);

}  // namespace stationctl

#endif  // STATIONCTL_CONFIRM_H
