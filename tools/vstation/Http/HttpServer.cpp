#include "Http/HttpServer.h"

#include <httplib.h>

#include <exception>
#include <iostream>

#include "Http/Json.h"
#include "Http/RequestGuard.h"

namespace vstation_tool {

namespace {

// Photos arrive as Base64 in JSON bodies.
constexpr size_t kBodyLimit = 8 * 1024 * 1024;

ApiRequest apiRequest(const httplib::Request& request) {
    ApiRequest api;
    api.method = request.method;
    api.path = request.path;
    for (size_t i = 1; i < request.matches.size(); ++i) api.captures.push_back(request.matches[i].str());
    for (const auto& param : request.params) api.query[param.first] = param.second;
    api.body = request.body;
    return api;
}

void reply(const ApiResponse& api, httplib::Response& response) {
    response.status = api.status;
    response.set_content(api.body, api.contentType.c_str());
    // The page and the API change the station: nothing of them is kept by caches.
    response.set_header("Cache-Control", "no-store");
}

}  // namespace

std::vector<ApiRoute> allRoutes() {
    std::vector<ApiRoute> routes;
    addStationRoutes(&routes);
    addPersonRoutes(&routes);
    addActionRoutes(&routes);
    addFaultRoutes(&routes);
    return routes;
}

struct HttpServer::Impl {
    httplib::Server server;
    RequestGuard guard;  // set by start(), before the first request
};

HttpServer::HttpServer(ApiContext& context) : m_impl(std::make_unique<Impl>()) {
    httplib::Server& server = m_impl->server;
    server.set_payload_max_length(kBodyLimit);
    // Every request passes the guard before any route sees it.
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        GuardedRequest guarded;
        guarded.method = request.method;
        const auto host = request.headers.find("Host");
        const auto origin = request.headers.find("Origin");
        if (host != request.headers.end()) guarded.host = &host->second;
        if (origin != request.headers.end()) guarded.origin = &origin->second;
        guarded.contentType = request.get_header_value("Content-Type");
        std::string why;
        const int status = m_impl->guard.check(guarded, &why);
        if (status == 0) return httplib::Server::HandlerResponse::Unhandled;
        if (status == 415) {
            ApiResponse api;
            answerError(&api, status, why);
            reply(api, response);
        } else {
            // Not for the page: no JSON for it to read.
            response.status = status;
            response.set_content("refused: " + why + "\n", "text/plain");
        }
        // Nothing more is served on the connection: what follows a refused
        // request (its body, perhaps unread) is not taken for a request.
        response.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    });
    for (const ApiRoute& route : allRoutes()) {
        auto handler = [&context, route](const httplib::Request& request, httplib::Response& response) {
            ApiResponse api;
            route.handler(context, apiRequest(request), &api);
            reply(api, response);
        };
        if (route.method == "GET") server.Get(route.pattern, handler);
        if (route.method == "POST") server.Post(route.pattern, handler);
        if (route.method == "PUT") server.Put(route.pattern, handler);
        if (route.method == "DELETE") server.Delete(route.pattern, handler);
    }
    server.Get("/|/page\\.js|/page\\.css", [](const httplib::Request& request, httplib::Response& response) {
        ApiResponse page;
        pageFile(request.path, &page);
        reply(page, response);
    });
    // Whatever else is asked gets a JSON answer that says what went wrong.
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty()) return;
        ApiResponse api;
        answerError(&api, response.status,
                    response.status == 404 ? "no such endpoint: " + request.method + " " + request.path
                                           : "the request was refused (HTTP " + std::to_string(response.status) + ")");
        reply(api, response);
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
        std::string why = "the request failed";
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            why += std::string(": ") + e.what();
        } catch (...) {
        }
        ApiResponse api;
        answerError(&api, 500, why);
        reply(api, response);
    });
}

HttpServer::~HttpServer() { stop(); }

bool HttpServer::start(const std::string& host, uint16_t port, std::string* why) {
    httplib::Server& server = m_impl->server;
    const int bound = port == 0 ? server.bind_to_any_port(host.c_str()) : (server.bind_to_port(host.c_str(), port) ? port : -1);
    if (bound <= 0) {
        *why = "cannot listen for the page on " + host + ":" + std::to_string(port);
        return false;
    }
    m_port = static_cast<uint16_t>(bound);
    m_impl->guard = RequestGuard(host, m_port);
    m_thread = std::thread([&server] { server.listen_after_bind(); });
    return true;
}

void HttpServer::stop() {
    if (!m_thread.joinable()) return;
    m_impl->server.stop();
    m_thread.join();
}

}  // namespace vstation_tool
