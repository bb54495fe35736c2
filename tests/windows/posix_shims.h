// Windows: the few POSIX calls that the shared tests make, so that they
// build for Windows (forced into the test build by cmake/windows.cmake). The
// tests that depend on what these calls do are in its skip list.
#pragma once

#include <cerrno>
#include <cstdlib>

// Nobody is root on Windows.
inline int geteuid() {
  return 1000;
}

// Windows has no FIFOs (the tests name them by a path's c_str(), wide there).
inline int mkfifo(const wchar_t*, int) {
  errno = ENOSYS;
  return -1;
}

// The environment of the programs a test starts; an empty value removes the
// variable.
inline int setenv(const char* name, const char* value, int) {
  return _putenv_s(name, value);
}
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
