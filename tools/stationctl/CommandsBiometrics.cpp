// fingerprint, face [--save DIR].
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Interrupt.h"
#include "Pictures.h"
#include "ProgressLine.h"
#include "RecordJson.h"

namespace stationctl {

namespace {

// Writes one Base64 picture as DIR/<stem>.<type>; returns the path written,
// or empty when there was no picture. `error` is set when writing failed.
std::string savePicture(const std::string& dir, const std::string& stem, const std::string& base64,
                        std::string& error) {
    Picture picture;
    if (!decodePicture(base64, picture)) return std::string();
    const std::string path = dir + "/" + stem + "." + picture.extension;
    return writeFile(path, picture.bytes, error) ? path : std::string();
}

}  // namespace

int stepFingerprint(Session& session) {
    session.out().say("Place a finger on the reader...");
    EnrollmentStation::FingerPrintInfomation info;
    if (!session.call().captureFingerInfo(info)) return session.fail("collecting the fingerprint");
    session.out().result("fingerprint", toJson(info), "Fingerprint:");
    return kExitOk;
}

int stepFace(Session& session, const std::string& saveDir) {
    session.out().say("Look into the camera...");
    EnrollmentStation::FaceInformation info;
    bool captured = false;
    int reached = -1;
    {
        ProgressLine line(session.out());
        PercentProgress progress(session.call(), line, "Face capture");
        captured = session.call().captureFaceInfo(info);
        reached = progress.lastPercent();
    }
    if (!captured && interrupted()) {
        session.out().say("Interrupted: face capture cancelled " +
                          (reached < 0 ? std::string("before the station reported any progress")
                                       : "at " + std::to_string(reached) + "%") +
                          "; no face was received");
        return kExitInterrupted;
    }
    if (!captured) return session.fail("collecting the face");
    JsonTree result = toJson(info);
    if (!saveDir.empty()) {
        std::string error;
        cJSON* saved = cJSON_AddObjectToObject(result.get(), "saved");
        const std::string face = savePicture(saveDir, "face", info.faceData, error);
        const std::string infrared = error.empty() ? savePicture(saveDir, "infrared", info.infraredFaceData, error)
                                                   : std::string();
        if (!error.empty()) {
            session.out().result("face", std::move(result), "Face:");
            return session.out().problem("face", error, kExitLocalFile);
        }
        if (!face.empty()) cJSON_AddStringToObject(saved, "face", face.c_str());
        if (!infrared.empty()) cJSON_AddStringToObject(saved, "infrared", infrared.c_str());
    }
    session.out().result("face", std::move(result), "Face:");
    return kExitOk;
}

void addBiometricCommands(CLI::App& app, Context& context) {
    addCommand(app, context, "fingerprint", "collect one fingerprint",
               [](Context& c, Output& out) { return withSession(c, out, "fingerprint", stepFingerprint); });
    auto saveDir = std::make_shared<std::string>();
    CLI::App* face = addCommand(app, context, "face", "collect one face",
                                [saveDir](Context& c, Output& out) {
                                    return withSession(c, out, "face", [saveDir](Session& s) {
                                        return stepFace(s, *saveDir);
                                    });
                                });
    face->add_option("--save", *saveDir, "write the face and infrared pictures into this folder")
        ->check(CLI::ExistingDirectory);
}

}  // namespace stationctl
