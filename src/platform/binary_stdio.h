// Standard input and output carrying bytes, not text: a protocol that counts
// bytes (the language server's) must not see its line ends translated.
#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace scenario {

// Puts the standard input and output in binary mode where the system
// translates line ends on them; elsewhere it does nothing.
void use_binary_standard_streams();

// Up to size bytes of the standard input, read by the system's own call and
// not through the C library's stream: blocks until some arrive and returns
// how many (a pipe gives what its writer has written so far, often fewer
// than asked); 0 at the end of the input or when it cannot be read.
std::size_t read_standard_input_some(char* buffer, std::size_t size);

// The standard input as a stream buffer over read_standard_input_some. A
// thread may stay blocked in it while another ends the process: the C
// library's own stream would hold its lock through that read, and on
// Windows the end of the process waits for every stream's lock.
class standard_input_buffer : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const std::size_t n = read_standard_input_some(bytes_.data(), bytes_.size());
    if (n == 0) return traits_type::eof();
    setg(bytes_.data(), bytes_.data(), bytes_.data() + n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::array<char, 65536> bytes_{};
};

}  // namespace scenario
