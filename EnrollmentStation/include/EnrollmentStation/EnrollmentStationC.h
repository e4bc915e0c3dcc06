/* EnrollmentStation C interface: the station from any compiler and language.
 *
 * A C11 header over the same shared library as EnrollmentStation.h. Create
 * one es_station per station, log in with es_login, run operations, log out
 * with es_logout, destroy it with es_station_destroy.
 *
 * Outcome: every function but es_station_destroy and the es_..._free
 * functions returns an es_status: `ok` is 1 on success and 0 on failure;
 * on failure `main`/`sub` is the code the call recorded, (0, 0) when it
 * recorded none (a success is (0, 0), except for es_search); `text` says
 * what the code means in a few words. Codes as in the C++
 * interface:
 *
 *   (50, n)     the device network SDK failed with error number n
 *   (68, n)     the station refused a request with its error code n;
 *               es_get_last_station_status gives the station's own words
 *   (69, 8200)  not logged in
 *   (69, 8201)  a working buffer could not be allocated
 *   (69, 8203)  a collection or search failed or delivered no usable result
 *   (69, 8205)  a file transfer failed
 *   (69, 8206)  a file transfer was aborted by the station
 *   (69, 8207)  the operation was cancelled
 *   (69, 8208)  the station stopped answering within the stream time-out
 *
 * and the refusals of this interface itself, which never reach the station:
 *
 *   (0, 1)  ES_SUB_INVALID_ARGUMENT: a null pointer, or a record whose `size`
 *           is smaller than this version's record
 *   (0, 2)  ES_SUB_BAD_PORT: the login port is not a decimal number in range
 *   (0, 3)  ES_SUB_INTERNAL: the library failed unexpectedly
 *
 * A failure with (0, 0) is one that sets no code: an empty login field, a
 * file transfer without a session, an empty store (es_search_list).
 *
 * Codes are read from the base library's process-wide last-error store,
 * which each call clears first. Two threads whose calls fail at the same
 * moment may therefore see each other's code.
 *
 * Records: every struct the caller hands in begins with `size`; set it to
 * sizeof the struct (ES_SIZED does). A later version only appends fields, so
 * a caller built against this header keeps working. Nested structs are
 * fixed.
 *
 * Ownership: texts and arrays that a call writes into an out-record belong
 * to the library. Release them with the record's es_..._free function
 * (which zeroes them, so freeing twice is harmless), never with free(). An
 * out-record must not hold library-owned data when it is passed in: the call
 * overwrites it. On failure the out-record is left as it was. Texts are
 * zero-terminated UTF-8; the fingerprint picture is bytes with a length and
 * may be empty. Records the caller passes in are only read during the call.
 *
 * Threads: one es_station is used by one thread at a time, except
 * es_stop_search and es_cancel_current_operation, which may be called from
 * any thread (and from inside the search callback) while another call on the
 * same station runs. Separate stations are independent.
 */
#ifndef ENROLLMENTSTATION_ENROLLMENTSTATIONC_H
#define ENROLLMENTSTATION_ENROLLMENTSTATIONC_H

#include <stddef.h>
#include <stdint.h>

#include "EnrollmentStation/Export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One station; opaque. */
typedef struct es_station es_station;

typedef struct es_status {
    int ok;
    int main;
    int sub;
    const char* text; /* static; never NULL */
} es_status;

enum {
    ES_SUB_INVALID_ARGUMENT = 1,
    ES_SUB_BAD_PORT = 2,
    ES_SUB_INTERNAL = 3
};

/* Declares `var` of record type `type` with its size set and the rest zero. */
#define ES_SIZED(type, var) type var = {.size = sizeof(type)}

/* ---- records ------------------------------------------------------------ */

typedef struct es_login_param {
    uint32_t size;
    const char* address;
    const char* port; /* decimal text, e.g. "8000" */
    const char* user;
    const char* password;
} es_login_param;

typedef struct es_capture_ability {
    uint32_t size;
    int card;
    int id_card;
    int card_rule;
    int preset_param;
    int fingerprint;
    int face;
} es_capture_ability;

typedef struct es_rf_card_cap {
    uint32_t size;
    int em_card;
    int m1_card;
    int cpu_card;
    int id_card;
} es_rf_card_cap;

