#include "platform/input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/descriptor.h"
#include "platform/files.h"

namespace scenario {

std::optional<std::string> read_input(const std::string& path, std::size_t limit) {
  const std::string name = input_name(path);
  const bool standard = path == "-";
  if (standard && ::isatty(STDIN_FILENO) == 1)
    throw failure(program_diagnostic(
        "the standard input is a terminal; pipe a file into it or name the file"));
  const descriptor own(standard ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  const int fd = standard ? STDIN_FILENO : own.get();
  if (fd < 0) throw io_error(name, "read", std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw io_error(name, "read", std::strerror(errno));
  if (S_ISDIR(st.st_mode)) throw io_error(name, "read", std::strerror(EISDIR));
  if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > limit) return std::nullopt;
  std::string content;
  if (S_ISREG(st.st_mode)) content.reserve(static_cast<std::size_t>(st.st_size));
  std::array<char, 65536> buf{};
  for (;;) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw io_error(name, "read", std::strerror(errno));
    }
    if (n == 0) break;
    content.append(buf.data(), static_cast<std::size_t>(n));
    // A pipe tells no size: stop as soon as it is known to be too long.
    if (content.size() > limit) return std::nullopt;
  }
  return content;
}

}  // namespace scenario
