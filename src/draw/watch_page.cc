#include "draw/watch_page.h"

#include <ctime>

#include "draw/svg_writer.h"
#include "model/plan_runs.h"

namespace scenario {
namespace {

// The page's script: an update event names the compile and the picture it
// shows; the page fetches only what changed and swaps it in, keeping its
// zoom and scroll, which live on the stage around the picture. An object
// that names its record (a picture drawn for an editor) is clickable: the
// page tells the server (POST /select), which has the editor show the
// record; a mark event names the record whose objects the page marks (the
// one under the editor's cursor). A drag is no click. The zoom
// starts at the picture's width fitted to the window's and follows the
// window's width: a resize scales the zoom and the pan alike.
constexpr const char* k_script = R"(
const view = document.getElementById('view');
const stage = document.getElementById('stage');
const tip = document.getElementById('tip');
const note = document.getElementById('stale-note');
let shown = {version: +document.body.dataset.version, picture: +document.body.dataset.picture};
function fitted() {
  const svg = stage.querySelector('svg');
  const width = svg ? parseFloat(svg.getAttribute('width')) : 0;
  return width > 0 && view.clientWidth > 0 ? view.clientWidth / width : 1;
}
let fit = fitted(), zoom = fit, panX = 0, panY = 0;
function place() { stage.style.transform = `translate(${panX}px, ${panY}px) scale(${zoom})`; }
function refit() {
  const next = fitted();
  if (next === fit) return;
  zoom *= next / fit; panX *= next / fit; panY *= next / fit;
  fit = next;
  place();
}
function zoomAt(factor, cx, cy) {
  const next = Math.min(40 * fit, Math.max(0.1 * fit, zoom * factor));
  panX = cx - (cx - panX) * next / zoom;
  panY = cy - (cy - panY) * next / zoom;
  zoom = next;
  place();
}
view.addEventListener('wheel', e => {
  e.preventDefault();
  const r = view.getBoundingClientRect();
  zoomAt(Math.exp(-e.deltaY / 400), e.clientX - r.left, e.clientY - r.top);
}, {passive: false});
document.getElementById('zoom-in').onclick = () => zoomAt(1.25, view.clientWidth / 2, view.clientHeight / 2);
document.getElementById('zoom-out').onclick = () => zoomAt(0.8, view.clientWidth / 2, view.clientHeight / 2);
document.getElementById('zoom-reset').onclick = () => { zoom = fit; panX = 0; panY = 0; place(); };
new ResizeObserver(refit).observe(view);
let drag = null;
view.addEventListener('mousedown', e => { drag = {x: e.clientX - panX, y: e.clientY - panY}; view.classList.add('dragging'); });
window.addEventListener('mouseup', () => { drag = null; view.classList.remove('dragging'); });
window.addEventListener('mousemove', e => {
  if (drag) { panX = e.clientX - drag.x; panY = e.clientY - drag.y; place(); tip.hidden = true; return; }
  const g = e.target.closest && e.target.closest('g');
  const t = g && Array.from(g.children).find(c => c.tagName === 'title');
  if (!t || !stage.contains(g)) { tip.hidden = true; return; }
  tip.textContent = t.textContent;
  tip.style.left = (e.clientX + 14) + 'px';
  tip.style.top = (e.clientY + 14) + 'px';
  tip.hidden = false;
});
async function update(ev) {
  if (ev.version === shown.version) return;
  const text = path => fetch(path, {cache: 'no-store'}).then(r => r.text());
  const [diagnostics, picture] = await Promise.all(
      [text('/diagnostics.html'), ev.picture !== shown.picture ? text('/picture.svg') : null]);
  document.getElementById('diagnostics').innerHTML = diagnostics;
  if (picture !== null) { stage.innerHTML = picture; refit(); showMark(); }
  view.classList.toggle('stale', ev.stale);
  note.textContent = ev.note;
  document.body.dataset.version = ev.version;
  document.body.dataset.picture = ev.picture;
  shown = {version: ev.version, picture: ev.picture};
}
let pressed = null, marked = '';
view.addEventListener('mousedown', e => { pressed = {x: e.clientX, y: e.clientY}; });
view.addEventListener('click', e => {
  if (pressed && Math.hypot(e.clientX - pressed.x, e.clientY - pressed.y) > 4) return;
  const g = e.target.closest && e.target.closest('g[data-record]');
  if (!g || !stage.contains(g)) return;
  fetch('/select', {method: 'POST', headers: {'Content-Type': 'application/json'},
                    body: JSON.stringify({record: g.dataset.record})}).catch(() => {});
});
function showMark() {
  for (const g of stage.querySelectorAll('g.marked')) g.classList.remove('marked');
  if (marked)
    for (const g of stage.querySelectorAll(`g[data-record="${CSS.escape(marked)}"]`)) g.classList.add('marked');
}
const events = new EventSource('/events');
events.addEventListener('update', e => update(JSON.parse(e.data)));
events.addEventListener('mark', e => { marked = JSON.parse(e.data).record || ''; showMark(); });
events.onerror = () => {
  document.body.classList.add('disconnected');
  // Closed for good only when the server refused the stream: it follows as
  // many pages as it keeps.
  if (events.readyState !== EventSource.CLOSED || document.getElementById('events-note')) return;
  const why = document.createElement('span');
  why.id = 'events-note';
  why.textContent = 'this page no longer follows the saves: the server follows too many pages; close some and reload this one';
  document.querySelector('header').append(why);
};
events.onopen = () => document.body.classList.remove('disconnected');
place();
)";

// The picture takes what the header and the diagnostics leave; the
// diagnostics take only the room they need, up to a third of the window.
constexpr const char* k_style = R"(
body { margin: 0; height: 100vh; display: flex; flex-direction: column; overflow: hidden; font-family: DejaVu Sans, Verdana, Arial, sans-serif; background: #eceff1; }
header { flex: none; display: flex; align-items: center; gap: 8px; padding: 4px 12px; background: #263238; color: white; font-size: 13px; }
header h1 { font-size: 15px; margin: 0 12px 0 0; font-weight: normal; }
header button { font-size: 13px; min-width: 30px; }
#view { flex: 1 1 0; min-height: 0; position: relative; overflow: hidden; background: white; border: 3px solid transparent; cursor: grab; }
#view.dragging { cursor: grabbing; }
#stage { transform-origin: 0 0; }
#stage svg { display: block; }
#stale-note { display: none; position: absolute; top: 8px; right: 8px; z-index: 2; padding: 6px 10px; background: #c62828; color: white; font-weight: bold; }
#view.stale { border-color: #c62828; }
#view.stale #stage { opacity: 0.45; filter: grayscale(0.8); }
#view.stale #stale-note { display: block; }
#diagnostics { flex: none; max-height: 33vh; overflow: auto; padding: 2px 12px; }
#diagnostics .status { margin: 4px 0; font-weight: bold; }
#diagnostics pre { margin: 4px 0; padding: 4px 8px; background: white; border-left: 4px solid #90a4ae; white-space: pre-wrap; }
#diagnostics pre.error { border-color: #c62828; }
#diagnostics pre.warning { border-color: #f9a825; }
#stage g[data-record] { cursor: pointer; }
#stage g.marked { filter: drop-shadow(0 0 2px #e91e63) drop-shadow(0 0 4px #e91e63); }
#tip { position: fixed; z-index: 3; max-width: 520px; padding: 4px 8px; background: #fffde7; border: 1px solid #999; font-size: 12px; white-space: pre-line; pointer-events: none; }
body.disconnected header { background: #616161; }
)";

}  // namespace

std::string_view picture_note(const watch_view& v) {
  if (!v.out_of_date) return {};
  return v.good_before ? "out of date: the last save has errors (below)"
                       : "no picture yet: the first compile has errors (below)";
}

std::string diagnostics_html(const watch_view& v) {
  std::string out = "<p class=\"status\">" + xml_escape(v.status) + "</p>\n";
  for (const diagnostic& d : v.diagnostics)
    out += "<pre class=\"" + std::string(severity_name(d.level)) + "\">" +
           xml_escape(format_diagnostic(d)) + "</pre>\n";
  return out;
}

std::string watch_page_html(const watch_view& v) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      xml_escape(v.title) + "</title>\n<style>" + k_style +
      "</style>\n</head>\n<body data-version=\"" + std::to_string(v.version) +
      "\" data-picture=\"" + std::to_string(v.picture_version) + "\">\n<header><h1>" +
      xml_escape(v.title) +
      "</h1><button id=\"zoom-in\" title=\"zoom in\">+</button><button id=\"zoom-out\" "
      "title=\"zoom out\">&#x2212;</button><button id=\"zoom-reset\" title=\"the "
      "picture's width fitted to the window's\">fit</button><span>wheel to zoom, drag to pan, "
      "point at an object for what it "
      "is</span></header>\n<div id=\"view\"" +
      std::string(v.out_of_date ? " class=\"stale\"" : "") + "><div id=\"stale-note\">" +
      xml_escape(picture_note(v)) + "</div><div id=\"stage\">";
  // The picture's own XML declaration has no place inside the page.
  const std::string_view svg = v.svg;
  const auto start = svg.find("<svg");
  page += start == std::string_view::npos ? std::string("<p>nothing to draw yet</p>")
                                          : std::string(svg.substr(start));
  page += "</div></div>\n<div id=\"diagnostics\">" + diagnostics_html(v) +
          "</div>\n<div id=\"tip\" hidden></div>\n<script>" + k_script +
          "</script>\n</body>\n</html>\n";
  return page;
}

std::string time_of_day() {
  const std::time_t t = std::time(nullptr);
  std::tm local = {};
  localtime_r(&t, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%H:%M:%S", &local);
  return buf;
}

void record_compile(watch_view& v, const compile_result& r, bool good,
                    std::vector<diagnostic> found, const std::string& clock,
                    std::chrono::steady_clock::time_point start, const picture_options& options) {
  ++v.version;
  if (good || (v.picture_version == 0 && r.has_grid())) {
    const route_picture pic =
        draw_route(r.st.percorso, r.st.stazioni, plan_table(r.st.profilo), options);
    v.svg = pic.svg.substr(pic.svg.find("<svg"));
    v.picture_version = v.version;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  std::size_t errors = 0, warnings = 0;
  for (const diagnostic& d : found) {
    errors += d.level == severity::error;
    warnings += d.level == severity::warning;
  }
  v.out_of_date = !good;
  v.good_before = v.good_before || good;
  v.diagnostics = std::move(found);
  v.status = "compiled at " + clock + " in " + std::to_string(ms) +
             " ms: " + std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
             std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings") +
             (good            ? ""
              : v.good_before ? "; the picture is out of date"
                              : "; no picture yet: the first compile has errors");
}

std::vector<served_file> watch_files(const watch_view& v) {
  return {{"/", "text/html; charset=utf-8", watch_page_html(v)},
          {"/picture.svg", "image/svg+xml", v.svg},
          {"/diagnostics.html", "text/html; charset=utf-8", diagnostics_html(v)}};
}

// The note is one of picture_note's fixed words: nothing in it needs escaping.
std::string watch_event(const watch_view& v) {
  std::size_t errors = 0;
  std::size_t warnings = 0;
  for (const diagnostic& d : v.diagnostics) {
    errors += d.level == severity::error;
    warnings += d.level == severity::warning;
  }
  return "{\"version\":" + std::to_string(v.version) +
         ",\"picture\":" + std::to_string(v.picture_version) +
         ",\"stale\":" + (v.out_of_date ? "true" : "false") + ",\"note\":\"" +
         std::string(picture_note(v)) + "\"" + ",\"errors\":" + std::to_string(errors) +
         ",\"warnings\":" + std::to_string(warnings) + "}";
}

}  // namespace scenario
