// Feeds arbitrary text to one message's body reader; whatever it accepts must
// print, read back and print again to the same text. Built once per message
// with FUZZ_MESSAGE naming it; FUZZ_ROOTLESS selects the root-less path.
#include "Common/Protocol/JSONStruct/Messages.h"
#include "KestroBase/LogSink.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Message = protocol::FUZZ_MESSAGE;

bool parseBody(Message& msg, const std::string& text) {
#if defined(FUZZ_ROOTLESS)
    return protocol::TParseRootlessJSONStr(msg, text);
#else
    return protocol::TParseJSONStr(msg, text);
#endif
}

std::string printBody(const Message& msg) {
#if defined(FUZZ_ROOTLESS)
    return protocol::TToRootlessJSONStr(msg);
#else
    return protocol::TToJSONStr(msg);
#endif
}

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s\n--- text ---\n%s\n", what, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Parse failures are logged; format the lines but drop them.
    kestro_standin::setLogSink([](int, const std::string&, const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Message first;
    if (!parseBody(first, input)) {
        return 0;
    }
    // The first print may still differ from the input's values (an infinite
    // real prints as null); from then on the text is a fixed point.
    const std::string once = printBody(first);
    if (once.empty()) {
        fail("a message read from text did not print", input);
    }
    Message second;
    if (!parseBody(second, once)) {
        fail("printed text did not read back", once);
    }
    const std::string twice = printBody(second);
    Message third;
    if (!parseBody(third, twice) || printBody(third) != twice) {
        fail("print and read are not stable", twice);
    }
    return 0;
}
