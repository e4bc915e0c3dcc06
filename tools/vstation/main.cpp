// vstation: runs one virtual station as a process of its own until Ctrl-C or
// SIGTERM (on Windows: Ctrl-C, Ctrl-Break or its console closing). Clients
// reach it through the SDK stand-in over TCP (--listen); a person drives it
// from the browser (--http); --data keeps its state.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include <CLI/CLI.hpp>
#include <cjson/cJSON.h>

#include "Endpoint.h"
#include "StateFolder.h"
#include "StopRequest.h"
#if VSTATION_HTTP
#include "Http/HttpServer.h"
#endif
#include "Link/LinkServer.h"
#include "VirtualStation/PersonControl.h"
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

namespace {

using vstation_tool::Endpoint;

bool readText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    *text = out.str();
    return true;
}

// Address and port of the profile's first station: the one this process serves.
bool servedStation(const std::string& profile, vstation::link::LinkServer::Options* station) {
    cJSON* root = cJSON_Parse(profile.c_str());
    const cJSON* first = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(root, "stations"), 0);
    const cJSON* address = cJSON_GetObjectItemCaseSensitive(first, "address");
    const cJSON* port = cJSON_GetObjectItemCaseSensitive(first, "port");
    const bool found = cJSON_IsString(address) && cJSON_IsNumber(port);
    if (found) {
        station->address = address->valuestring;
        station->port = static_cast<uint16_t>(port->valueint);
    }
    cJSON_Delete(root);
    return found;
}

void warnIfExposed(const char* what, const Endpoint& endpoint) {
    if (vstation::link::isLoopback(endpoint.host)) return;
    std::cerr << "vstation: warning: the " << what << " listens on " << endpoint.text()
              << ", beyond this machine; it changes the station and has no accounts of its own\n";
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Runs one virtual enrollment station as a process of its own."};
    std::string listenText = "127.0.0.1:8000";
    std::string profilePath;
    std::string dataPath;
    app.add_option("--listen", listenText, "HOST:PORT where clients reach the station (port 0: any free one)")
        ->capture_default_str();
#if VSTATION_HTTP
    std::string httpText;
    app.add_option("--http", httpText,
                   "HOST:PORT of the control page and its JSON API (port 0: any free one; without it no page)");
#endif
    app.add_option("--profile", profilePath, "profile file describing the station (default: the built-in one)");
    app.add_option("--data", dataPath,
                   "folder that keeps the station's state between runs (without it nothing is kept)");
    CLI11_PARSE(app, argc, argv);

    std::string why;
    Endpoint listen;
    if (!vstation_tool::parseEndpoint(listenText, &listen, &why)) {
        std::cerr << "vstation: --listen: " << why << "\n";
        return 2;
    }
#if VSTATION_HTTP
    Endpoint http;
    if (!httpText.empty() && !vstation_tool::parseEndpoint(httpText, &http, &why)) {
        std::cerr << "vstation: --http: " << why << "\n";
        return 2;
    }
#endif
    vstation_tool::StateFolder state;
    if (!dataPath.empty() && !state.open(dataPath, &why)) {
        std::cerr << "vstation: --data: " << why << "\n";
        return 2;
    }
    std::string profile = vstation::defaultProfile();
    if (state.savedProfile(&profile)) {
        profilePath = dataPath + "/profile.json";  // what an earlier run kept wins over --profile
    } else if (!profilePath.empty() && !readText(profilePath, &profile)) {
        std::cerr << "vstation: cannot read profile " << profilePath << "\n";
        return 2;
    }
    vstation::link::LinkServer::Options station;
    if (!vstation::loadProfile(profile, &why) || !servedStation(profile, &station)) {
        std::cerr << "vstation: profile " << (profilePath.empty() ? "(built-in)" : profilePath)
                  << " was not loaded: " << why << "\n";
        return 2;
    }
    if (state.isOpen()) {
        state.restoreFile(station.address, station.port);
        station.changed = [&state, &profile, &station] {
            if (!state.save(profile, station.address, station.port)) {
                std::cerr << "vstation: warning: the station's state could not be written to its folder\n";
            }
        };
        station.changed();
    }

    // A stop request is taken by waitForStop below, on this thread only.
    vstation_tool::catchStopRequests();

    vstation::link::Socket listener = vstation::link::listenOn(listen.host, listen.port, &why);
    if (!listener.valid()) {
        std::cerr << "vstation: " << why << "\n";
        return 1;
    }
    listen.port = vstation::link::localPort(listener);
    warnIfExposed("link", listen);

    NET_DVR_Init();
    vstation::link::LinkServer server(std::move(listener), station);
    std::thread serving([&server] { server.run(); });
    std::cout << "vstation: station " << station.address << ":" << station.port << " reached at " << listen.text()
              << std::endl;
#if VSTATION_HTTP
    // The page changes the station through the same control API as the link
    // does, and its changes are kept the same way.
    vstation_tool::ApiContext page;
    page.address = station.address;
    page.port = station.port;
    page.link = listen.text();
    page.dataPath = dataPath;
    page.changed = station.changed;
    vstation_tool::HttpServer pageServer(page);
    if (!httpText.empty()) {
        if (!pageServer.start(http.host, http.port, &why)) {
            std::cerr << "vstation: --http: " << why << "\n";
            server.stop();
            serving.join();
            NET_DVR_Cleanup();
            return 1;
        }
        http.port = pageServer.port();
        warnIfExposed("control page", http);
        std::cout << "vstation: control page at http://" << http.text() << "/" << std::endl;
    }
#endif

    vstation_tool::waitForStop();
    std::cout << "vstation: stopping" << std::endl;
#if VSTATION_HTTP
    pageServer.stop();
#endif
    // Requests that wait for a person go on without one, so that every
    // connection can end.
    vstation::setWaitForPerson(false);
    server.stop();
    serving.join();
    if (station.changed) station.changed();
    NET_DVR_Cleanup();
    return 0;
}
