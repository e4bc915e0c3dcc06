// Offline store search through the library and the virtual station, against
// the floor of the same work done by hand with cJSON.
//
//   search   list form, 2,000 records, each with a 64 KiB face picture, a
//            64 KiB infrared picture and two fingerprints; pacing off
//   floor    per record: Base64 of both pictures, the result document built
//            with cJSON, printed, parsed back, the pictures copied out; all
//            results kept
//   alternating  search and floor in turn in one process, after a pass of
//            each, in both orders: the same-process comparison
//   scale    callback form over 1,000 and 100,000 records without pictures
//   stations S stations searching at once from S client objects, beside the
//            floor on S threads: records per CPU-second of each, their
//            ratio, page faults and kernel time per record
//
// Both sides do the same work per record (the same instruction count within
// a few per cent); what separates them is whether their large strings land
// on memory the process already has or on fresh pages, which this VM makes
// expensive. The page faults per record are reported beside each rate.
//
// Live heap is counted with this program's own operator new/delete, which
// serve the library and the station as well. cJSON's own buffers (malloc)
// are transient and not counted; hooking them would also stop cJSON from
// growing its print buffer with realloc.
#include <benchmark/benchmark.h>
#include <cjson/cJSON.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "EnrollmentStation/EnrollmentStation.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

// ---- counted heap ------------------------------------------------------------

