#include "Output.h"

#include <cmath>
#include <cstdio>
#include <iostream>

namespace stationctl {

namespace {

// Texts longer than this (Base64 pictures, templates) are shown by length.
constexpr std::size_t kLongText = 96;

std::string scalarText(const cJSON* node) {
    if (cJSON_IsBool(node)) return cJSON_IsTrue(node) ? "yes" : "no";
    if (cJSON_IsNull(node)) return "-";
    if (cJSON_IsNumber(node)) {
        const double value = node->valuedouble;
        char text[64];
        if (std::floor(value) == value && std::fabs(value) < 1e15) {
            std::snprintf(text, sizeof text, "%.0f", value);
        } else {
            std::snprintf(text, sizeof text, "%.17g", value);
        }
        return text;
    }
    if (cJSON_IsString(node)) {
        const std::string value = node->valuestring;
        if (value.empty()) return "\"\"";
        if (value.size() > kLongText) return "(" + std::to_string(value.size()) + " characters)";
        return value;
    }
    return std::string();
}

bool isContainer(const cJSON* node) { return cJSON_IsObject(node) || cJSON_IsArray(node); }

void render(const cJSON* node, int depth, std::string& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    const cJSON* child = nullptr;
    int position = 0;
    cJSON_ArrayForEach(child, node) {
        ++position;
        // List items are "- value", or "#n:" above the members of an object.
        std::string label = !cJSON_IsArray(node)      ? std::string(child->string) + ":"
                            : isContainer(child) ? "#" + std::to_string(position) + ":"
                                                 : "-";
        if (!isContainer(child)) {
            out += indent + label + " " + scalarText(child) + "\n";
        } else if (cJSON_GetArraySize(child) == 0) {
            out += indent + label + (cJSON_IsArray(child) ? " none\n" : "\n");
        } else {
            out += indent + label + "\n";
            render(child, depth + 1, out);
        }
    }
}

}  // namespace

std::string renderText(const cJSON* node) {
    std::string out;
    render(node, 0, out);
    return out;
}

void Output::result(const std::string& command, JsonTree result, const std::string& title) {
    if (m_json) {
        JsonTree document = newObject();
        cJSON_AddStringToObject(document.get(), "command", command.c_str());
        cJSON_AddBoolToObject(document.get(), "ok", 1);
        cJSON_AddItemToObject(document.get(), "result", result.release());
        std::cout << printCompact(document.get()) << std::endl;
        return;
    }
    if (!title.empty()) std::cout << title << "\n";
    std::string text;
    render(result.get(), title.empty() ? 0 : 1, text);
    std::cout << text << std::flush;
}

int Output::failure(const std::string& command, const std::string& what, const ErrorPair& code,
                    int exitCode) {
    const std::string words = describe(code);
    std::cerr << "stationctl " << command << ": " << what << ": " << words << std::endl;
    if (m_json) {
        JsonTree document = newObject();
        cJSON_AddStringToObject(document.get(), "command", command.c_str());
        cJSON_AddBoolToObject(document.get(), "ok", 0);
        cJSON* error = cJSON_AddObjectToObject(document.get(), "error");
        cJSON_AddStringToObject(error, "message", what.c_str());
        cJSON_AddNumberToObject(error, "main", code.main);
        cJSON_AddNumberToObject(error, "sub", code.sub);
        if (!code.subStatusCode.empty()) {
            cJSON_AddStringToObject(error, "subStatusCode", code.subStatusCode.c_str());
        }
        if (!code.errorMsg.empty()) cJSON_AddStringToObject(error, "errorMsg", code.errorMsg.c_str());
        cJSON_AddStringToObject(error, "text", words.c_str());
        std::cout << printCompact(document.get()) << std::endl;
    }
    return exitCode;
}

int Output::problem(const std::string& command, const std::string& message, int exitCode) {
    std::cerr << "stationctl " << command << ": " << message << std::endl;
    if (m_json) {
        JsonTree document = newObject();
        cJSON_AddStringToObject(document.get(), "command", command.c_str());
        cJSON_AddBoolToObject(document.get(), "ok", 0);
        cJSON* error = cJSON_AddObjectToObject(document.get(), "error");
        cJSON_AddStringToObject(error, "message", message.c_str());
        std::cout << printCompact(document.get()) << std::endl;
    }
    return exitCode;
}

void Output::say(const std::string& text) { std::cerr << text << std::endl; }

}  // namespace stationctl
