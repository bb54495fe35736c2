// The window display of an interactive run on an X display: the progress
// window and a modal message box, drawn with the FLTK toolkit. A module of
// its own (platform/modules.h).
#include "platform/module_entries.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/window_layout.h"

namespace scenario {
namespace {

// The title of both windows: the program's name.
constexpr const char* k_title = "scenario_gen";
// The X class of each window, so that a session (or a test) can tell them apart.
constexpr const char* k_progress_class = "scenario_gen";
constexpr const char* k_message_class = "scenario_gen_message";

// The label's face: bold sans-serif. Liberation Sans is free and has the
// glyph widths of the most widespread proprietary sans-serif face, so the
// text keeps the size the layout was drawn for; where it is not installed,
// the font configuration picks the nearest sans-serif face it has.
constexpr Fl_Font k_label_font = FL_FREE_FONT;
constexpr const char* k_label_face = "BLiberation Sans";  // "B": bold

// The message box, in pixels.
constexpr int k_message_font_pixels = 14;  // the toolkit's usual text size
constexpr int k_margin = 12;
constexpr int k_button_width = 75;
constexpr int k_button_height = 23;
constexpr int k_message_min_width = 160;

// How long show_progress waits for the window system to expose the window.
constexpr auto k_expose_timeout = std::chrono::seconds(5);

// The toolkit draws '@' as the start of a symbol; "@@" is a plain '@'.
std::string plain_label(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}

// A window that remembers that it has been drawn on screen.
class painted_window : public Fl_Window {
 public:
  painted_window(int w, int h, const char* title) : Fl_Window(w, h, title) {}
  bool painted() const { return painted_; }

 protected:
  void draw() override {
    Fl_Window::draw();
    painted_ = true;
  }

 private:
  bool painted_ = false;
};

// A label whose text starts at its own top-left corner and is clipped to it,
// without the toolkit's usual inner margin.
class flush_label : public Fl_Box {
 public:
  flush_label(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {}

 protected:
  void draw() override {
    draw_box();
    draw_label(x(), y(), w(), h(), align());
  }
};

// The box's one button, "OK": a click, Space when it has the focus, or Enter
// anywhere in the box presses it.
class ok_button : public Fl_Button {
 public:
  ok_button(int x, int y, int w, int h) : Fl_Button(x, y, w, h, "OK") {}

  int handle(int event) override {
    if (event == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
      do_callback();
      return 1;
    }
    return Fl_Button::handle(event);
  }
};

// Shows w and returns once it has been drawn and the X server has the
// drawing, or after k_expose_timeout when the window system never exposes it.
void show_and_paint(painted_window& w) {
  w.show();
  const auto deadline = std::chrono::steady_clock::now() + k_expose_timeout;
  while (!w.painted() && std::chrono::steady_clock::now() < deadline) Fl::wait(0.05);
  Fl::flush();
  XSync(fl_display, False);
}

// TEST HOOK, the only one: SCENARIO_TEST_HOLD_WINDOW_MS keeps the painted
// progress window up for that many milliseconds (60000 at most) before the
// work starts, so that a test can take a screenshot of it. A normal run never
// sets it, and no other code reads it.
void hold_for_test() {
  const char* value = std::getenv("SCENARIO_TEST_HOLD_WINDOW_MS");
  if (value == nullptr) return;
  const long ms = std::clamp(std::strtol(value, nullptr, 10), 0L, 60000L);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class window_display final : public display {
 public:
  explicit window_display(const progress_layout& layout) : layout_(layout) {}
  ~window_display() override {
    if (progress_) {
      progress_->hide();
      Fl::flush();
    }
  }

  void show_progress(std::string_view label) override {
    const progress_layout& l = layout_;
    progress_ = std::make_unique<painted_window>(l.client_width, l.client_height, k_title);
    auto* text = new flush_label(l.label.left, l.label.top, l.label.width, l.label.height);
    text->copy_label(plain_label(label).c_str());
    text->box(FL_NO_BOX);
    text->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_CLIP);
    text->labelfont(k_label_font);
    text->labelsize(l.label_font_pixels);
    text->labelcolor(FL_BLACK);
    progress_->end();
    progress_->xclass(k_progress_class);
    show_and_paint(*progress_);
    hold_for_test();
  }

  void message_box(std::string_view text) override {
    const std::string label = plain_label(text);
    fl_font(FL_HELVETICA, k_message_font_pixels);
    int text_w = 0;
    int text_h = 0;
    fl_measure(label.c_str(), text_w, text_h, 0);
    const int w =
        std::max({text_w + 2 * k_margin, k_button_width + 2 * k_margin, k_message_min_width});
    const int h = k_margin + text_h + k_margin + k_button_height + k_margin;

    painted_window box(w, h, k_title);
    flush_label message(k_margin, k_margin, w - 2 * k_margin, text_h);
    message.copy_label(label.c_str());
    message.align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_CLIP);
    message.labelfont(FL_HELVETICA);
    message.labelsize(k_message_font_pixels);
    ok_button ok((w - k_button_width) / 2, h - k_margin - k_button_height, k_button_width,
                 k_button_height);
    ok.callback([](Fl_Widget* button, void*) { button->window()->hide(); });
    // The widgets, declared after the box, leave it as they are destroyed.
    box.end();
    box.set_modal();
    box.xclass(k_message_class);
    show_and_paint(box);
    // Closing the box any other way (Escape, the close button) answers it too.
    while (box.shown()) Fl::wait();
    Fl::flush();
  }

 private:
  progress_layout layout_;
  std::unique_ptr<painted_window> progress_;
};

}  // namespace
}  // namespace scenario

scenario::display* scenario_open_window_display(const scenario::progress_layout* layout) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return nullptr;
  Display* d = XOpenDisplay(name);
  if (d == nullptr) return nullptr;
  fl_open_display(d);
  Fl::set_font(scenario::k_label_font, scenario::k_label_face);
  // Nothing is thrown to the program, which has a runtime of its own.
  try {
    return new scenario::window_display(*layout);
  } catch (...) {
    return nullptr;
  }
}
