// The last error of the concurrency test program, kept per thread. The base
// library keeps one code for the whole process, so with 32 stations at work
// a thread would read another thread's code. The library sets the cancel and
// time-out codes on the calling thread, and this program's definitions take
// the place of the base library's.
#include "KestroBase.h"

namespace Kestro {
namespace Base {
namespace Error {

namespace {
thread_local ErrorCode t_code;
}  // namespace

void SetLastError(const ErrorCode& code) { t_code = code; }

ErrorCode GetLastError() { return t_code; }

}  // namespace Error
}  // namespace Base
}  // namespace Kestro
