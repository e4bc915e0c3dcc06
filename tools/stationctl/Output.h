// Everything stationctl prints: results as readable text or as one JSON
// document per result, failures with their code pair in words.
#ifndef STATIONCTL_OUTPUT_H
#define STATIONCTL_OUTPUT_H

#include <string>

#include "Failure.h"
#include "JsonTree.h"

namespace stationctl {

class Output {
public:
    explicit Output(bool json) : m_json(json) {}

    bool json() const { return m_json; }

    // One result. JSON: {"command":..., "ok":true, "result":{...}} on one line
    // of stdout. Text: the result's members as indented "name: value" lines,
    // under `title` when given; long texts (pictures, templates) are shown
    // by their length.
    void result(const std::string& command, JsonTree result, const std::string& title = {});

    // A failed library call: the code pair in words on stderr and, with
    // --json, {"command":..., "ok":false, "error":{...}} on stdout.
    // Returns `exitCode` so a command can `return out.failure(...)`.
    int failure(const std::string& command, const std::string& what, const ErrorPair& code,
                int exitCode = kExitFailed);

    // A failure that has no code pair (bad input, unwritable file, declined).
    int problem(const std::string& command, const std::string& message, int exitCode);

    // Narration and notes, on stderr in both modes: stdout carries results
    // only, so it can be piped on.
    void say(const std::string& text);

private:
    bool m_json;
};

// The text form of a JSON result, as Output::result prints it.
std::string renderText(const cJSON* node);

}  // namespace stationctl

#endif  // STATIONCTL_OUTPUT_H
