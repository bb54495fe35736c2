// Running the program under test on Windows: the shell words of the tests'
// argument strings are split here and passed as a Windows command line; the
// standard streams are files. A pseudo terminal has no Windows counterpart
// that a test can read, so run_program_on_terminal reports status -1 and the
// tests that need it are left out of the Windows suite (cmake/windows.cmake).
#include <windows.h>

#include <cstdio>

#include "platform/wide_text.h"
#include "test_support.h"

namespace scenario::testing {
namespace {

// The words of the tests' command lines: blanks separate them, single and
// double quotes keep what they enclose. A backslash is a Windows path's
// separator here, never an escape.
std::vector<std::string> shell_words(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      const std::size_t end = line.find('\'', i + 1);
      word += line.substr(i + 1, end - i - 1);
      i = end == std::string_view::npos ? line.size() : end;
    } else if (c == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) word += line[i];
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring q = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    q.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    q += c;
  }
  q.append(2 * backslashes, L'\\');
  return q + L"\"";
}

HANDLE inheritable(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

program_result run_program(const std::string& exe, const std::string& args,
                           const std::filesystem::path& folder, const std::string& input,
                           const std::string& wrapper) {
  program_result r;
  // Running as another user (setpriv) has no counterpart here.
  if (!wrapper.empty()) return r;
  const scratch_folder capture;
  std::wstring command = quoted(widen(exe));
  for (const std::string& word : shell_words(args)) command += L" " + quoted(widen(word));
  const std::wstring in_path = input == "/dev/null" ? L"NUL" : widen(input);
  HANDLE in = inheritable(in_path, GENERIC_READ, OPEN_EXISTING);
  HANDLE out = inheritable(capture.path() / "out", GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = inheritable(capture.path() / "err", GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  const std::wstring dir = folder.wstring();
  // Without a display the run uses the terminal, whatever the session has.
  const auto start = [&] {
    return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                            nullptr, dir.c_str(), &si, &pi) != 0;
  };
  const bool handles =
      in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE;
  bool started = handles && start();
  // Wine now and then fails to start a process on a loaded machine (seen as
  // status -1 with nothing run); the program is started once more, saying so,
  // as the suite's own runner does for a test that Wine did not start.
  if (handles && !started) {
    std::fprintf(stderr, "the system did not start %s (error %lu): starting it once more\n",
                 exe.c_str(), static_cast<unsigned long>(::GetLastError()));
    ::Sleep(200);
    started = start();
  }
  for (HANDLE h : {in, out, err})
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  if (!started) return r;
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(pi.hThread);
  r.status = static_cast<int>(code);
  r.out = slurp(capture.path() / "out");
  r.err = slurp(capture.path() / "err");
  return r;
}

program_result run_program_on_terminal(const std::string&, const std::vector<std::string>&,
                                       const std::filesystem::path&,
                                       const std::optional<std::string>&) {
  return {};
}

}  // namespace scenario::testing
