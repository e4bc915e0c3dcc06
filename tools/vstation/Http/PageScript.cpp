// The control page's script: it speaks the JSON API only, polls the waiting
// requests and the call log, and fetches nothing from elsewhere.
namespace vstation_tool {

extern const char* const kPageScript;

const char* const kPageScript = R"js("use strict";
const $ = (id) => document.getElementById(id);
let persons = [];
let logNext = 0;

function say(text, failed) {
  const box = $("message");
  box.textContent = text;
  box.className = failed ? "failed" : "done";
}

async function api(method, path, body) {
  const options = { method, headers: {} };
  if (body !== undefined) {
    options.headers["Content-Type"] = "application/json";
    options.body = JSON.stringify(body);
  }
  const response = await fetch(path, options);
  const answer = await response.json();
  if (!response.ok) throw new Error(answer.error || ("HTTP " + response.status));
  return answer;
}

// Runs an action of the page and says how it went; `then` first shows what
// the action changed.
async function act(what, method, path, body, then) {
  try {
    const answer = await api(method, path, body);
    if (then) await then();
    say(what);
    return answer;
  } catch (e) {
    say(what + " failed: " + e.message, true);
    return null;
  }
}

function readBase64(file) {
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => resolve(String(reader.result).replace(/^data:[^,]*,/, ""));
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(file);
  });
}

function element(tag, text, className) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  if (className) e.className = className;
  return e;
}

// ---- settings ------------------------------------------------------------
function describe(value) {
  if (Array.isArray(value)) return value.map(describe).join("; ");
  if (value && typeof value === "object") {
    return Object.entries(value).map(([k, v]) => k + ": " + describe(v)).join(", ");
  }
  return String(value);
}

async function loadStation() {
  const station = await api("GET", "/api/station");
  $("station-name").textContent = station.address + ":" + station.port + " at " + station.link;
  $("wait-switch").checked = station.waitForPerson;
  const list = $("settings");
  list.replaceChildren();
  const rows = [
    ["state kept in", station.data === null ? "nothing (no --data)" : station.data],
    ["pacing", station.pacing ? "on" : "off"],
    ["stored persons", station.storedRecords],
    ["open handles", describe(station.openHandles)],
  ];
  for (const [key, value] of Object.entries(station.settings)) rows.push([key, describe(value)]);
  for (const [key, value] of rows) {
    list.append(element("dt", key), element("dd", String(value)));
  }
  // A client may have emptied the store (or the page in another tab changed it).
  if (station.storedRecords !== persons.length) await loadPersons();
}

// ---- the person at the station -------------------------------------------
const actionWords = { card: "a card", identityCard: "an identity card", finger: "a finger", face: "a face" };

async function loadPending() {
  const person = await api("GET", "/api/person");
  $("wait-switch").checked = person.waitForPerson;
  const box = $("pending");
  box.replaceChildren();
  if (person.pending.length === 0) {
    box.textContent = person.waitForPerson ? "Nothing waits for a person." :
      "The station does not wait: requests take what a person gave, else its samples.";
    box.classList.remove("waiting");
    return;
  }
  box.classList.add("waiting");
  for (const request of person.pending) {
    const what = actionWords[request.action] + (request.action === "finger" ? " (finger " + request.finger + ")" : "");
    box.append(element("div", "A client waits for " + what + " since " + (request.waitingMs / 1000).toFixed(1) + " s",
                       "pending-request " + request.action));
  }
}

function personChoice(id) {
  const value = $(id).value;
  return value === "" ? null : Number(value);
}

$("wait-switch").addEventListener("change", async (event) => {
  await act(event.target.checked ? "The station waits for a person" : "The station no longer waits",
            "PUT", "/api/person/wait", { on: event.target.checked });
  loadPending();
});

$("card-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const captureNo = personChoice("card-person");
  const body = captureNo === null ? { cardNo: $("card-number").value.trim(), cardType: $("card-type").value }
                                  : { captureNo, cardType: $("card-type").value };
  await act("Card presented", "POST", "/api/person/card", body);
  loadPending();
});

$("id-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const captureNo = personChoice("id-person");
  const body = captureNo === null
    ? { identityInfo: { enName: $("id-name").value, IDCardNo: $("id-number").value, certificateType: "identityCard" } }
    : { captureNo };
  await act("Identity card laid on the reader", "POST", "/api/person/identity-card", body);
  loadPending();
});

$("finger-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const body = { quality: Number($("finger-quality").value) };
  const captureNo = personChoice("finger-person");
  if (captureNo !== null) body.captureNo = captureNo;
  await act("Finger placed", "POST", "/api/person/finger", body);
  loadPending();
});

$("face-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const body = {};
  const captureNo = personChoice("face-person");
  const file = $("face-photo").files[0];
  if (captureNo !== null) body.captureNo = captureNo;
  else if (file) body.picture = await readBase64(file);
  await act("Standing before the camera", "POST", "/api/person/face", body);
  loadPending();
});

// ---- the gallery ---------------------------------------------------------
function fillPersonChoices() {
  for (const select of document.querySelectorAll(".person-choice")) {
    const kept = select.value;
    while (select.options.length > 1) select.remove(1);
    for (const person of persons) {
      select.add(new Option(person.name + " (" + person.captureNo + ")", person.captureNo));
    }
    select.value = kept;
  }
}

