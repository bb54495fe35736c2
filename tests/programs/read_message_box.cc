// A test-only Windows program: waits for the message box titled
// "scenario_gen" that another program shows, prints its text on standard
// output (UTF-8) and answers it with OK. Exits 0 once it has, 1 when no
// such box came within the seconds given (default 60).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The text of the box: its static control that holds text (the icon's
// holds none).
BOOL CALLBACK take_text(HWND child, LPARAM into) {
  wchar_t kind[16] = {};
  ::GetClassNameW(child, kind, 16);
  wchar_t text[1024] = {};
  if (::lstrcmpiW(kind, L"Static") == 0 && ::GetWindowTextW(child, text, 1024) > 0)
    *reinterpret_cast<std::wstring*>(into) = text;
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  for (int tenth = 0; tenth < seconds * 10; ++tenth) {
    // A dialog box's own class.
    HWND box = ::FindWindowW(L"#32770", L"scenario_gen");
    if (box != nullptr) {
      std::wstring text;
      ::EnumChildWindows(box, take_text, reinterpret_cast<LPARAM>(&text));
      const int size =
          ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
      std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
      ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
      std::printf("%s\n", utf8.c_str());
      std::fflush(stdout);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    ::Sleep(100);
  }
  std::printf("no message box titled scenario_gen\n");
  return 1;
}
