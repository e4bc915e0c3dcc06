// Started with KESTRO_LOG=<file> and KESTRO_LOG_LEVEL=3; the file is argv[1].
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "KestroBase.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::remove(argv[1]);  // the log opens the file at its first line
    Kestro::Base::details::VexaFormatLog(3, "Env", "trace %d", 3);
    Kestro::Base::details::VexaFormatLog(2, "Env", "below");
    std::ifstream in(argv[1]);
    std::string first;
    std::string second;
    std::getline(in, first);
    const bool ok = first.find(" [3] Env: trace 3") != std::string::npos && !std::getline(in, second);
    if (!ok) std::cerr << "unexpected log file content: " << first << " / " << second << '\n';
    return ok ? 0 : 1;
}
