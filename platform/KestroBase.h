// Base library services: log lines, the last-error store, GUID text, Base64.
//
// Declarations only. The library links the shared library "KestroBase" by
// name; whatever provides these symbols (the stand-in built here, the original,
// or a test program's own definitions) serves it.
//
// Thread safety: every function may be called from any thread. The last-error
// store is process-wide: a code set on a worker or SDK callback thread is what
// GetLastError returns on the caller's thread afterwards.
#ifndef KESTRO_BASE_H
#define KESTRO_BASE_H

#include <string>

#if defined(_WIN32)
#  if defined(KESTROBASE_BUILD)
#    define KESTROBASE_API __declspec(dllexport)
#  else
#    define KESTROBASE_API __declspec(dllimport)
#  endif
#else
#  define KESTROBASE_API __attribute__((visibility("default")))
#endif

namespace Kestro {
namespace Base {

namespace details {
// Writes one log line; `format` is filled printf-style. Levels: 3 trace, 5 failure.
KESTROBASE_API void VexaFormatLog(int level, const char* module, const char* format, ...)
#if defined(__MINGW32__)
    // MinGW's plain `printf` means the Microsoft rules; the library formats by C99's.
    __attribute__((format(gnu_printf, 3, 4)))
#elif defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
}  // namespace details

namespace Error {

// A (main, sub) code pair. A default-built code is (0, 0).
class KESTROBASE_API ErrorCode {
public:
    ErrorCode();
    ErrorCode(int mainCode, int subCode);

    int iMainCode;
    int iSubCode;
};

// Records `code` as the process-wide last error, replacing the previous one.
KESTROBASE_API void SetLastError(const ErrorCode& code);
// The last error recorded by SetLastError; (0, 0) when none was.
KESTROBASE_API ErrorCode GetLastError();

}  // namespace Error

namespace GuidUtil {
// A new random GUID text, such as "3F2504E0-4F89-41D3-9A0C-0305E82C3301".
KESTROBASE_API std::string CreateGuid();
}  // namespace GuidUtil

namespace Encrypt {
// Decodes standard Base64 ("=" padded) text into bytes. Returns false, with
// `out` emptied, for text that is not well-formed Base64.
KESTROBASE_API bool Base64Decode(std::string& out, const std::string& in);
}  // namespace Encrypt

}  // namespace Base
}  // namespace Kestro

#endif  // KESTRO_BASE_H
