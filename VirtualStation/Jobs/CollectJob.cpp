// The live collections: the reader's fingerprint and the camera's face, as
// the data records of commands 2504 and 2510. What the reader or camera sees
// is what a person gave (PersonControl.h), else the station's sample.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "Jobs/StreamJobs.h"
#include "Person/PersonAtStation.h"
#include "State/Station.h"

namespace vstation {

namespace {

using namespace std::chrono_literals;

// A person takes about a second to put a finger down; the camera shows its
// progress over about a second and a half.
constexpr auto kFingerTime = 1000ms;
constexpr auto kFaceTime = 1500ms;

template <typename Record>
Report dataReport(const Record& record) {
    Report report;
    report.type = NET_SDK_CALLBACK_TYPE_DATA;
    report.bytes.resize(sizeof(Record));
    std::memcpy(report.bytes.data(), &record, sizeof(Record));
    return report;
}

// Address and length of a sample's bytes; none for an empty item.
char* address(const std::string& bytes) {
    return bytes.empty() ? nullptr : const_cast<char*>(bytes.data());
}

void postEnding(LongConnection& connection, const StreamScript& script) {
    Report report;
    if (endingReport(script, &report)) connection.post(std::move(report));
}

// Without a count, the usual course has one result and an ending comes first.
int completeReports(const StreamScript& script) {
    if (script.records >= 0) return script.records;
    return script.ending == StreamEnding::Normal ? 1 : 0;
}

std::chrono::milliseconds reportDelay(const StreamScript& script, std::chrono::milliseconds pacedTime) {
    return script.reportDelayMs > 0 ? std::chrono::milliseconds(script.reportDelayMs) : paced(pacedTime);
}

// The sample the late reports of `script` carry.
template <typename Sample>
std::shared_ptr<const Sample> lateSample(std::shared_ptr<const Sample> sample, const StreamScript& script,
                                         std::string Sample::*templateBytes) {
    if (script.lateTemplate.empty()) return sample;
    auto late = std::make_shared<Sample>(*sample);
    (*late).*templateBytes = script.lateTemplate;
    return late;
}

// The ending, then the late reports that `report` builds.
template <typename BuildReport>
void postEndingAndLate(LongConnection& connection, const StreamScript& script, BuildReport report) {
    postEnding(connection, script);
    for (int i = 0; i < script.lateRecords; ++i) {
        Report late = report();
        late.delay = std::chrono::milliseconds(script.lateDelayMs);
        connection.post(std::move(late));
    }
}

// Calls `collect` with the sample the person gave (at once, or once they act
// when they are awaited), or the station's own; never after the connection
// closed.
template <typename Sample>
void awaitPerson(LongConnection& connection, PersonAction action, int finger, const std::shared_ptr<Station>& station,
                 std::shared_ptr<const Sample> CollectState::*own,
                 std::shared_ptr<const Sample> PersonDid::*given,
                 std::function<void(LongConnection&, std::shared_ptr<const Sample>)> collect) {
    std::weak_ptr<LongConnection> weak = connection.shared_from_this();
    auto alive = [weak] {
        auto open = weak.lock();
        return open && open->open();
    };
    auto deliver = [weak, station, own, given, collect](const PersonDid* did) {
        auto open = weak.lock();
        if (!open) return;
        std::shared_ptr<const Sample> sample = did ? (*did).*given : nullptr;
        if (!sample) {
            std::lock_guard<std::mutex> lock(station->mutex);
            sample = station->collect.*own;
        }
        collect(*open, std::move(sample));
    };
    PersonAtStation::instance().awaitLater(action, finger, std::move(alive), std::move(deliver));
}

class FingerCollectJob : public StreamJob {
public:
    FingerCollectJob(std::shared_ptr<Station> station, uint8_t finger, const StreamScript& script)
        : m_station(std::move(station)), m_finger(finger), m_script(script) {}

    void begin(LongConnection& connection) override {
        const uint8_t finger = m_finger;
        const StreamScript script = m_script;
        awaitPerson<FingerprintSample>(
            connection, PersonAction::Finger, finger, m_station, &CollectState::finger, &PersonDid::finger,
            [finger, script](LongConnection& open, std::shared_ptr<const FingerprintSample> sample) {
                collect(open, finger, script, sample);
            });
    }

private:
    static void collect(LongConnection& connection, uint8_t finger, const StreamScript& script,
                        const std::shared_ptr<const FingerprintSample>& sample) {
        for (int i = 0; i < completeReports(script); ++i) {
            Report report = fingerReport(sample, finger);
            report.delay = reportDelay(script, kFingerTime);
            connection.post(std::move(report));
        }
        const auto late = lateSample(sample, script, &FingerprintSample::templateBytes);
        postEndingAndLate(connection, script, [&] { return fingerReport(late, finger); });
    }

