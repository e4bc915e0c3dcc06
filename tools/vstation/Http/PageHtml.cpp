// The control page's document, and where each of its files is served.
#include "Http/Api.h"

namespace vstation_tool {

extern const char* const kPageScript;
extern const char* const kPageStyle;

namespace {

const char* const kPageHtml = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Virtual station</title>
<link rel="stylesheet" href="/page.css">
</head>
<body>
<header>
  <h1>Virtual station <span id="station-name"></span></h1>
  <label class="switch"><input type="checkbox" id="wait-switch"> wait for a person</label>
  <div id="message" role="status"></div>
</header>
<main>
<section id="settings-section">
  <h2>Settings</h2>
  <dl id="settings"></dl>
</section>

<section id="person-section">
  <h2>At the station</h2>
  <div id="pending" class="pending">Nothing waits for a person.</div>
  <div class="actions">
    <form id="card-form">
      <h3>Card</h3>
      <input id="card-number" placeholder="card number" inputmode="numeric">
      <select id="card-type"><option>M1Card</option><option>EMCard</option><option>CPUCard</option><option>IDCard</option></select>
      <select id="card-person" class="person-choice"><option value="">or a person's card</option></select>
      <button id="card-present">Present card</button>
    </form>
    <form id="id-form">
      <h3>Identity card</h3>
      <input id="id-name" placeholder="name">
      <input id="id-number" placeholder="ID card number">
      <select id="id-person" class="person-choice"><option value="">or a person's card</option></select>
      <button id="id-lay">Lay identity card</button>
    </form>
    <form id="finger-form">
      <h3>Finger</h3>
      <select id="finger-person" class="person-choice"><option value="">a new finger</option></select>
      <label>quality <input id="finger-quality" type="number" min="0" max="100" value="80"></label>
      <button id="finger-place">Place finger</button>
    </form>
    <form id="face-form">
      <h3>Face</h3>
      <select id="face-person" class="person-choice"><option value="">the station's sample</option></select>
      <input id="face-photo" type="file" accept="image/png,image/jpeg">
      <button id="face-stand">Stand before camera</button>
    </form>
  </div>
</section>

<section id="gallery-section">
  <h2>Offline store <span id="person-count"></span></h2>
  <div id="gallery" class="gallery"></div>
  <form id="person-form" class="person-form">
    <h3 id="person-form-title">Add a person</h3>
    <input type="hidden" id="person-capture-no">
    <input id="person-name" placeholder="name" required>
    <input id="person-employee" placeholder="employee number">
    <input id="person-idcard" placeholder="ID card number">
    <input id="person-cards" placeholder="card numbers, comma separated">
    <label>photo <input id="person-photo" type="file" accept="image/png,image/jpeg"></label>
    <button id="person-save">Add person</button>
    <button id="person-cancel" type="button" hidden>Cancel</button>
  </form>
</section>

<section id="faults-section">
  <h2>Faults</h2>
  <form id="fault-form">
    <select id="fault-kind">
      <option value="silent">silent</option>
      <option value="late">late reply</option>
      <option value="error">error code</option>
      <option value="malformed">malformed reply</option>
      <option value="drop">connection dropped mid-search</option>
      <option value="close-fails">close that fails</option>
    </select>
    <label data-for="silent late malformed">on <select id="fault-target"></select></label>
    <label data-for="error">call <input id="fault-call" value="NET_DVR_STDXMLConfig"></label>
    <label data-for="error close-fails">error <input id="fault-error" type="number" min="1" value="10"></label>
    <label data-for="late">delay ms <input id="fault-delay" type="number" min="1" value="5000"></label>
    <label data-for="drop">after records <input id="fault-after" type="number" min="0" value="1"></label>
    <label>wear off after <input id="fault-times" type="number" min="1" max="1000" value="1"> calls</label>
    <button id="fault-arm">Switch on</button>
    <button id="fault-clear" type="button">Clear all faults</button>
  </form>
  <ul id="faults-armed"></ul>
</section>

<section id="log-section">
  <h2>Calls received <button id="log-clear" type="button">Clear</button></h2>
  <table id="log"><thead><tr><th>#</th><th>call</th><th>arguments</th><th>text</th></tr></thead><tbody></tbody></table>
</section>
</main>
<script src="/page.js"></script>
</body>
</html>
)html";

}  // namespace

bool pageFile(const std::string& path, ApiResponse* response) {
    if (path == "/") {
        response->contentType = "text/html; charset=utf-8";
        response->body = kPageHtml;
    } else if (path == "/page.js") {
        response->contentType = "text/javascript; charset=utf-8";
        response->body = kPageScript;
    } else if (path == "/page.css") {
        response->contentType = "text/css; charset=utf-8";
        response->body = kPageStyle;
    } else {
        return false;
    }
    return true;
}

}  // namespace vstation_tool
