// The control page's JSON API: requests and answers as plain values, so that
// only HttpServer.cpp speaks HTTP. Each family of endpoints adds its routes
// (docs/virtual-station.md lists them all).
//
// Thread safety: handlers run on the HTTP server's threads, any number at
// once; they change the station only through its control API, which is
// thread-safe, and report each change through ApiContext::changed.
#ifndef VSTATION_TOOL_HTTP_API_H
#define VSTATION_TOOL_HTTP_API_H

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vstation_tool {

struct ApiRequest {
    std::string method;
    std::string path;
    std::vector<std::string> captures;  // the route pattern's groups
    std::map<std::string, std::string> query;
    std::string body;
};

struct ApiResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
};

// What the handlers share: the served station and how its state is kept.
struct ApiContext {
    std::string address;  // the station's own address and port
    uint16_t port = 0;
    std::string link;      // where clients reach it
    std::string dataPath;  // "" without --data
    // Keeps the station's state after a change (empty without --data).
    std::function<void()> changed;
    // Serialises the API's read-modify-write changes (new capture numbers).
    std::mutex mutex;
};

using ApiHandler = std::function<void(ApiContext&, const ApiRequest&, ApiResponse*)>;

struct ApiRoute {
    std::string method;   // "GET", "POST", "PUT", "DELETE"
    std::string pattern;  // a regular expression matched against the whole path
    ApiHandler handler;
};

void addStationRoutes(std::vector<ApiRoute>* routes);
void addPersonRoutes(std::vector<ApiRoute>* routes);
void addActionRoutes(std::vector<ApiRoute>* routes);
void addFaultRoutes(std::vector<ApiRoute>* routes);

// Every route, and the page at "/".
std::vector<ApiRoute> allRoutes();

// The page's files, by path ("/", "/page.js", "/page.css").
bool pageFile(const std::string& path, ApiResponse* response);

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_HTTP_API_H