    static Report fingerReport(const std::shared_ptr<const FingerprintSample>& sample, uint8_t finger) {
        NET_DVR_CAPTURE_FINGERPRINT_CFG record{};
        record.dwSize = sizeof(record);
        const size_t templateLength = std::min<size_t>(sample->templateBytes.size(), NET_DVR_MAX_FINGER_PRINT_LEN);
        record.dwFingerPrintDataSize = static_cast<uint32_t>(templateLength);
        std::memcpy(record.byFingerData, sample->templateBytes.data(), templateLength);
        record.dwFingerPrintPicSize = static_cast<uint32_t>(sample->picture.size());
        record.pFingerPrintPicBuffer = address(sample->picture);
        record.byFingerNo = finger;
        record.byFingerPrintQuality = sample->quality;
        Report report = dataReport(record);
        report.keep.push_back(sample);
        return report;
    }

    std::shared_ptr<Station> m_station;
    uint8_t m_finger;
    StreamScript m_script;
};

NET_DVR_FACE_FEATURE floatGeometry(const FaceGeometry& g) {
    NET_DVR_FACE_FEATURE f{};
    f.struRegion = {static_cast<float>(g.x), static_cast<float>(g.y), static_cast<float>(g.width),
                    static_cast<float>(g.height)};
    const auto point = [](const FacePoint2D& p) {
        return NET_DVR_FACE_POINT{static_cast<float>(p.x), static_cast<float>(p.y)};
    };
    f.struLeftEye = point(g.leftEye);
    f.struRightEye = point(g.rightEye);
    f.struLeftMouth = point(g.leftMouth);
    f.struRightMouth = point(g.rightMouth);
    f.struNoseTip = point(g.noseTip);
    return f;
}

class FaceCollectJob : public StreamJob {
public:
    FaceCollectJob(std::shared_ptr<Station> station, const StreamScript& script)
        : m_station(std::move(station)), m_script(script) {}

    void begin(LongConnection& connection) override {
        const StreamScript script = m_script;
        awaitPerson<FaceSample>(connection, PersonAction::Face, 0, m_station, &CollectState::face, &PersonDid::face,
                                [script](LongConnection& open, std::shared_ptr<const FaceSample> sample) {
                                    collect(open, script, sample);
                                });
    }

private:
    static void collect(LongConnection& connection, const StreamScript& script,
                        const std::shared_ptr<const FaceSample>& sample) {
        const int steps = sample->progressReports + 1;
        const auto step = reportDelay(script, kFaceTime / steps);
        for (int i = 0; i < completeReports(script); ++i) {
            // While the camera tracks the face: its place, nothing else yet.
            for (int k = 1; k < steps; ++k) {
                NET_DVR_CAPTURE_FACE_CFG record{};
                record.dwSize = sizeof(record);
                record.byCaptureProgress = static_cast<uint8_t>(100 * k / steps);
                record.struFeature = floatGeometry(sample->geometry);
                Report report = dataReport(record);
                report.delay = step;
                connection.post(std::move(report));
            }
            Report report = faceReport(sample);
            report.delay = step;
            connection.post(std::move(report));
        }
        const auto late = lateSample(sample, script, &FaceSample::template1);
        postEndingAndLate(connection, script, [&] { return faceReport(late); });
    }

    static Report faceReport(const std::shared_ptr<const FaceSample>& sample) {
        NET_DVR_CAPTURE_FACE_CFG record{};
        record.dwSize = sizeof(record);
        record.dwFaceTemplate1Size = static_cast<uint32_t>(sample->template1.size());
        record.pFaceTemplate1Buffer = address(sample->template1);
        record.dwFaceTemplate2Size = static_cast<uint32_t>(sample->template2.size());
        record.pFaceTemplate2Buffer = address(sample->template2);
        record.dwFacePicSize = static_cast<uint32_t>(sample->picture.size());
        record.pFacePicBuffer = address(sample->picture);
        record.byFaceQuality1 = sample->template1Quality;
        record.byFaceQuality2 = sample->template2Quality;
        record.byCaptureProgress = 100;
        record.byFacePicQuality = sample->pictureQuality;
        record.dwInfraredFacePicSize = static_cast<uint32_t>(sample->infraredPicture.size());
        record.pInfraredFacePicBuffer = address(sample->infraredPicture);
        record.byInfraredFacePicQuality = sample->infraredPictureQuality;
        record.struFeature = floatGeometry(sample->geometry);
        Report report = dataReport(record);
        report.keep.push_back(sample);
        return report;
    }

    std::shared_ptr<Station> m_station;
    StreamScript m_script;
};

}  // namespace

std::unique_ptr<StreamJob> fingerCollectJob(std::shared_ptr<Station> station, uint8_t finger,
                                            const StreamScript& script) {
    return std::make_unique<FingerCollectJob>(std::move(station), finger, script);
}

std::unique_ptr<StreamJob> faceCollectJob(std::shared_ptr<Station> station, const StreamScript& script) {
    return std::make_unique<FaceCollectJob>(std::move(station), script);
}

}  // namespace vstation
