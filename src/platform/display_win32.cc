// The displays of platform/display.h on Windows: the progress window and the
// message box are native (a window class of the program's own with a static
// label, and MessageBoxW); the terminal display writes to the console.
#include "platform/display.h"

#include <windows.h>

#include <chrono>
#include <ostream>
#include <string>

#include "platform/wide_text.h"
#include "platform/window_layout.h"

namespace scenario {
namespace {

// The title of both windows: the program's name.
constexpr const wchar_t* k_title = L"scenario_gen";
constexpr const wchar_t* k_window_class = L"scenario_gen_progress";
constexpr const wchar_t* k_label_face = L"MS Sans Serif";
constexpr int k_label_weight = FW_BOLD;
constexpr DWORD k_window_style = WS_OVERLAPPEDWINDOW;
// How long show_progress lets the window system put the window on screen.
constexpr auto k_expose_wait = std::chrono::milliseconds(1000);

// Set once a message box has told the person why the run ends: its failure
// is not told again.
bool g_box_shown = false;

// True when what the program writes on its standard error reaches nobody:
// no handle, or a console the program has let go (a double-click).
bool nobody_reads_stderr() {
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return true;
  DWORD mode = 0;
  if (::GetConsoleMode(err, &mode)) return false;
  return ::GetConsoleWindow() == nullptr && ::GetFileType(err) == FILE_TYPE_UNKNOWN;
}

LRESULT CALLBACK progress_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // The run never asks the window to close: closing it would end nothing.
  if (message == WM_CLOSE) return 0;
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_class() {
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = progress_procedure;
  c.hInstance = ::GetModuleHandleW(nullptr);
  c.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = k_window_class;
  return ::RegisterClassExW(&c) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The pixels per inch of the screen as this program sees it.
int screen_dpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : k_layout_dpi;
}

class window_display final : public display {
 public:
  window_display(std::ostream& err, bool show_label) : err_(err), show_label_(show_label) {}
  ~window_display() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
    if (font_ != nullptr) ::DeleteObject(font_);
  }
  window_display(const window_display&) = delete;
  window_display& operator=(const window_display&) = delete;

  // Opens the progress window; false when the session has no window system.
  bool open() {
    if (!register_class()) return false;
    const progress_layout l = progress_window_layout(screen_dpi());
    RECT frame{0, 0, l.client_width, l.client_height};
    ::AdjustWindowRectEx(&frame, k_window_style, FALSE, 0);
    window_ = ::CreateWindowExW(0, k_window_class, k_title, k_window_style, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return false;
    label_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                               l.label.left, l.label.top, l.label.width, l.label.height, window_,
                               nullptr, ::GetModuleHandleW(nullptr), nullptr);
    font_ = ::CreateFontW(-l.label_font_pixels, 0, 0, 0, k_label_weight, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          VARIABLE_PITCH | FF_SWISS, k_label_face);
    if (label_ != nullptr && font_ != nullptr)
      ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return label_ != nullptr;
  }

  void show_progress(std::string_view label) override {
    if (!show_label_) return;
    ::SetWindowTextW(label_, widen(label).c_str());
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The messages of the showing itself (activation, the first paint) are
    // handled before the work starts; none are handled after.
    const auto deadline = std::chrono::steady_clock::now() + k_expose_wait;
    MSG m{};
    while (std::chrono::steady_clock::now() < deadline) {
      if (!::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (::IsWindowVisible(window_) && !::GetUpdateRect(window_, nullptr, FALSE)) break;
        ::Sleep(10);
        continue;
      }
      ::TranslateMessage(&m);
      ::DispatchMessageW(&m);
    }
    ::GdiFlush();
  }

  void message_box(std::string_view text) override {
    const int answer = ::MessageBoxW(nullptr, widen(text).c_str(), k_title, MB_OK);
    g_box_shown = answer != 0;
    // A box that could not be shown still leaves its message on the console.
    if (answer == 0) err_ << text << std::endl;
  }

 private:
  std::ostream& err_;
  bool show_label_;
  HWND window_ = nullptr;
  HWND label_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace

void show_failure_where_unseen(std::string_view line) {
  if (g_box_shown || !nobody_reads_stderr()) return;
  g_box_shown = ::MessageBoxW(nullptr, widen(line).c_str(), k_title, MB_OK) != 0;
}

std::unique_ptr<display> make_display(std::ostream& err, progress_shown progress) {
  if (progress == progress_shown::where_seen) {
    auto window = std::make_unique<window_display>(err, true);
    if (window->open()) return window;
  }
  return make_terminal_display(err, progress);
}

}  // namespace scenario
