// upload FILE, download FILE.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "Commands.h"
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

}  // namespace

int stepUpload(Session& session, const std::string& path) {
    if (!session.call().uploadFile(path)) return session.fail("uploading " + path);
    session.out().result("upload", fileResult(path), "Uploaded:");
    return kExitOk;
}

int stepDownload(Session& session, const std::string& path) {
    // Checked before the transfer: a local file the SDK cannot write is not
    // the station's failure, and the whole transfer would be spent on it.
    std::string error;
    if (!writableFile(path, error)) return session.out().problem(session.command(), error, kExitLocalFile);
    if (!session.call().downloadFile(path)) {
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
