#include "CInterface/CallStatus.h"

#include <new>

#include "LastError.h"

namespace EnrollmentStation {
namespace capi {

namespace {

const char* libraryText(int sub) {
    switch (sub) {
    case kErrNoSession: return "not logged in";
    case kErrNoBuffer: return "a working buffer could not be allocated";
    case kErrCollectFailed: return "the collection or search failed or delivered no usable result";
    case kErrTransferFailed: return "the file transfer failed";
    case kErrTransferAborted: return "the file transfer was aborted by the station";
    case kErrCancelled: return "the operation was cancelled";
    case kErrStationSilent: return "the station stopped answering";
    default: return "the library failed";
    }
}

const char* interfaceText(int sub) {
    switch (sub) {
    case 0: return "the operation failed";
    case ES_SUB_INVALID_ARGUMENT: return "invalid argument: a null pointer or a record size too small";
    case ES_SUB_BAD_PORT: return "the port is not a decimal number in range";
    default: return "the library failed unexpectedly";
    }
}

const char* textOf(bool ok, int mainCode, int subCode) {
    switch (mainCode) {
    case 0: return ok ? "ok" : interfaceText(subCode);
    case kErrMainSdk: return "the device network SDK failed";
    case kErrMainDevice: return "the station refused the request";
    case kErrMainLibrary: return libraryText(subCode);
    default: return "unknown code";
    }
}

es_status make(bool ok, int mainCode, int subCode) {
    return es_status{ok ? 1 : 0, mainCode, subCode, textOf(ok, mainCode, subCode)};
}

}  // namespace

void clearLastError() { setLastError(0, 0); }

es_status finishedWithCode(bool ok) {
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    return make(ok, code.iMainCode, code.iSubCode);
}

es_status finished(bool ok) { return ok ? make(true, 0, 0) : finishedWithCode(false); }

es_status uncoded(bool ok) { return make(ok, 0, 0); }

es_status refused(int sub) { return make(false, 0, sub); }

es_status fromException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return make(false, kErrMainLibrary, kErrNoBuffer);
    } catch (const std::invalid_argument&) {
        return refused(ES_SUB_BAD_PORT);  // the one conversion the class lets through
    } catch (const std::out_of_range&) {
        return refused(ES_SUB_BAD_PORT);
    } catch (...) {
        return refused(ES_SUB_INTERNAL);
    }
}

}  // namespace capi
}  // namespace EnrollmentStation
