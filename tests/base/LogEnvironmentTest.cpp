// Destination and level from the environment, in a process of its own.
//   <file>       started with KESTRO_LOG=<file> and KESTRO_LOG_LEVEL=3
//   --quiet <f>  started without KESTRO_LOG: a failure line must not reach
//                stderr, which is sent to <f> to look
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "KestroBase.h"

namespace {

int destinationFromEnvironment(const char* path) {
    std::remove(path);  // the log opens the file at its first line
    Kestro::Base::details::VexaFormatLog(3, "Env", "trace %d", 3);
    Kestro::Base::details::VexaFormatLog(2, "Env", "below");
    std::ifstream in(path);
    std::string first;
    std::string second;
    std::getline(in, first);
    const bool ok = first.find(" [3] Env: trace 3") != std::string::npos && !std::getline(in, second);
    if (!ok) std::cerr << "unexpected log file content: " << first << " / " << second << '\n';
    return ok ? 0 : 1;
}

int quietByDefault(const char* path) {
    if (std::freopen(path, "w", stderr) == nullptr) return 2;
    Kestro::Base::details::VexaFormatLog(5, "Env", "failure");
    std::fflush(stderr);
    std::ifstream in(path);
    std::string said;
    std::getline(in, said, '\0');
    if (!said.empty()) std::cout << "written to stderr: " << said << '\n';
    return said.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--quiet") return quietByDefault(argv[2]);
    if (argc == 2) return destinationFromEnvironment(argv[1]);
    return 2;
}
