#include "draw/watch_page.h"

#include "draw/svg_writer.h"

namespace scenario {
namespace {

// The page's script: an update event names the compile and the picture it
// shows; the page fetches only what changed and swaps it in, keeping its
// zoom and scroll, which live on the stage around the picture. The zoom
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
  if (picture !== null) { stage.innerHTML = picture; refit(); }
  view.classList.toggle('stale', ev.stale);
  note.textContent = ev.note;
  document.body.dataset.version = ev.version;
  document.body.dataset.picture = ev.picture;
  shown = {version: ev.version, picture: ev.picture};
}
const events = new EventSource('/events');
events.addEventListener('update', e => update(JSON.parse(e.data)));
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