function personCard(person) {
  const card = element("figure", undefined, "person");
  card.dataset.captureNo = person.captureNo;
  const picture = element("img");
  picture.alt = person.name;
  if (person.facePicture) picture.src = person.facePicture + "?v=" + Date.now();
  else picture.classList.add("none");
  const caption = element("figcaption");
  caption.append(element("strong", person.name || "(no name)", "person-name"),
                 element("span", "No. " + person.captureNo + (person.employeeNo ? " · " + person.employeeNo : "")),
                 element("span", person.cardNoList.length ? "cards " + person.cardNoList.join(", ") : "no card"),
                 element("span", person.fingerprints.length + " fingerprint(s)"));
  const edit = element("button", "Edit", "person-edit");
  edit.type = "button";
  edit.addEventListener("click", () => editPerson(person));
  const remove = element("button", "Remove", "person-remove");
  remove.type = "button";
  remove.addEventListener("click", async () => {
    if (!window.confirm("Remove " + person.name + "?")) return;
    await act("Removed " + person.name, "DELETE", "/api/persons/" + person.captureNo);
    loadPersons();
  });
  caption.append(edit, remove);
  card.append(picture, caption);
  return card;
}

async function loadPersons() {
  persons = await api("GET", "/api/persons");
  $("person-count").textContent = "(" + persons.length + ")";
  $("gallery").replaceChildren(...persons.map(personCard));
  fillPersonChoices();
}

function editPerson(person) {
  $("person-form-title").textContent = "Edit " + person.name;
  $("person-capture-no").value = person.captureNo;
  $("person-name").value = person.name;
  $("person-employee").value = person.employeeNo;
  $("person-idcard").value = person.IDCardNo;
  $("person-cards").value = person.cardNoList.join(", ");
  $("person-save").textContent = "Save";
  $("person-cancel").hidden = false;
}

function resetPersonForm() {
  $("person-form").reset();
  $("person-capture-no").value = "";
  $("person-form-title").textContent = "Add a person";
  $("person-save").textContent = "Add person";
  $("person-cancel").hidden = true;
}

$("person-cancel").addEventListener("click", resetPersonForm);

$("person-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const body = {
    name: $("person-name").value.trim(),
    employeeNo: $("person-employee").value.trim(),
    IDCardNo: $("person-idcard").value.trim(),
    cardNoList: $("person-cards").value.split(",").map((s) => s.trim()).filter((s) => s !== ""),
  };
  const file = $("person-photo").files[0];
  if (file) body.facePicture = await readBase64(file);
  const captureNo = $("person-capture-no").value;
  const done = captureNo === ""
    ? await act("Added " + body.name, "POST", "/api/persons", body)
    : await act("Saved " + body.name, "PUT", "/api/persons/" + captureNo, body);
  if (done) resetPersonForm();
  loadPersons();
});

// ---- faults --------------------------------------------------------------
const faultTargets = { silent: ["finger", "face", "search"], late: ["finger", "face"], malformed: ["config", "search"] };

function showFaultFields() {
  const kind = $("fault-kind").value;
  for (const label of document.querySelectorAll("#fault-form label[data-for]")) {
    label.hidden = !label.dataset.for.split(" ").includes(kind);
  }
  const target = $("fault-target");
  target.replaceChildren(...(faultTargets[kind] || []).map((t) => new Option(t, t)));
}

$("fault-kind").addEventListener("change", showFaultFields);

$("fault-form").addEventListener("submit", async (event) => {
  event.preventDefault();
  const kind = $("fault-kind").value;
  const body = { kind, times: Number($("fault-times").value) };
  if (faultTargets[kind]) body.target = $("fault-target").value;
  if (kind === "error") body.call = $("fault-call").value.trim();
  if (kind === "error" || kind === "close-fails") body.error = Number($("fault-error").value);
  if (kind === "late") body.delayMs = Number($("fault-delay").value);
  if (kind === "drop") body.afterRecords = Number($("fault-after").value);
  const text = $("fault-kind").selectedOptions[0].textContent + (body.target ? " on " + body.target : "") +
               (body.call ? " on " + body.call : "") + (body.error ? ", error " + body.error : "") +
               ", for the next " + body.times + " call(s)";
  await act("Switched on: " + text, "POST", "/api/faults", body, loadFaults);
});

$("fault-clear").addEventListener("click", async () => {
  await act("Every fault is off", "DELETE", "/api/faults", undefined, loadFaults);
});

// The station's own list: faults switched on by any client show, used-up ones go.
async function loadFaults() {
  const answer = await api("GET", "/api/faults");
  $("faults-armed").replaceChildren(...answer.faults.map((fault) => element("li", fault.text)));
}

// ---- the call log --------------------------------------------------------
const logLimit = 300;

async function loadLog() {
  const log = await api("GET", "/api/log?since=" + logNext);
  const body = $("log").tBodies[0];
  if (log.restarted) body.replaceChildren();
  logNext = log.next;
  for (const call of log.calls) {
    const row = element("tr");
    row.append(element("td", call.position), element("td", call.call), element("td", call.args.join(", ")),
               element("td", call.text));
    body.prepend(row);
  }
  while (body.rows.length > logLimit) body.deleteRow(body.rows.length - 1);
}

$("log-clear").addEventListener("click", async () => {
  await act("The call log is empty", "DELETE", "/api/log");
  $("log").tBodies[0].replaceChildren();
  logNext = 0;
});

// ---- polling -------------------------------------------------------------
async function poll(what, everyMs) {
  try {
    await what();
  } catch (e) {
    say("The station does not answer: " + e.message, true);
  }
  setTimeout(() => poll(what, everyMs), everyMs);
}

showFaultFields();
loadPersons().catch((e) => say(e.message, true));
poll(loadStation, 3000);
poll(loadPending, 500);
poll(loadLog, 1000);
poll(loadFaults, 1000);
)js";

}  // namespace vstation_tool
