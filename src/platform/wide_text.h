// Windows only: the program's UTF-8 text in and out of the UTF-16 of the
// wide Win32 calls, and the reason a call failed in the words the POSIX
// layer uses, so that a message reads the same on both systems.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// UTF-8 to UTF-16; a byte that is not UTF-8 becomes U+FFFD.
std::wstring widen(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string narrow(std::wstring_view wide);

// Why a Win32 call failed with error (GetLastError()): the C library's words
// for the errors both systems share ("No such file or directory",
// "Permission denied"), the system's own text otherwise.
std::string win32_reason(unsigned long error);

// True for the errors of a file that another program holds open without
// sharing it (the simulator, an editor, a virus scanner).
bool win32_file_in_use(unsigned long error);

// Path with every forward slash as a backslash, for the calls that take
// only backslashes (the file-name prefix of a folder listing).
std::wstring with_backslashes(std::wstring path);

}  // namespace scenario
