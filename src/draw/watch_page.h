// The page that watch serves: the current picture inline as SVG and the
// current diagnostics, kept up to date by server-sent events without a
// reload, fitted to the window's width, with zoom (wheel and buttons), pan,
// tooltips and a mark on a picture that an edit with errors has left out of
// date.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/diagnostic.h"
#include "draw/route_picture.h"
#include "platform/page_server.h"
#include "run/compile.h"

namespace scenario {

// What the page shows after one compile.
struct watch_view {
  std::string title;                    // "Valle_linea.txt and Valle_12-.txt"
  std::uint64_t version = 0;            // counts the compiles
  std::uint64_t picture_version = 0;    // the compile the picture comes from; 0: none yet
  std::string svg;                      // the picture, or empty
  bool out_of_date = false;             // the last compile had errors: svg is older or partial
  bool good_before = false;             // a compile without errors has been drawn
  std::string status;                   // "compiled at 12:00:01 in 14 ms: 1 error"
  std::vector<diagnostic> diagnostics;  // of the last compile, in order
};

// The local time of day, "12:00:01", as the status line tells it.
std::string time_of_day();

// Records one compile in v as the page shows it: a new version; the picture
// drawn with options when the compile is good, or when it is the first to
// make a grid (an edit with errors keeps the last good picture); the
// diagnostics found; the status line, with the time of day clock and the
// milliseconds from start to the picture drawn.
void record_compile(watch_view& v, const compile_result& r, bool good,
                    std::vector<diagnostic> found, const std::string& clock,
                    std::chrono::steady_clock::time_point start, const picture_options& options);

// The files a page server serves for v: the page, the picture and the
// diagnostics.
std::vector<served_file> watch_files(const watch_view& v);

// What the page says over a picture that the last compile did not make good:
// out of date when a good picture was shown before, else that there is none
// yet (what a first compile with errors could draw is shown greyed). Empty
// when the picture is current.
std::string_view picture_note(const watch_view& v);

// The diagnostics block: the status line and every diagnostic as the
// terminal shows it, with its source line and caret.
std::string diagnostics_html(const watch_view& v);

// The whole page, picture and diagnostics inline.
std::string watch_page_html(const watch_view& v);

// The data line of the event that tells an open page of v.
std::string watch_event(const watch_view& v);

}  // namespace scenario