typedef struct es_rf_card_param {
    uint32_t size;
    int m1_card;
    int cpu_card;
    int id_card;
    int em_card;
} es_rf_card_param;

typedef struct es_capture_rule {
    uint32_t size;
    int card_no_len_auto;
    int32_t card_no_len;
    int32_t card_timeout;
} es_capture_rule;

/* An identity card as the station read it; texts exactly as it sent them. */
typedef struct es_identity {
    uint32_t size;
    char* chn_name;
    char* en_name;
    char* sex;
    char* birth;
    char* addr;
    char* id_card_no;
    char* issuing_authority;
    char* start_date;
    char* end_date;
    int32_t nation;
    char* pass_no;
    char* issue_number;
    char* certificate_type;
    char* permanent_residence_card_no;
    char* nationality_or_area_code;
    char* version;
    char* receiving_authority_code;
    char** fingerprints; /* fingerprint_count texts */
    size_t fingerprint_count;
    char* pic;
} es_identity;

typedef struct es_fingerprint {
    uint32_t size;
    char* data;            /* template, uppercase hex text */
    unsigned char* pic;    /* picture bytes, pic_length of them */
    size_t pic_length;
    int32_t quality;
} es_fingerprint;

typedef struct es_region {
    double height;
    double width;
    double x;
    double y;
} es_region;

typedef struct es_point {
    double x;
    double y;
} es_point;

typedef struct es_face_feature {
    es_region region;
    es_point left_eye;
    es_point right_eye;
    es_point left_mouth;
    es_point right_mouth;
    es_point nose_tip;
} es_face_feature;

/* One collected face; templates and pictures as Base64 text. */
typedef struct es_face {
    uint32_t size;
    char* template1;
    int32_t template1_quality;
    char* template2;
    int32_t template2_quality;
    char* face_data;
    int32_t face_data_quality;
    char* infrared_face_data;
    int32_t infrared_face_data_quality;
    es_face_feature feature;
} es_face;

typedef struct es_fingerprint_info {
    int32_t id;
    char* fingerprint; /* uppercase hex text */
} es_fingerprint_info;

/* One captured person record of the offline store. */
typedef struct es_data_collect {
    int32_t last_capture_no;
    int32_t capture_no;
    char* name;
    char* employee_no;
    char* id_card_no;
    char** card_nos;
    size_t card_no_count;
    es_fingerprint_info* fingerprints;
    size_t fingerprint_count;
    es_face_feature face_feature;
    int risk_data_mark;
} es_data_collect;

/* One record of an offline store search with the status of its page. */
typedef struct es_search_record {
    uint32_t size;
    char* face_data;          /* Base64; empty when none or 204800 bytes or more */
    char* infrared_face_data; /* likewise */
    char* search_id;
    char* response_status;    /* "MORE", or "OK" for the last record */
    int32_t num_of_matches;
    int32_t total_matches;
    es_data_collect* data_collects; /* exactly one from a search */
    size_t data_collect_count;
} es_search_record;

/* The list form's result. */
typedef struct es_search_result {
    uint32_t size;
    es_search_record* records; /* each with its size set */
    size_t count;
} es_search_result;

typedef struct es_offline_rule_item {
    const char* data_type;
    int enable;
    int unique_check;
    int32_t len;
    int32_t num;
    const int32_t* fingerprint_ids;
    size_t fingerprint_id_count;
} es_offline_rule_item;

/* What the station captures into its offline store. */
typedef struct es_offline_rule {
    uint32_t size;
    int req_admin_rights;
    int card_no_len_auto;
    const es_offline_rule_item* items;
    size_t item_count;
} es_offline_rule;

typedef struct es_upload_failed_details {
    uint32_t size;
    char* description;
} es_upload_failed_details;

typedef struct es_face_param {
    uint32_t size;
    int enable;
    int32_t value; /* the station keeps the low 8 bits */
} es_face_param;

/* The status document a station sends when it refuses a request; texts
 * exactly as the station sent them. */
typedef struct es_station_status {
    uint32_t size;
    char* request_url;
    int32_t status_code;
    char* status_string;
    char* sub_status_code; /* the refusal's name, such as "noCardPresented" */
    uint32_t error_code;   /* n of the (68, n) status, as 32 bits */
    char* error_msg;       /* the station's words for it */
    int32_t try_times;
} es_station_status;

