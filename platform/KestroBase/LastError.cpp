// The process-wide last-error store of the base library stand-in.
#include <mutex>

#include "KestroBase.h"

namespace Kestro {
namespace Base {
namespace Error {

namespace {

// One store for all threads: a code set on an SDK callback thread must be
// what the caller's thread reads afterwards.
struct Store {
    std::mutex mutex;
    ErrorCode code;
};

Store& store() {
    static Store instance;
    return instance;
}

}  // namespace

ErrorCode::ErrorCode() : iMainCode(0), iSubCode(0) {}

ErrorCode::ErrorCode(int mainCode, int subCode) : iMainCode(mainCode), iSubCode(subCode) {}

void SetLastError(const ErrorCode& code) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.code = code;
}

ErrorCode GetLastError() {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.code;
}

}  // namespace Error
}  // namespace Base
}  // namespace Kestro
