/* The C interface against the in-process virtual station, compiled as C.
 *
 *   capi_test GROUP     runs one group of checks; exit status 0 when all held
 */
#define _POSIX_C_SOURCE 200809L /* nanosleep */

#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "EnrollmentStation/EnrollmentStationC.h"
#include "StationControl.h"

static int failures = 0;

#define CHECK(cond)                                                              \
    do {                                                                         \
        if (!(cond)) {                                                           \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                          \
        }                                                                        \
    } while (0)

static void check_status(es_status status, int ok, int main_code, int sub_code, const char* what, int line) {
    if (status.ok != ok || status.main != main_code || status.sub != sub_code) {
        fprintf(stderr, "%s:%d: %s gave %d, %d-%d (%s)\n", __FILE__, line, what, status.ok, status.main,
                status.sub, status.text);
        ++failures;
    }
}

/* The call failed with exactly (main, sub); it succeeded without a code. */
#define CHECK_CODE(call, m, s) check_status(call, 0, m, s, #call, __LINE__)
#define CHECK_OK(call) check_status(call, 1, 0, 0, #call, __LINE__)

static es_login_param demo_login(void) {
    ES_SIZED(es_login_param, login);
    login.address = "127.0.0.1";
    login.port = "8000";
    login.user = "admin";
    login.password = "Station#2026";
    return login;
}

static es_station* logged_in(void) {
    es_station* station = NULL;
    CHECK_OK(es_station_create(&station));
    es_login_param login = demo_login();
    int32_t id = -1;
    CHECK_OK(es_login(station, &login, &id));
    return station;
}

static void log_out(es_station* station) {
    CHECK_OK(es_logout(station));
    es_station_destroy(station);
    CHECK(vst_open_handles() == 0);
}

/* Before login every guarded operation says "not logged in", and login's own
 * failures carry the SDK's number or the interface's code. */
static void test_session(void) {
    es_station* station = NULL;
    CHECK_OK(es_station_create(&station));
    int init = -1;
    CHECK_OK(es_is_init(station, &init));
    CHECK(init == 0);

    char* card = NULL;
    ES_SIZED(es_fingerprint, fingerprint);
    ES_SIZED(es_search_result, result);
    ES_SIZED(es_face_param, face_param);
    ES_SIZED(es_capture_rule, rule);
    int language = 0;
    CHECK_CODE(es_capture_card(station, &card), 69, 8200);
    CHECK_CODE(es_capture_fingerprint(station, &fingerprint), 69, 8200);
    CHECK_CODE(es_search_list(station, &result), 69, 8200);
    CHECK_CODE(es_stop_search(station), 69, 8200);
    CHECK_CODE(es_get_face_param(station, &face_param), 69, 8200);
    CHECK_CODE(es_set_capture_card_rule(station, &rule), 69, 8200);
    CHECK_CODE(es_get_device_language(station, &language), 69, 8200);
    CHECK_CODE(es_clear_station_data(station), 69, 8200);
    CHECK(strcmp(es_clear_station_data(station).text, "not logged in") == 0);
    CHECK(card == NULL && fingerprint.data == NULL && result.records == NULL);
    /* File transfers without a session fail without a code. */
    CHECK_CODE(es_upload_file(station, "/nonexistent"), 0, 0);

    es_login_param login = demo_login();
    int32_t id = -1;
    login.password = "wrong";
    es_status status = es_login(station, &login, &id);
    CHECK_CODE(status, 50, 1);
    CHECK(strcmp(status.text, "the device network SDK failed") == 0);
    login.password = "";
    CHECK_CODE(es_login(station, &login, &id), 0, 0);
    login = demo_login();
    login.port = "x80";
    CHECK_CODE(es_login(station, &login, &id), 0, ES_SUB_BAD_PORT);
    login.port = "99999999999";
    CHECK_CODE(es_login(station, &login, &id), 0, ES_SUB_BAD_PORT);
    CHECK(id == -1);

    login = demo_login();
    status = es_login(station, &login, &id);
    CHECK(status.ok && status.main == 0 && status.sub == 0 && strcmp(status.text, "ok") == 0);
    CHECK(id >= 0);
    CHECK_OK(es_is_init(station, &init));
    CHECK(init == 1);
    CHECK_CODE(es_set_is_init(station, 1, -1), 0, 0);
    /* Marked logged out, the handle stays and the SDK refuses it. */
    CHECK_OK(es_set_is_init(station, 0, id));
    CHECK_OK(es_is_init(station, &init));
    CHECK(init == 0);
    CHECK(es_capture_card(station, &card).main == 50);
    CHECK_OK(es_login(station, &login, &id));
    log_out(station);
}