namespace heap {

std::atomic<size_t> live{0};
std::atomic<size_t> peak{0};

// Every block carries a 16-byte (or alignment-sized) header: its size, and
// the distance back to the start of the underlying allocation.
void* allocate(size_t size, size_t alignment = 16) {
    const size_t header = std::max<size_t>(alignment, 16);
    const size_t total = (size + header + alignment - 1) / alignment * alignment;
    char* base = static_cast<char*>(alignment <= 16 ? std::malloc(size + header) : std::aligned_alloc(alignment, total));
    if (base == nullptr) return nullptr;
    char* block = base + header;
    reinterpret_cast<size_t*>(block)[-2] = size;
    reinterpret_cast<size_t*>(block)[-1] = header;
    const size_t now = live.fetch_add(size, std::memory_order_relaxed) + size;
    size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
    return block;
}

void release(void* pointer) {
    if (pointer == nullptr) return;
    char* block = static_cast<char*>(pointer);
    const size_t size = reinterpret_cast<size_t*>(block)[-2];
    const size_t header = reinterpret_cast<size_t*>(block)[-1];
    live.fetch_sub(size, std::memory_order_relaxed);
    std::free(block - header);
}

void* allocateOrThrow(size_t size, size_t alignment = 16) {
    void* block = allocate(size, alignment);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

size_t now() { return live.load(); }
void resetPeak() { peak.store(live.load()); }
size_t highest() { return peak.load(); }

}  // namespace heap

void* operator new(size_t size) { return heap::allocateOrThrow(size); }
void* operator new[](size_t size) { return heap::allocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return heap::allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return heap::allocate(size); }
void* operator new(size_t size, std::align_val_t a) { return heap::allocateOrThrow(size, static_cast<size_t>(a)); }
void* operator new[](size_t size, std::align_val_t a) { return heap::allocateOrThrow(size, static_cast<size_t>(a)); }
void operator delete(void* p) noexcept { heap::release(p); }
void operator delete[](void* p) noexcept { heap::release(p); }
void operator delete(void* p, size_t) noexcept { heap::release(p); }
void operator delete[](void* p, size_t) noexcept { heap::release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { heap::release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { heap::release(p); }
void operator delete(void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { heap::release(p); }

namespace {

// BENCH_SEARCH_RECORDS overrides the count, for profiling under valgrind.
const size_t kRecords = [] {
    const char* text = std::getenv("BENCH_SEARCH_RECORDS");
    return text != nullptr && std::atol(text) > 0 ? static_cast<size_t>(std::atol(text)) : size_t{2000};
}();
constexpr size_t kPicture = 64 * 1024;
constexpr int kFingerprints = 2;

using Results = std::vector<EnrollmentStation::SearchCaptureInfomation>;

// Figures of the last run of each benchmark, for the summary.
double g_searchRate = 0;
double g_floorRate = 0;
double g_scalePerRecord[2] = {0, 0};
// Median search / floor of the alternating runs: floor first, search first.
double g_alternating[2] = {0, 0};
// Table rows of the many-station runs.
std::vector<std::string> g_stationRows;

// CPU time and page faults of the whole process (every thread) so far.
struct Usage {
    double user = 0;    // seconds
    double kernel = 0;  // seconds
    long faults = 0;    // minor and major

    static Usage now() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
        return {seconds(usage.ru_utime), seconds(usage.ru_stime), usage.ru_minflt + usage.ru_majflt};
    }
};

long faults() { return Usage::now().faults; }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The one-minute load average, printed beside figures taken on a shared machine.
double loadAverage() {
    std::ifstream file("/proc/loadavg");
    double load = -1;
    file >> load;
    return load;
}

size_t payload(const Results& results) {
    size_t bytes = 0;
    for (const auto& r : results) {
        bytes += r.faceData.size() + r.infraredFaceData.size() + r.searchID.size() + r.responseStatusStrg.size();
        for (const auto& d : r.dataCollectList) {
            bytes += d.name.size() + d.employeeNo.size() + d.IDCardNo.size();
            for (const auto& c : d.cardNoList) bytes += c.size();
            for (const auto& f : d.fingerprintList) bytes += f.fingerprint.size();
        }
    }
    return bytes;
}

// A logged-in station object over a store of `count` generated people.
struct Bench {
    EnrollmentStation::CEnrollmentStation station;

    Bench(size_t count, size_t picture, int fingerprints) {
        vstation::reset();
        vstation::setPacing(false);
        vstation::clearOfflineRecords();
        vstation::GeneratedRecords plan;
        plan.count = count;
        plan.facePictureBytes = picture;
        plan.infraredPictureBytes = picture;
        plan.fingerprints = fingerprints;
        vstation::addGeneratedRecords(plan);
        EnrollmentStation::LoginParam login{"127.0.0.1", "8000", "admin", "Station#2026"};
        long id = -1;
        if (!station.initEnrollmentStation(login, id)) std::abort();
    }
    ~Bench() { station.uninitEnrollmentStation(); }
};

void BM_SearchList(benchmark::State& state) {
    Bench bench(kRecords, kPicture, kFingerprints);
    double peakRatio = 0, payloadRatio = 0;
    size_t records = 0;
    const std::clock_t cpuStart = std::clock();
    const long faultStart = faults();
    for (auto _ : state) {
        const size_t before = heap::now();
        heap::resetPeak();
        Results results;
        bench.station.searchCaptureData(results);
        const size_t peak = heap::highest() - before;
        const size_t retained = heap::now() - before;
        state.PauseTiming();
        records += results.size();
        peakRatio = std::max(peakRatio, static_cast<double>(peak) / static_cast<double>(retained));
        payloadRatio = std::max(payloadRatio, static_cast<double>(peak) / static_cast<double>(payload(results)));
        if (results.size() != kRecords) state.SkipWithError("search lost records");
        results = Results();
        state.ResumeTiming();
    }
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["picture MB/s"] = benchmark::Counter(static_cast<double>(records) * 2 * kPicture / 1e6,
                                                        benchmark::Counter::kIsRate);
    state.counters["process CPU us/record"] =
        1e6 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / static_cast<double>(records);
    state.counters["faults/record"] = static_cast<double>(faults() - faultStart) / static_cast<double>(records);
    state.counters["peak/retained"] = peakRatio;
    state.counters["peak/payload"] = payloadRatio;
    state.counters["records"] = static_cast<double>(kRecords);
}

// ---- the floor: the same documents by hand ------------------------------------

std::string base64(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out((bytes.size() + 2) / 3 * 4, '=');
    size_t i = 0, o = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) | uint8_t(bytes[i + 2]);
        out[o++] = kDigits[v >> 18];
        out[o++] = kDigits[(v >> 12) & 63];
        out[o++] = kDigits[(v >> 6) & 63];
        out[o++] = kDigits[v & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out[o++] = kDigits[v >> 18];
        out[o++] = kDigits[(v >> 12) & 63];
        if (i + 1 < bytes.size()) out[o++] = kDigits[(v >> 6) & 63];
    }
    return out;
}

std::string hexOf(size_t seed, size_t size) {
    std::string hex(size * 2, '0');
    for (size_t i = 0; i < hex.size(); ++i) hex[i] = "0123456789ABCDEF"[(seed * 31 + i * 7) % 16];
    return hex;
}

cJSON* point(double x, double y) {
    cJSON* p = cJSON_CreateObject();
    cJSON_AddNumberToObject(p, "x", x);
    cJSON_AddNumberToObject(p, "y", y);
    return p;
}

std::string resultDocument(size_t n, size_t total, const std::string& face, const std::string& infrared) {
    cJSON* root = cJSON_CreateObject();
    cJSON* doc = cJSON_AddObjectToObject(root, "SearchCaptureData");
    cJSON_AddStringToObject(doc, "faceData", base64(face).c_str());
    cJSON_AddStringToObject(doc, "infraredFaceData", base64(infrared).c_str());
    cJSON* response = cJSON_AddObjectToObject(doc, "SearchTaskCond");
    cJSON_AddStringToObject(response, "searchID", "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
    cJSON_AddStringToObject(response, "responseStatusStrg", "MORE");
    cJSON_AddNumberToObject(response, "numOfMatches", 1);
    cJSON_AddNumberToObject(response, "totalMatches", static_cast<double>(total));
    cJSON* record = cJSON_CreateObject();
    cJSON_AddNumberToObject(record, "lastCaptureNo", static_cast<double>(n));
    cJSON_AddNumberToObject(record, "captureNo", static_cast<double>(n + 1));
    cJSON_AddStringToObject(record, "name", ("Person " + std::to_string(n)).c_str());
    cJSON_AddStringToObject(record, "employeeNo", ("E" + std::to_string(n)).c_str());
    cJSON_AddStringToObject(record, "IDCardNo", "110101199000000001");
    cJSON* cards = cJSON_AddArrayToObject(record, "CardNoList");
    cJSON_AddItemToArray(cards, cJSON_CreateString("C000000001"));
    cJSON* fingers = cJSON_AddArrayToObject(record, "FingerprintList");
    for (int f = 1; f <= kFingerprints; ++f) {
        cJSON* finger = cJSON_CreateObject();
        cJSON_AddNumberToObject(finger, "fingerprintID", f);
        cJSON_AddStringToObject(finger, "fingerprint", hexOf(n + f, 512).c_str());
        cJSON_AddItemToArray(fingers, finger);
    }
    cJSON* feature = cJSON_AddObjectToObject(record, "FaceFeature");
    cJSON* region = cJSON_AddObjectToObject(feature, "Region");
    cJSON_AddNumberToObject(region, "height", 72);
    cJSON_AddNumberToObject(region, "width", 56);
    cJSON_AddNumberToObject(region, "x", 20);
    cJSON_AddNumberToObject(region, "y", 20);
    cJSON_AddItemToObject(feature, "LeftEyePoint", point(36.5, 54));
    cJSON_AddItemToObject(feature, "RightEyePoint", point(59.5, 54));
    cJSON_AddItemToObject(feature, "LeftMouthPoint", point(38, 78));
    cJSON_AddItemToObject(feature, "RightMouthPoint", point(58, 78));
    cJSON_AddItemToObject(feature, "NoseTipPoint", point(48, 69));
    cJSON_AddBoolToObject(record, "riskDataMark", false);
    cJSON_AddItemToArray(cJSON_AddArrayToObject(response, "DataCollections"), record);
    char* printed = cJSON_Print(root);
    std::string text = printed;
    cJSON_free(printed);
    cJSON_Delete(root);
    return text;
}

std::string textOf(const cJSON* object, const char* key) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    return cJSON_IsString(item) ? item->valuestring : "";
}

// The pictures the floor encodes: eight of each, as the station's generated people have.
struct FloorPictures {
    std::vector<std::string> faces, infrared;
    FloorPictures() {
        for (int v = 0; v < 8; ++v) {
            faces.emplace_back(kPicture, static_cast<char>('a' + v));
            infrared.emplace_back(kPicture, static_cast<char>('A' + v));
        }
    }
};

Results floorPass(const FloorPictures& pictures, size_t records = kRecords) {
    Results results;
    for (size_t n = 0; n < records; ++n) {
        const std::string text = resultDocument(n, records, pictures.faces[n % 8], pictures.infrared[n % 8]);
        cJSON* root = cJSON_Parse(text.c_str());
        const cJSON* doc = cJSON_GetObjectItemCaseSensitive(root, "SearchCaptureData");
        const cJSON* response = cJSON_GetObjectItemCaseSensitive(doc, "SearchTaskCond");
        const cJSON* record = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(response, "DataCollections"), 0);
        EnrollmentStation::SearchCaptureInfomation result;
        result.faceData = textOf(doc, "faceData");
        result.infraredFaceData = textOf(doc, "infraredFaceData");
        result.searchID = textOf(response, "searchID");
        result.responseStatusStrg = textOf(response, "responseStatusStrg");
        EnrollmentStation::DataCollectInfomation person;
        person.name = textOf(record, "name");
        person.employeeNo = textOf(record, "employeeNo");
        const cJSON* fingers = cJSON_GetObjectItemCaseSensitive(record, "FingerprintList");
        for (const cJSON* f = fingers ? fingers->child : nullptr; f; f = f->next) {
            person.fingerprintList.push_back({1, textOf(f, "fingerprint")});
        }
        result.dataCollectList.push_back(std::move(person));
        results.push_back(std::move(result));
        cJSON_Delete(root);
    }
    return results;
}

void BM_Floor(benchmark::State& state) {
    const FloorPictures pictures;
    size_t records = 0;
    const std::clock_t cpuStart = std::clock();
    const long faultStart = faults();
    for (auto _ : state) {
        Results results = floorPass(pictures);
        records += results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["faults/record"] = static_cast<double>(faults() - faultStart) / static_cast<double>(records);
    state.counters["process CPU us/record"] =
        1e6 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / static_cast<double>(records);
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["picture MB/s"] = benchmark::Counter(static_cast<double>(records) * 2 * kPicture / 1e6,
                                                        benchmark::Counter::kIsRate);
}

// ---- both in one process, alternating ---------------------------------------

// One timed pass: records/s and page faults per record.
struct Pass {
    double rate = 0;
    double faultsPerRecord = 0;
};

template <typename Work>
Pass timedPass(Work work) {
    const long faultStart = faults();
    const auto start = std::chrono::steady_clock::now();
    const size_t records = work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {static_cast<double>(records) / took.count(),
            static_cast<double>(faults() - faultStart) / static_cast<double>(records)};
}

// Search and floor in one process, one after the other in every iteration,
// after an untimed pass of each: neither side starts on memory the other has
// just freed while itself starting cold. Argument 0 runs the floor first, 1
// the search first. The results of a pass are freed before the next starts,
// as a client that drops them would.
void BM_Alternating(benchmark::State& state) {
    const bool searchFirst = state.range(0) == 1;
    Bench bench(kRecords, kPicture, kFingerprints);
    const FloorPictures pictures;
    const auto search = [&bench] {
        Results results;
        bench.station.searchCaptureData(results);
        return results.size();
    };
    const auto floor = [&pictures] { return floorPass(pictures).size(); };
    search();
    floor();
    std::vector<double> searchRates, floorRates, ratios;
    double searchFaults = 0, floorFaults = 0;
    for (auto _ : state) {
        Pass s, f;
        if (searchFirst) {
            s = timedPass(search);
            f = timedPass(floor);
        } else {
            f = timedPass(floor);
            s = timedPass(search);
        }
        searchRates.push_back(s.rate);
        floorRates.push_back(f.rate);
        ratios.push_back(s.rate / f.rate);
        searchFaults = std::max(searchFaults, s.faultsPerRecord);
        floorFaults = std::max(floorFaults, f.faultsPerRecord);
    }
    state.counters["search records/s"] = median(searchRates);
    state.counters["floor records/s"] = median(floorRates);
    state.counters["search/floor"] = median(ratios);
    state.counters["worst search/floor"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["search faults/record (max)"] = searchFaults;
    state.counters["floor faults/record (max)"] = floorFaults;
}

// ---- many stations at once ------------------------------------------------------

// Records each station holds in the many-station runs; BENCH_STATION_RECORDS
// overrides it.
const size_t kStationRecords = [] {
    const char* text = std::getenv("BENCH_STATION_RECORDS");
    return text != nullptr && std::atol(text) > 0 ? static_cast<size_t>(std::atol(text)) : size_t{200};
}();

// `count` stations of the virtual station (ports 8000 on), each with its own
// store, and one logged-in client object for each.
struct Stations {
    std::vector<std::unique_ptr<EnrollmentStation::CEnrollmentStation>> clients;

    Stations(size_t count, size_t records) {
        vstation::reset();
        vstation::setPacing(false);
        std::string profile = R"({"stations": [)";
        for (size_t i = 0; i < count; ++i) {
            profile += (i == 0 ? "" : ",") + std::string(R"({"address": "127.0.0.1", "port": )") +
                       std::to_string(port(i)) +
                       R"(, "accounts": [{"userName": "admin", "password": "Station#2026"}]})";
        }
        profile += "]}";
        if (!vstation::loadProfile(profile)) std::abort();
        vstation::GeneratedRecords plan;
        plan.count = records;
        plan.facePictureBytes = kPicture;
        plan.infraredPictureBytes = kPicture;
        plan.fingerprints = kFingerprints;
        for (size_t i = 0; i < count; ++i) {
            vstation::clearOfflineRecords("127.0.0.1", port(i));
            vstation::addGeneratedRecords(plan, "127.0.0.1", port(i));
            auto client = std::make_unique<EnrollmentStation::CEnrollmentStation>();
            EnrollmentStation::LoginParam login{"127.0.0.1", std::to_string(port(i)), "admin", "Station#2026"};
            long id = -1;
            if (!client->initEnrollmentStation(login, id)) std::abort();
            clients.push_back(std::move(client));
        }
    }
    ~Stations() {
        for (auto& client : clients) client->uninitEnrollmentStation();
    }
    static uint16_t port(size_t i) { return static_cast<uint16_t>(8000 + i); }
};

// What one side did in one run of all its threads.
struct Together {
    size_t records = 0;
    double perCpuSecond = 0;       // records per CPU-second, all threads of the process
    double faultsPerRecord = 0;
    double kernelUsPerRecord = 0;
    double aggregateRate = 0;      // records per wall second, all threads together
    double stationRate = 0;        // mean over threads of each one's records per second
    double slowestStationRate = 0;
    double peakOverResults = 0;    // peak live heap growth / bytes the results hold
};

// Runs work(i) on `threads` threads that start at one signal, each keeping
// the results it returns until all have ended. CPU time and faults are the
// whole process's, so nothing else of this program may run meanwhile.
template <typename Work>
Together runTogether(size_t threads, Work work) {
    std::mutex mutex;
    std::condition_variable signal;
    size_t waiting = 0;
    bool go = false;
    std::vector<Results> results(threads);
    std::vector<std::chrono::steady_clock::time_point> ended(threads);
    std::vector<std::thread> pool;
    for (size_t i = 0; i < threads; ++i) {
        pool.emplace_back([&, i] {
            {
                std::unique_lock<std::mutex> lock(mutex);
                ++waiting;
                signal.notify_all();
                signal.wait(lock, [&] { return go; });
            }
            results[i] = work(i);
            ended[i] = std::chrono::steady_clock::now();
        });
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        signal.wait(lock, [&] { return waiting == threads; });
    }
    const size_t heapBefore = heap::now();
    heap::resetPeak();
    const Usage before = Usage::now();
    const auto start = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(mutex);
        go = true;
    }
    signal.notify_all();
    for (std::thread& t : pool) t.join();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const Usage after = Usage::now();
    const size_t peak = heap::highest() - heapBefore;

    Together figures;
    size_t bytes = 0;
    double rateSum = 0;
    figures.slowestStationRate = 1e300;
    for (size_t i = 0; i < threads; ++i) {
        figures.records += results[i].size();
        bytes += payload(results[i]);
        const std::chrono::duration<double> took = ended[i] - start;
        const double rate = static_cast<double>(results[i].size()) / took.count();
        rateSum += rate;
        figures.slowestStationRate = std::min(figures.slowestStationRate, rate);
    }
    const double records = static_cast<double>(figures.records);
    const double cpu = (after.user - before.user) + (after.kernel - before.kernel);
    figures.perCpuSecond = records / cpu;
    figures.faultsPerRecord = static_cast<double>(after.faults - before.faults) / records;
    figures.kernelUsPerRecord = 1e6 * (after.kernel - before.kernel) / records;
    figures.aggregateRate = records / wall.count();
    figures.stationRate = rateSum / static_cast<double>(threads);
    figures.peakOverResults = static_cast<double>(peak) / static_cast<double>(bytes);
    return figures;
}

// S stations searching at once (list form) against the floor on S threads,
// in one process: one untimed run of each, then the two in turn, the order
// swapped every round. Each counter is the median over the rounds.
void BM_Stations(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    Stations stations(count, kStationRecords);
    const FloorPictures pictures;
    const auto search = [&] {
        return runTogether(count, [&](size_t i) {
            Results results;
            stations.clients[i]->searchCaptureData(results);
            return results;
        });
    };
    const auto floor = [&] {
        return runTogether(count, [&](size_t) { return floorPass(pictures, kStationRecords); });
    };
    // BENCH_STATIONS_SIDE=search (or floor) runs that side alone, for a
    // profiler; the ratios then mean nothing.
    const char* side = std::getenv("BENCH_STATIONS_SIDE");
    if (side != nullptr && *side != '\0') {
        const bool searchSide = std::string(side) == "search";
        for (auto _ : state) {
            const Together run = searchSide ? search() : floor();
            state.counters["rec/CPU-s"] = run.perCpuSecond;
        }
        return;
    }
    search();
    floor();
    std::vector<Together> searches, floors;
    std::vector<double> ratios;
    for (auto _ : state) {
        const bool floorFirst = searches.size() % 2 == 1;
        if (floorFirst) floors.push_back(floor());
        searches.push_back(search());
        if (!floorFirst) floors.push_back(floor());
        ratios.push_back(searches.back().perCpuSecond / floors.back().perCpuSecond);
        if (searches.back().records != count * kStationRecords) state.SkipWithError("search lost records");
    }
    const auto mid = [](const std::vector<Together>& runs, double Together::*figure) {
        std::vector<double> values;
        for (const Together& run : runs) values.push_back(run.*figure);
        return median(values);
    };
    state.counters["search rec/CPU-s"] = mid(searches, &Together::perCpuSecond);
    state.counters["floor rec/CPU-s"] = mid(floors, &Together::perCpuSecond);
    state.counters["ratio"] = median(ratios);
    state.counters["search faults/rec"] = mid(searches, &Together::faultsPerRecord);
    state.counters["floor faults/rec"] = mid(floors, &Together::faultsPerRecord);
    state.counters["search kernel us/rec"] = mid(searches, &Together::kernelUsPerRecord);
    state.counters["floor kernel us/rec"] = mid(floors, &Together::kernelUsPerRecord);
    state.counters["search rec/s"] = mid(searches, &Together::aggregateRate);
    state.counters["floor rec/s"] = mid(floors, &Together::aggregateRate);
    state.counters["station rec/s"] = mid(searches, &Together::stationRate);
    state.counters["slowest station rec/s"] = mid(searches, &Together::slowestStationRate);
    state.counters["search peak/results"] = mid(searches, &Together::peakOverResults);
    state.counters["floor peak/results"] = mid(floors, &Together::peakOverResults);
    state.counters["load"] = loadAverage();
}

// ---- scale: callback form, no pictures ----------------------------------------

int countRecord(std::string, void* user) {
    ++*static_cast<size_t*>(user);
    return 0;
}

void BM_SearchScale(benchmark::State& state) {
    const size_t count = static_cast<size_t>(state.range(0));
    Bench bench(count, 0, 0);
    size_t delivered = 0;
    size_t peakGrowth = 0;
    for (auto _ : state) {
        const size_t before = heap::now();
        heap::resetPeak();
        size_t seen = 0;
        bench.station.searchCaptureData(&countRecord, &seen);
        peakGrowth = std::max(peakGrowth, heap::highest() - before);
        delivered += seen;
        if (seen != count) state.SkipWithError("search lost records");
    }
    state.counters["s/record"] = benchmark::Counter(static_cast<double>(delivered),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["peak heap MB"] = static_cast<double>(peakGrowth) / 1e6;
}

// Collects the counters for the summary line.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate) continue;
            const std::string name = run.benchmark_name();
            const auto alternating = run.counters.find("search/floor");
            if (alternating != run.counters.end()) {
                g_alternating[name.find("/1/") != std::string::npos ? 1 : 0] = alternating->second;
            }
            const auto rate = run.counters.find("records/s");
            if (name.rfind("BM_SearchList", 0) == 0 && rate != run.counters.end()) g_searchRate = rate->second;
            if (name.rfind("BM_Floor", 0) == 0 && rate != run.counters.end()) g_floorRate = rate->second;
            if (name.rfind("BM_Stations/", 0) == 0) addStationRow(name, run.counters);
            const auto perRecord = run.counters.find("s/record");
            if (perRecord != run.counters.end()) {
                g_scalePerRecord[name.find("/100000") != std::string::npos ? 1 : 0] = perRecord->second * 1e6;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static void addStationRow(const std::string& name, const benchmark::UserCounters& counters) {
        const auto at = [&counters](const char* key) {
            const auto it = counters.find(key);
            return it == counters.end() ? 0.0 : it->second.value;
        };
        const size_t stations = std::strtoul(name.c_str() + std::string("BM_Stations/").size(), nullptr, 10);
        char row[512];
        std::snprintf(row, sizeof row,
                      "| %zu | %.0f | %.0f | %.2f | %.1f / %.1f | %.0f / %.0f | %.0f (%.0f) | %.0f | %.2f / %.2f | %.1f |",
                      stations, at("search rec/CPU-s"), at("floor rec/CPU-s"), at("ratio"),
                      at("search faults/rec"), at("floor faults/rec"), at("search kernel us/rec"),
                      at("floor kernel us/rec"), at("search rec/s"), at("floor rec/s"), at("station rec/s"),
                      at("search peak/results"), at("floor peak/results"), at("load"));
        g_stationRows.push_back(row);
    }
};

}  // namespace

// One search (and one floor pass) per run: run alone, in a fresh process
// each, they give the cold figures. Run one after the other, the second
// reuses the memory the first freed; BM_Alternating is the fair comparison
// within one process (see docs/performance.md).
BENCHMARK(BM_SearchList)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Alternating)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_SearchScale)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_SearchScale)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
// Three rounds of each side per station count; run with --benchmark_counters_tabular=true.
BENCHMARK(BM_Stations)->Arg(1)->Arg(2)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Summary reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_searchRate > 0 && g_floorRate > 0) {
        std::printf("search / floor, first pass of each in this process: %.2f\n", g_searchRate / g_floorRate);
    }
    if (g_alternating[0] > 0 && g_alternating[1] > 0) {
        std::printf("search / floor, alternating in one process (median): %.2f floor first, %.2f search first"
                    " (target >= 0.55)\n",
                    g_alternating[0], g_alternating[1]);
    }
    if (g_scalePerRecord[0] > 0 && g_scalePerRecord[1] > 0) {
        std::printf("cost per record at 100,000 / at 1,000: %.2f (target <= 1.2)\n",
                    g_scalePerRecord[1] / g_scalePerRecord[0]);
    }
    if (!g_stationRows.empty()) {
        std::printf("\n| stations | search rec/CPU-s | floor rec/CPU-s | ratio | faults/rec search / floor"
                    " | kernel us/rec search / floor | search rec/s (floor) | per station rec/s"
                    " | peak/results search / floor | load |\n|---|---|---|---|---|---|---|---|---|---|\n");
        for (const std::string& row : g_stationRows) std::printf("%s\n", row.c_str());
    }
    benchmark::Shutdown();
    return 0;
}
