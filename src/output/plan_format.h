// The line plan file (NAME_linea.dat): the 2 * (E + 1) entries of the plan,
// coordinate 0 of metres 0 to E, then coordinate 1 of metres 0 to E. Each
// entry is a little-endian u16 tag followed by its value:
//   tag 0  nothing             an entry never set
//   tag 2  i16                 the seed points, metres 0 and 1
//   tag 5  IEEE 754 binary64   every computed point
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/plan_runs.h"
#include "model/profilo.h"
#include "model/scenario_constants.h"
#include "output/byte_reader.h"

namespace scenario {

// The longest route gives metres 0 to 1000000 + 7000.
inline constexpr std::size_t k_plan_max_metres = k_max_route_length + k_route_margin + 1;

// The plan advances one metre a metre from (0, 0), so no compiled plan has a
// coordinate beyond its length; the bound leaves room for rounding.
inline constexpr double k_plan_max_coordinate = 1100000;

// The bytes of the line plan file, from its table.
std::string serialise_plan(const profilo_t& plan);

// The size of the line plan file of plan, in bytes.
std::uint64_t plan_file_size(const plan_runs& plan);

// The bytes of the line plan file of plan, computed as they are given: put
// receives pieces of at most k_plan_piece_bytes with their offsets in the
// file, which they cover once; the two coordinate blocks are filled side by
// side, so pieces do not come in file order. Pieces of 256 KiB touch half
// the fresh pages of 512 KiB ones in the default run, and the largest
// compile times them alike (64 KiB pieces were slower).
inline constexpr std::size_t k_plan_piece_bytes = std::size_t{256} * 1024;
using plan_piece_fn = std::function<void(std::uint64_t offset, std::string_view bytes)>;
void encode_plan(const plan_runs& plan, const plan_piece_fn& put);

// The same pieces, made in buffers the caller lends and handed back to it
// filled, so that a caller passing them to another thread copies nothing.
class plan_piece_buffers {
 public:
  // Room for one piece, k_plan_piece_bytes long; the encoder holds at most
  // two at a time (one per coordinate block).
  virtual char* lend() = 0;
  // The piece of size bytes at offset, filled in a buffer lend gave; the
  // encoder no longer touches it.
  virtual void filled(std::uint64_t offset, char* piece, std::size_t size) = 0;

 protected:
  ~plan_piece_buffers() = default;
};
void encode_plan(const plan_runs& plan, plan_piece_buffers& buffers);

// The whole line plan file of plan.
std::string serialise_plan(const plan_runs& plan);

// The plan in bytes, or where they stop being one. E is found by counting the
// entries: there must be an even number of them, each with a known tag and
// its whole value; both coordinates of a metre carry the same tag, as the
// plan always sets them together; every real value is finite and within
// k_plan_max_coordinate of 0.
decoded<profilo_t> decode_plan(std::string_view bytes);

}  // namespace scenario
