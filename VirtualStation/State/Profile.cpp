// Reading a profile into stations.
#include "State/Profile.h"

#include <cjson/cJSON.h>

#include "OwnedJsonTree.h"
#include "State/Station.h"

namespace vstation {

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// Line and column of a byte offset, for parse errors a person can find.
std::string positionOf(const std::string& text, size_t offset) {
    size_t line = 1;
    size_t column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

bool buildStations(const std::string& jsonText, std::vector<std::shared_ptr<Station>>* stations,
                   std::string* error) {
    const char* end = nullptr;
    support::JsonTree root(cJSON_ParseWithLengthOpts(jsonText.data(), jsonText.size(), &end, 0));
    if (!root) {
        const size_t offset = end ? static_cast<size_t>(end - jsonText.data()) : 0;
        return fail(error, "profile is not valid JSON (" + positionOf(jsonText, offset) + ")");
    }
    if (!cJSON_IsObject(root.get())) return fail(error, "profile must be a JSON object");
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(root.get(), "stations");
    if (!list) return fail(error, "stations: missing");
    if (!cJSON_IsArray(list) || cJSON_GetArraySize(list) == 0) {
        return fail(error, "stations: must be a non-empty array");
    }

    std::vector<std::shared_ptr<Station>> built;
    int index = 0;
    for (const cJSON* item = list->child; item; item = item->next, ++index) {
        const std::string where = "stations[" + std::to_string(index) + "]";
        auto station = std::make_shared<Station>();
        std::string why;
        if (!station->load(item, &why)) return fail(error, where + (cJSON_IsObject(item) ? "." : ": ") + why);
        for (size_t other = 0; other < built.size(); ++other) {
            if (built[other]->address == station->address && built[other]->port == station->port) {
                return fail(error, where + ": " + station->address + ":" +
                                       std::to_string(station->port) + " is already stations[" +
                                       std::to_string(other) + "]");
            }
        }
        built.push_back(std::move(station));
    }
    stations->swap(built);
    return true;
}

std::vector<std::shared_ptr<Station>> defaultStations() {
    std::vector<std::shared_ptr<Station>> stations;
    buildStations(builtInProfileText(), &stations, nullptr);
    return stations;
}

}  // namespace vstation