/* The interface refuses what it cannot use, before reaching the station, and
 * leaves the caller's record as it was. */
static void test_arguments(void) {
    es_station* station = logged_in();
    ES_SIZED(es_face_param, param);
    param.value = 77;
    param.size = sizeof param - 1;
    CHECK_CODE(es_get_face_param(station, &param), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK(param.value == 77);
    CHECK_CODE(es_get_face_param(station, NULL), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK_CODE(es_get_face_param(NULL, &param), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK_CODE(es_capture_card(station, NULL), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK_CODE(es_search(station, NULL, NULL), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK_CODE(es_station_create(NULL), 0, ES_SUB_INVALID_ARGUMENT);
    int32_t id = 0;
    CHECK_CODE(es_login(station, NULL, &id), 0, ES_SUB_INVALID_ARGUMENT);
    CHECK(strstr(es_logout(NULL).text, "invalid argument") != NULL);
    es_station_destroy(NULL);
    log_out(station);
}

/* The station's refusals and the SDK's failures keep their code pair. */
static void test_refusals(void) {
    es_station* station = logged_in();
    ES_SIZED(es_station_status, words);
    CHECK_CODE(es_get_last_station_status(station, &words), 0, 0); /* nothing refused yet */
    ES_SIZED(es_rf_card_param, no_cards);
    CHECK_OK(es_set_rf_card_param(station, &no_cards));
    char* card = NULL;
    es_status status = es_capture_card(station, &card);
    CHECK_CODE(status, 68, 0x30002); /* the card's type is not enabled */
    CHECK(strcmp(status.text, "the station refused the request") == 0);
    CHECK(card == NULL);
    CHECK_OK(es_get_last_station_status(station, &words));
    CHECK(words.error_code == 0x30002 && strcmp(words.sub_status_code, "cardTypeDisabled") == 0);
    CHECK(words.error_msg != NULL && words.error_msg[0] != '\0');
    es_station_status_free(&words);
    es_station_status_free(&words);
    CHECK(words.sub_status_code == NULL && words.size == sizeof words);

    vst_fail_next("NET_DVR_STDXMLConfig", 7);
    ES_SIZED(es_upload_failed_details, details);
    CHECK_CODE(es_get_upload_failed_details(station, &details), 50, 7);
    CHECK(details.description == NULL);

    /* A failure leaves no code behind for the next call. */
    CHECK_OK(es_get_upload_failed_details(station, &details));
    es_upload_failed_details_free(&details);
    log_out(station);
}

static void test_settings(void) {
    es_station* station = logged_in();
    ES_SIZED(es_capture_ability, ability);
    CHECK_OK(es_get_capture_ability(station, &ability));
    CHECK(ability.card && ability.fingerprint && ability.face);
    ES_SIZED(es_rf_card_cap, cap);
    CHECK_OK(es_get_rf_card_cap(station, &cap));
    CHECK(cap.m1_card);

    ES_SIZED(es_rf_card_param, rf);
    rf.m1_card = 1;
    rf.em_card = 1;
    CHECK_OK(es_set_rf_card_param(station, &rf));
    ES_SIZED(es_rf_card_param, read_back);
    CHECK_OK(es_get_rf_card_param(station, &read_back));
    CHECK(read_back.m1_card == 1 && read_back.em_card == 1 && read_back.cpu_card == 0);

    ES_SIZED(es_capture_rule, rule);
    rule.card_no_len = 10;
    rule.card_timeout = 5;
    CHECK_OK(es_set_capture_card_rule(station, &rule));

    ES_SIZED(es_face_param, face);
    face.enable = 1;
    face.value = 0x1234;
    CHECK_OK(es_set_face_param(station, &face));
    ES_SIZED(es_face_param, face_back);
    CHECK_OK(es_get_face_param(station, &face_back));
    CHECK(face_back.enable == 1 && face_back.value == 0x34);

    int language = 0;
    CHECK_OK(es_get_device_language(station, &language));
    CHECK(language == 1);

    const int32_t ids[] = {1, 2};
    es_offline_rule_item items[2] = {
        {"name", 1, 0, 32, 0, NULL, 0},
        {"fingerprint", 1, 0, 0, 2, ids, 2},
    };
    ES_SIZED(es_offline_rule, offline);
    offline.items = items;
    offline.item_count = 2;
    CHECK_OK(es_set_offline_capture_rule(station, &offline));
    items[0].data_type = "nonsense";
    CHECK(es_set_offline_capture_rule(station, &offline).main == 68);

    CHECK_OK(es_set_sdk_log_path(station, "/tmp"));
    log_out(station);
}

/* Captures hand out library-owned records; freeing zeroes them, so a second
 * free does nothing. */
static void test_captures(void) {
    es_station* station = logged_in();
    char* card = NULL;
    vst_present_card("3053140519");
    CHECK_OK(es_capture_card(station, &card));
    CHECK(card != NULL && strcmp(card, "3053140519") == 0);
    es_text_free(card);

    ES_SIZED(es_identity, identity);
    CHECK_OK(es_capture_id_card(station, &identity));
    CHECK(identity.chn_name != NULL && identity.id_card_no != NULL && identity.id_card_no[0] != '\0');
    CHECK(identity.pic != NULL);
    es_identity_free(&identity);
    es_identity_free(&identity);
    CHECK(identity.size == sizeof identity && identity.chn_name == NULL && identity.fingerprints == NULL);

    ES_SIZED(es_fingerprint, fingerprint);
    CHECK_OK(es_capture_fingerprint(station, &fingerprint));
    CHECK(fingerprint.data != NULL && strspn(fingerprint.data, "0123456789ABCDEF") == strlen(fingerprint.data));
    CHECK(strlen(fingerprint.data) > 0 && fingerprint.pic_length > 0 && fingerprint.quality > 0);
    es_fingerprint_free(&fingerprint);
    es_fingerprint_free(&fingerprint);
    CHECK(fingerprint.pic == NULL && fingerprint.pic_length == 0);

    ES_SIZED(es_face, face);
    CHECK_OK(es_capture_face(station, &face));
    CHECK(face.template1 != NULL && face.template1[0] != '\0' && face.face_data[0] != '\0');
    CHECK(face.feature.region.width > 0);
    es_face_free(&face);
    es_face_free(&face);
    CHECK(face.template1 == NULL);
    log_out(station);
}

/* The progress reports a transfer gave, in order. */
typedef struct progress_log {
    int count;
    int operation[8];
    int percent[8];
} progress_log;

static void on_progress(int operation, int percent, void* user_data) {
    progress_log* log = (progress_log*)user_data;
    if (log->count < 8) {
        log->operation[log->count] = operation;
        log->percent[log->count] = percent;
    }
    log->count++;
}

/* Files go to the current folder: ctest runs each group in the build's. A
 * file this small travels in one state query, so each transfer reports its
 * 100 once. */
static void test_files(void) {
    es_station* station = logged_in();
    const char* up = "capi_upload.bin";
    const char* down = "capi_download.bin";
    FILE* file = fopen(up, "wb");
    CHECK(file != NULL);
    if (file != NULL) {
        fputs("station file", file);
        fclose(file);
    }
    progress_log log = {0};
    CHECK_OK(es_set_progress_callback(station, on_progress, &log));
    CHECK_OK(es_upload_file(station, up));
    CHECK_OK(es_download_file(station, down));
    CHECK(log.count == 2);
    CHECK(log.operation[0] == ES_PROGRESS_UPLOAD && log.percent[0] == 100);
    CHECK(log.operation[1] == ES_PROGRESS_DOWNLOAD && log.percent[1] == 100);
    CHECK_OK(es_set_progress_callback(station, NULL, &log));
    CHECK_OK(es_upload_file(station, up));
    CHECK(log.count == 2);
    char text[32] = {0};
    file = fopen(down, "rb");
    CHECK(file != NULL);
    if (file != NULL) {
        CHECK(fread(text, 1, sizeof text - 1, file) == strlen("station file"));
        fclose(file);
    }
    CHECK(strcmp(text, "station file") == 0);
    remove(up);
    remove(down);
    log_out(station);
}

/* The list form in order, with its records freed; after clearing, an empty
 * store fails without a code. */
static void test_search_list(void) {
    es_station* station = logged_in();
    ES_SIZED(es_search_result, result);
    CHECK_OK(es_search_list(station, &result));
    CHECK(result.count == 3);
    for (size_t i = 0; i < result.count && result.count == 3; ++i) {
        const es_search_record* record = &result.records[i];
        CHECK(record->size == sizeof *record && record->data_collect_count == 1);
        CHECK(strcmp(record->response_status, i == 2 ? "OK" : "MORE") == 0);
        CHECK(record->face_data[0] != '\0' && record->search_id[0] != '\0');
        CHECK(record->data_collects[0].fingerprint_count == 2);
        CHECK(record->data_collects[0].risk_data_mark == (i == 2));
    }
    CHECK(result.count == 3 && strcmp(result.records[0].data_collects[0].name, "Ana Lima") == 0);
    es_search_result_free(&result);
    es_search_result_free(&result);
    CHECK(result.records == NULL && result.count == 0);

    CHECK_OK(es_clear_station_data(station));
    CHECK_CODE(es_search_list(station, &result), 0, 0);
    CHECK(result.records == NULL);
    log_out(station);
}

typedef struct watcher {
    pthread_mutex_t mutex;
    pthread_cond_t arrived;
    int documents;
    int statuses[8]; /* ES_SEARCH_ value of each document, the first 8 */
    char names[8][32];
} watcher;

/* Reads each document as it arrives, on the SDK's thread. */
static int on_document(const char* document, size_t length, void* user_data) {
    watcher* w = (watcher*)user_data;
    int status = -1;
    ES_SIZED(es_search_record, record);
    CHECK_OK(es_read_search_document(document, length, &status, &record));
    pthread_mutex_lock(&w->mutex);
    if (w->documents < 8) {
        w->statuses[w->documents] = status;
        if (record.data_collect_count == 1) {
            snprintf(w->names[w->documents], sizeof w->names[0], "%s", record.data_collects[0].name);
        }
    }
    ++w->documents;
    pthread_cond_broadcast(&w->arrived);
    pthread_mutex_unlock(&w->mutex);
    es_search_record_free(&record);
    return 0;
}

static void watcher_init(watcher* w) {
    memset(w, 0, sizeof *w);
    pthread_mutex_init(&w->mutex, NULL);
    pthread_cond_init(&w->arrived, NULL);
}

typedef struct search_run {
    es_station* station;
    watcher* watcher;
    es_status status;
} search_run;

static void* run_search(void* arg) {
    search_run* run = (search_run*)arg;
    run->status = es_search(run->station, on_document, run->watcher);
    return NULL;
}

/* The callback form delivers every record with its length; a search whose
 * station has gone silent is stopped from another thread. */
static void test_search_callback(void) {
    es_station* station = logged_in();
    watcher w;
    watcher_init(&w);
    CHECK_OK(es_search(station, on_document, &w));
    CHECK(w.documents == 3);
    CHECK(w.statuses[0] == ES_SEARCH_MORE && w.statuses[1] == ES_SEARCH_MORE && w.statuses[2] == ES_SEARCH_LAST);
    CHECK(strcmp(w.names[0], "Ana Lima") == 0 && strcmp(w.names[2], "Chen Wei") == 0);

    watcher_init(&w);
    vst_fill_store(20, 2048, 1);
    vst_silent_search_after(1);
    search_run run = {station, &w, {0, 0, 0, NULL}};
    pthread_t thread;
    CHECK(pthread_create(&thread, NULL, run_search, &run) == 0);
    pthread_mutex_lock(&w.mutex);
    while (w.documents == 0) pthread_cond_wait(&w.arrived, &w.mutex);
    pthread_mutex_unlock(&w.mutex);
    CHECK_OK(es_stop_search(station));
    pthread_join(thread, NULL);
    CHECK_OK(run.status);
    CHECK(w.documents == 1);

    CHECK_OK(es_clear_station_data(station));
    watcher_init(&w);
    CHECK_OK(es_search(station, on_document, &w));
    CHECK(w.documents == 1 && w.statuses[0] == ES_SEARCH_NO_MATCH && w.names[0][0] == '\0');

    /* A document that is not one is told apart, and the record kept as it was. */
    int status = -1;
    ES_SIZED(es_search_record, record);
    CHECK_OK(es_read_search_document("{\"SearchCaptureData\"", 20, &status, &record));
    CHECK(status == ES_SEARCH_UNREADABLE && record.search_id == NULL);
    CHECK_CODE(es_read_search_document(NULL, 0, &status, &record), 0, ES_SUB_INVALID_ARGUMENT);
    log_out(station);
}

typedef struct capture_run {
    es_station* station;
    es_fingerprint fingerprint;
    es_status status;
} capture_run;

static void* run_capture(void* arg) {
    capture_run* run = (capture_run*)arg;
    run->status = es_capture_fingerprint(run->station, &run->fingerprint);
    return NULL;
}

/* A collection on a silent station ends by a cancel from another thread, or
 * by the stream time-out; neither leaves a connection open. */
static void test_cancel(void) {
    es_station* station = logged_in();
    CHECK_CODE(es_cancel_current_operation(station), 0, 0); /* nothing runs */

    vst_silent_fingerprint();
    capture_run run = {station, {.size = sizeof(es_fingerprint)}, {0, 0, 0, NULL}};
    pthread_t thread;
    CHECK(pthread_create(&thread, NULL, run_capture, &run) == 0);
    /* The collection may not have begun yet: try until a cancel lands. */
    while (!es_cancel_current_operation(station).ok) {
        struct timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, NULL);
    }
    pthread_join(thread, NULL);
    CHECK_CODE(run.status, 69, 8207);
    CHECK(run.fingerprint.data == NULL);

    vst_silent_fingerprint();
    CHECK_OK(es_set_stream_timeout(station, 100));
    ES_SIZED(es_fingerprint, fingerprint);
    es_status status = es_capture_fingerprint(station, &fingerprint);
    CHECK_CODE(status, 69, 8208);
    CHECK(strcmp(status.text, "the station stopped answering") == 0);
    CHECK_OK(es_set_stream_timeout(station, 0));
    CHECK_OK(es_capture_fingerprint(station, &fingerprint));
    es_fingerprint_free(&fingerprint);
    log_out(station);
}

typedef struct group {
    const char* name;
    void (*run)(void);
} group;

static const group groups[] = {
    {"session", test_session},   {"arguments", test_arguments},       {"refusals", test_refusals},
    {"settings", test_settings}, {"captures", test_captures},         {"files", test_files},
    {"search_list", test_search_list}, {"search_callback", test_search_callback}, {"cancel", test_cancel},
};

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s GROUP\n", argv[0]);
        return 2;
    }
    for (size_t i = 0; i < sizeof groups / sizeof groups[0]; ++i) {
        if (strcmp(argv[1], groups[i].name) == 0) {
            vst_reset();
            groups[i].run();
            if (failures != 0) fprintf(stderr, "%d check(s) failed\n", failures);
            return failures == 0 ? 0 : 1;
        }
    }
    fprintf(stderr, "no group %s\n", argv[1]);
    return 2;
}
