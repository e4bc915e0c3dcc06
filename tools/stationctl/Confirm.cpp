#include "Confirm.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "Terminal.h"

namespace stationctl {

Answer confirm(const std::string& question) {
    if (!stdinIsTerminal()) return Answer::NoTerminal;
    std::cerr << question << " [y/N] " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return Answer::No;
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return line == "y" || line == "yes" ? Answer::Yes : Answer::No;
}

}  // namespace stationctl
