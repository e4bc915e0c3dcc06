// upload FILE, download FILE.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "Commands.h"
#include "Interrupt.h"
#include "ProgressLine.h"
#include "ZornNetSDK.h"

namespace stationctl {

namespace {

JsonTree fileResult(const std::string& path) {
    JsonTree result = newObject();
    cJSON_AddStringToObject(result.get(), "path", path.c_str());
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (in) cJSON_AddNumberToObject(result.get(), "bytes", static_cast<double>(in.tellg()));
    return result;
}

// Whether `path` can be written, without leaving a file behind that was not there.
bool writableFile(const std::string& path, std::string& error) {
    const bool existed = std::ifstream(path).good();
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::fclose(file);
    if (!existed) std::remove(path.c_str());
    return true;
}

// How one direction shows itself: on the progress line, and when Ctrl-C ended it.
struct Direction {
    const char* label;  // "Uploading"
    const char* name;   // "upload"
    const char* moved;  // "of the file sent"
    bool (EnrollmentStation::CEnrollmentStation::*method)(const std::string&);
};

const Direction kUpload{"Uploading", "upload", "of the file sent", &EnrollmentStation::CEnrollmentStation::uploadFile};
const Direction kDownload{"Downloading", "download", "of the station's file received",
                          &EnrollmentStation::CEnrollmentStation::downloadFile};

// Runs one transfer with its progress on the terminal. After Ctrl-C ended
// it, says how far it got and gives kExitInterrupted; otherwise kExitOk
// when it succeeded and kExitFailed (not yet reported) when not.
int transfer(Session& session, const Direction& direction, const std::string& path) {
    bool done = false;
    int reached = -1;
    {
        ProgressLine line(session.out());
        PercentProgress progress(session.call(), line, direction.label);
        done = (session.call().*direction.method)(path);
        reached = progress.lastPercent();
    }
    if (done) return kExitOk;
    if (!interrupted()) return kExitFailed;
    session.out().say(std::string("Interrupted: ") + direction.name + " cancelled " +
                      (reached < 0 ? std::string("before the station reported any progress")
                                   : "with " + std::to_string(reached) + "% " + direction.moved));
    return kExitInterrupted;
}

}  // namespace

int stepUpload(Session& session, const std::string& path) {
    const int result = transfer(session, kUpload, path);
    if (result == kExitInterrupted) return result;
    if (result != kExitOk) return session.fail("uploading " + path);
    session.out().result("upload", fileResult(path), "Uploaded:");
    return kExitOk;
}

int stepDownload(Session& session, const std::string& path) {
    // Checked before the transfer: a local file the SDK cannot write is not
    // the station's failure, and the whole transfer would be spent on it.
    std::string error;
    if (!writableFile(path, error)) return session.out().problem(session.command(), error, kExitLocalFile);
    const int result = transfer(session, kDownload, path);
    if (result == kExitInterrupted) return result;
    if (result != kExitOk) {
        const ErrorPair why = session.error();
        const int code = session.fail("downloading into " + path);
        return why.main == 50 && why.sub == NET_DVR_ERR_FILE ? kExitLocalFile : code;
    }
    session.out().result("download", fileResult(path), "Downloaded:");
    return kExitOk;
}

void addFileCommands(CLI::App& app, Context& context) {
    auto uploadPath = std::make_shared<std::string>();
    CLI::App* upload = addCommand(app, context, "upload", "send a file to the station",
                                  [uploadPath](Context& c, Output& out) {
                                      return withSession(c, out, "upload", [uploadPath](Session& s) {
                                          return stepUpload(s, *uploadPath);
                                      });
                                  });
    upload->add_option("FILE", *uploadPath, "the file to send")->required()->check(CLI::ExistingFile);

    auto downloadPath = std::make_shared<std::string>();
    CLI::App* download = addCommand(app, context, "download", "fetch the station's file into FILE",
                                    [downloadPath](Context& c, Output& out) {
                                        return withSession(c, out, "download", [downloadPath](Session& s) {
                                            return stepDownload(s, *downloadPath);
                                        });
                                    });
    download->add_option("FILE", *downloadPath, "where to store it")->required();
}

}  // namespace stationctl
