// A small client: log in, read the presented card, list the offline store
// record by record, log out.
//
//   enroll_client [ADDRESS PORT USER]     password in ENROLL_PASSWORD
//
// Without arguments it logs in to the virtual station's demo account.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EnrollmentStation/EnrollmentStation.h"
#include "KestroBase.h"

namespace {

int fail(const char* what) {
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    std::fprintf(stderr, "%s failed: %d-%d\n", what, code.iMainCode, code.iSubCode);
    return 1;
}

// Called on the SDK's thread once per record, with the record as JSON text.
// An empty store and a failed search are reported through one document
// each, which carries no record.
int onRecord(std::string document, void* userData) {
    int& records = *static_cast<int*>(userData);
    EnrollmentStation::SearchCaptureInfomation record;
    switch (EnrollmentStation::CEnrollmentStation::readSearchDocument(document, record)) {
    case EnrollmentStation::SearchDocumentStatus::More:
    case EnrollmentStation::SearchDocumentStatus::Last:
        ++records;
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    EnrollmentStation::LoginParam login{"127.0.0.1", "8000", "admin", "Station#2026"};
    if (argc == 4) login = {argv[1], argv[2], argv[3], ""};
    if (const char* password = std::getenv("ENROLL_PASSWORD")) login.password = password;

    EnrollmentStation::CEnrollmentStation station;
    long userId = -1;
    if (!station.initEnrollmentStation(login, userId)) return fail("login");
    std::printf("logged in, handle %ld\n", userId);

    int result = 0;
    std::string cardNo;
    if (station.captureCardInfo(cardNo)) {
        std::printf("card %s\n", cardNo.c_str());
    } else {
        result = fail("reading the card");
    }

    int records = 0;
    if (station.searchCaptureData(&onRecord, &records)) {
        std::printf("%d records in the offline store\n", records);
    } else {
        result = fail("searching");
    }

    if (!station.uninitEnrollmentStation()) result = fail("logout");
    return result;
}