/* What one document of es_search says. */
enum {
    ES_SEARCH_MORE = 0,      /* "MORE": a record, and more follow */
    ES_SEARCH_LAST = 1,      /* "OK": a record, the last one */
    ES_SEARCH_NO_MATCH = 2,  /* "NO MATCH": nothing to find; the search ends */
    ES_SEARCH_FAILED = 3,    /* the station reported failure */
    ES_SEARCH_UNREADABLE = 4 /* not a search document, or "MORE"/"OK" without a record */
};

/* Called once per search document, on the SDK's thread, one call at a time.
 * `document` (JSON, `length` bytes plus a zero byte) is valid only during
 * the call. Statuses: "MORE" and "OK" carry a record; "NO MATCH" (an empty
 * store) and "NET_SDK_CALLBACK_STATUS_FAILED" (the station reported failure)
 * carry none. The failure document may arrive just after es_search has
 * returned, so `user_data` must stay valid until the next es_search on the
 * station or its destruction. The result is ignored. */
typedef int (*es_search_callback)(const char* document, size_t length, void* user_data);

/* ---- life and session ---------------------------------------------------- */

/* Makes no device call. */
ENROLLMENTSTATION_API es_status es_station_create(es_station** station);
/* Does not log out: call es_logout first. NULL is ignored. */
ENROLLMENTSTATION_API void es_station_destroy(es_station* station);

/* All four login fields must be non-empty, or it fails with (0, 0). */
ENROLLMENTSTATION_API es_status es_login(es_station* station, const es_login_param* param,
                                         int32_t* user_id);
ENROLLMENTSTATION_API es_status es_logout(es_station* station);
ENROLLMENTSTATION_API es_status es_is_init(es_station* station, int* init);
ENROLLMENTSTATION_API es_status es_set_is_init(es_station* station, int init, int32_t user_id);
ENROLLMENTSTATION_API es_status es_set_sdk_log_path(es_station* station, const char* path);

/* ---- capabilities and RF card settings ------------------------------------ */

ENROLLMENTSTATION_API es_status es_get_capture_ability(es_station* station, es_capture_ability* ability);
ENROLLMENTSTATION_API es_status es_get_rf_card_cap(es_station* station, es_rf_card_cap* cap);
ENROLLMENTSTATION_API es_status es_set_rf_card_param(es_station* station, const es_rf_card_param* param);
ENROLLMENTSTATION_API es_status es_get_rf_card_param(es_station* station, es_rf_card_param* param);

/* ---- cards and identity cards -------------------------------------------- */

/* `card_no` receives a library-owned text: release it with es_text_free. */
ENROLLMENTSTATION_API es_status es_capture_card(es_station* station, char** card_no);
ENROLLMENTSTATION_API es_status es_set_capture_card_rule(es_station* station, const es_capture_rule* rule);
ENROLLMENTSTATION_API es_status es_capture_id_card(es_station* station, es_identity* identity);

/* ---- biometrics; both block until the station reports ----------------------- */

ENROLLMENTSTATION_API es_status es_capture_fingerprint(es_station* station, es_fingerprint* fingerprint);
ENROLLMENTSTATION_API es_status es_capture_face(es_station* station, es_face* face);

/* ---- offline store --------------------------------------------------------- */

/* The whole store as a list. Fails with (0, 0) when the store is empty. */
ENROLLMENTSTATION_API es_status es_search_list(es_station* station, es_search_result* result);
/* Record by record through `callback`; returns when the search has ended.
 * It is ok even when the search ended early for a failure; the status then
 * carries that failure's code (for a failure the station reported, the
 * failure document may come later than es_search's return). A cancel or the
 * stream time-out makes it fail with (69, 8207) or (69, 8208). */
ENROLLMENTSTATION_API es_status es_search(es_station* station, es_search_callback callback,
                                          void* user_data);
/* Reads one es_search document: `document_status` receives an ES_SEARCH_
 * value; for ES_SEARCH_MORE and ES_SEARCH_LAST `record` becomes exactly the
 * record es_search_list would have returned for it, otherwise it is left as
 * it was. No device call and no code: safe on any thread, the callback's
 * included. */
