// The room: shows what the host hands over and uses every script action.
// Its types are those of include/xloop/xloop_room.d.ts (docs/page-api.md).
"use strict";

// What the page has been given so far; tests read it too.
const room = {
  payload: /** @type {Partial<XLoopInitPayload>} */ ({}),
  preferences: /** @type {XLoopTexts} */ ({}),
  updates: /** @type {{ id: string, name: string, description: string }[]} */ ([]),
  visited: false,
};
Object.assign(window, { xloopRoom: room });

// The host hands objects over as percent-escaped object texts.
/** @param {string} escaped */
function decodeObject(escaped) {
  return JSON.parse(decodeURIComponent(escaped));
}

// A list of one entry arrives as a bare text.
/** @param {string | string[] | undefined} value */
function asList(value) {
  if (value === undefined) return [];
  return Array.isArray(value) ? value : [value];
}

/** @param {XLoopUpdateInfo} info */
function updatesFrom(info) {
  const names = asList(info.updateNames);
  const descriptions = asList(info.updateDescriptions);
  return asList(info.updateRefIds).map((id, i) => ({
    id, name: names[i] ?? "", description: descriptions[i] ?? "",
  }));
}

function fillTable(table, object) {
  table.replaceChildren(...Object.keys(object).sort().map((key) => {
    const row = document.createElement("tr");
    for (const text of [key, object[key]]) {
      const cell = row.insertCell();
      cell.textContent = text;
    }
    return row;
  }));
}

function showUpdates() {
  const viewed = room.preferences.lastViewedCardID;
  document.getElementById("updates").replaceChildren(...room.updates.map((update) => {
    const item = document.createElement("li");
    const name = document.createElement("strong");
    name.textContent = `${update.name} (${update.id})`;
    item.append(name, update.description);
    item.classList.toggle("viewed", update.id === viewed);
    item.addEventListener("click", () => viewCard(update.id));
    return item;
  }));
}

function showStatus() {
  const where = room.payload.product ? `${room.payload.product} ${room.payload.version}` : "the host";
  document.getElementById("status").textContent =
    `Room for ${where}` + (room.visited ? " — entered" : " — not entered yet");
}

function showAll() {
  const { preferences, updateInfo, ...handedOver } = room.payload;
  fillTable(document.getElementById("payload"), handedOver);
  fillTable(document.getElementById("preferences"), room.preferences);
  showUpdates();
  showStatus();
}

function log(msg) {
  return window.veq.invoke("writeLog", { msg: `xloop-room-demo: ${msg}` });
}

// Remembers what arrived, so whoever reads the preferences can check it.
function rememberWhatArrived() {
  const { preferences, updateInfo, ...handedOver } = room.payload;
  const received = { ...handedOver, updates: room.updates, preferenceKeys: Object.keys(room.preferences).sort() };
  return window.veq.invoke("writePreference", { key: "lastReceived", value: JSON.stringify(received) });
}

async function countVisit() {
  const reply = await window.veq.invoke("readPreference", { key: "visitCount", defaultValue: "0" });
  const count = Number(reply.visitCount) + 1;
  await window.veq.invoke("writePreference", { key: "visitCount", value: String(count) });
  room.preferences.visitCount = String(count);
  showAll();
}

async function viewCard(id) {
  await window.veq.invoke("writeLastViewedCardID", { key: "lastViewedCardID", value: id });
  room.preferences.lastViewedCardID = id;
  showAll();
}

// The four functions the module calls, typed as one object so that tsc
// reports any of them missing.
/** @type {XLoopRoomPage} */
const pageFunctions = {
  initXLoopRoom(escaped) {
    room.payload = decodeObject(escaped);
    room.preferences = room.payload.preferences ? decodeObject(room.payload.preferences) : {};
    if (room.payload.updateInfo) room.updates = updatesFrom(decodeObject(room.payload.updateInfo));
    showAll();
    Promise.all([rememberWhatArrived(), countVisit()]).then(() => log("room shown"));
  },
  setUpdateInfo(escaped) {
    room.updates = updatesFrom(decodeObject(escaped));
    showUpdates();
    log(`${room.updates.length} updates shown`);
  },
  // This page's own retry button found the room unreachable.
  onRetryComplete() {
    document.getElementById("retry-answer").textContent = "The room cannot be reached now. Try again later.";
    log("still offline");
  },
  xloopRoomVisited() {
    room.visited = true;
    showStatus();
    log("room entered");
  },
};
Object.assign(window, pageFunctions);

/** @param {string} id */
function input(id) {
  return /** @type {HTMLInputElement} */ (document.getElementById(id));
}

document.getElementById("preference-form").addEventListener("submit", (event) => {
  event.preventDefault();
  const key = input("preference-key").value;
  const value = input("preference-value").value;
  window.veq.invoke("writePreference", { key, value }).then(() => {
    room.preferences[key] = value;
    showAll();
  });
});

document.getElementById("read-preference").addEventListener("click", async () => {
  const key = input("preference-key").value;
  const reply = await window.veq.invoke("readPreference", { key });
  document.getElementById("preference-answer").textContent = `${key} = ${reply[key]}`;
});

document.getElementById("open-uri").addEventListener("click", () => {
  window.veq.invoke("openURI", { uri: location.href });
});

document.getElementById("retry").addEventListener("click", () => {
  document.getElementById("retry-answer").textContent = "Checking…";
  window.veq.invoke("retryGetOnline");
});
