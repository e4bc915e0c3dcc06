/* Control of the in-process virtual station for tests written in C and
 * Python, which cannot call its C++ control API. Every function acts on the
 * built-in station at 127.0.0.1:8000. */
#ifndef ES_TESTS_STATIONCONTROL_H
#define ES_TESTS_STATIONCONTROL_H

#include <stdint.h>

#if defined(_WIN32)
#  define VST_API __declspec(dllexport)
#else
#  define VST_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The built-in profile, fresh state, pacing off. */
VST_API void vst_reset(void);
/* Open logins, long connections and transfers. */
VST_API int vst_open_handles(void);
/* The next call of `call` (a NET_DVR_* name) fails with SDK error `error`. */
VST_API void vst_fail_next(const char* call, int32_t error);
/* The next offline search answers `records` records, then nothing more. */
VST_API void vst_silent_search_after(int records);
/* The next offline search answers `records` records, then the station
 * reports failure with SDK error `error`. */
VST_API void vst_failed_search_after(int records, int32_t error);
/* The next fingerprint collection sends nothing. */
VST_API void vst_silent_fingerprint(void);
/* Empties the offline store and fills it with `count` made-up people, each
 * with a face and an infrared picture of `picture_bytes` (0: none) and
 * `fingerprints` templates. */
VST_API void vst_fill_store(int count, int picture_bytes, int fingerprints);
/* Holds a card (M1) to the reader for the next card capture. */
VST_API void vst_present_card(const char* card_no);

#ifdef __cplusplus
}
#endif

#endif /* ES_TESTS_STATIONCONTROL_H */