ENROLLMENTSTATION_API es_status es_read_search_document(const char* document, size_t length,
                                                        int* document_status,
                                                        es_search_record* record);
/* Asks the running es_search to end after the station's next report. */
ENROLLMENTSTATION_API es_status es_stop_search(es_station* station);
ENROLLMENTSTATION_API es_status es_set_offline_capture_rule(es_station* station,
                                                            const es_offline_rule* rule);
ENROLLMENTSTATION_API es_status es_get_upload_failed_details(es_station* station,
                                                             es_upload_failed_details* details);
ENROLLMENTSTATION_API es_status es_clear_station_data(es_station* station);

/* ---- face parameters and language (1 or 2) ------------------------------------ */

ENROLLMENTSTATION_API es_status es_set_face_param(es_station* station, const es_face_param* param);
ENROLLMENTSTATION_API es_status es_get_face_param(es_station* station, es_face_param* param);
ENROLLMENTSTATION_API es_status es_get_device_language(es_station* station, int* language);

/* ---- file transfer; both block until the transfer ends ------------------------ */

ENROLLMENTSTATION_API es_status es_upload_file(es_station* station, const char* local_path);
ENROLLMENTSTATION_API es_status es_download_file(es_station* station, const char* local_path);

/* ---- a way out of every wait -------------------------------------------------------- */

/* Ends the streaming operation (either search form, fingerprint, face) or the
 * file transfer that runs on this station, within 100 ms even when the
 * station is silent; the ended call fails with (69, 8207). Fails with (0, 0)
 * when nothing runs. May be called from any thread. */
ENROLLMENTSTATION_API es_status es_cancel_current_operation(es_station* station);
/* The longest wait, in milliseconds, for the station's next report in a
 * streaming operation; 0, the default, waits as long as the station takes.
 * When it passes, the operation fails with (69, 8208). It limits each wait,
 * not the whole operation. */
ENROLLMENTSTATION_API es_status es_set_stream_timeout(es_station* station, int milliseconds);

/* ---- progress ---------------------------------------------------------------- */

/* What a progress report is about. */
enum {
    ES_PROGRESS_FACE_CAPTURE = 1, /* es_capture_face: the station's capture progress */
    ES_PROGRESS_UPLOAD = 2,       /* es_upload_file */
    ES_PROGRESS_DOWNLOAD = 3      /* es_download_file */
};

/* `operation` is an ES_PROGRESS_ value, `percent` 0 to 100. */
typedef void (*es_progress_callback)(int operation, int percent, void* user_data);

/* Reports the progress of later face captures and file transfers to
 * `callback` with `user_data`: a face capture once per data report of the
 * station, in order (the final 100 included), on the SDK's report thread; a
 * transfer whenever its progress changes, on the calling thread. No report
 * comes after the operation has returned. The callback must return soon and
 * must not call this station. NULL turns the reports off. Records no code. */
ENROLLMENTSTATION_API es_status es_set_progress_callback(es_station* station, es_progress_callback callback,
                                                         void* user_data);

/* ---- the station's own words ------------------------------------------------------ */

/* The status document of this station's latest refused request, the one that
 * gave (68, n). Fails with (0, 0) when no request of this station was
 * refused. It is kept until the next refusal: compare its error_code with n
 * before showing it. No device call, no code. */
ENROLLMENTSTATION_API es_status es_get_last_station_status(es_station* station,
                                                           es_station_status* status);

/* ---- releasing what the library handed out ------------------------------------- */

ENROLLMENTSTATION_API void es_text_free(char* text);
ENROLLMENTSTATION_API void es_identity_free(es_identity* identity);
ENROLLMENTSTATION_API void es_fingerprint_free(es_fingerprint* fingerprint);
ENROLLMENTSTATION_API void es_face_free(es_face* face);
ENROLLMENTSTATION_API void es_search_record_free(es_search_record* record);
ENROLLMENTSTATION_API void es_search_result_free(es_search_result* result);
ENROLLMENTSTATION_API void es_upload_failed_details_free(es_upload_failed_details* details);
ENROLLMENTSTATION_API void es_station_status_free(es_station_status* status);

#ifdef __cplusplus
}
#endif

#endif /* ENROLLMENTSTATION_ENROLLMENTSTATIONC_H */
