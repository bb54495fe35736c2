#include <algorithm>
#include <filesystem>

#include "common/diagnostic.h"
#include "common/text.h"
#include "inspect/inspect.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/input.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

// No scenario file is larger than the longest plan, 10 bytes per entry.
constexpr std::size_t k_largest_file = 2 * k_plan_max_metres * 10;

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

failure failed(std::string message) {
  return failure(program_diagnostic(std::move(message)));
}

// Why bytes read as kind do not fit it, at the offset where they stop.
diagnostic decode_failure(const std::string& path, file_kind kind, const decode_error& e,
                          severity level = severity::error) {
  diagnostic d = program_diagnostic(std::string(kind_title(kind)) + ": " + e.reason, level);
  d.file = path;
  d.offset = e.offset;
  return d;
}

// Decodes bytes as kind into file; the error when they do not fit.
std::optional<decode_error> decode_as(file_kind kind, std::string_view bytes, loaded_file& file) {
  file.kind = kind;
  switch (kind) {
    case file_kind::grid: {
      auto d = decode_grid(bytes);
      if (!d.ok()) return d.error();
      file.grid = std::move(d.value());
      return std::nullopt;
    }
    case file_kind::stations: {
      auto d = decode_stations(bytes);
      if (!d.ok()) return d.error();
      file.stations = std::move(d.value());
      return std::nullopt;
    }
    case file_kind::plan: {
      auto d = decode_plan(bytes);
      if (!d.ok()) return d.error();
      file.plan = std::move(d.value());
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string_view kind_title(file_kind kind) {
  switch (kind) {
    case file_kind::grid:
      return "route grid";
    case file_kind::stations:
      return "station table";
    case file_kind::plan:
      return "line plan";
  }
  return "route grid";
}

std::optional<file_kind> kind_from_name(std::string_view path) {
  const std::string name = lower_1252(utf8_of(path_from_utf8(path).filename()));
  if (ends_with(name, "_linea.dat")) return file_kind::plan;
  if (ends_with(name, ".sim")) return file_kind::stations;
  if (ends_with(name, ".dat")) return file_kind::grid;
  return std::nullopt;
}

loaded_file load_file(const std::string& path) {
  const std::string name = input_name(path);
  const std::optional<std::string> read = read_input(path, k_largest_file);
  if (!read)
    throw failed(name + ": larger than any scenario file (at most " +
                 std::to_string(k_largest_file) + " bytes)");
  const std::string& bytes = *read;

  loaded_file file;
  file.path = name;
  file.bytes = bytes.size();
  if (const auto named = kind_from_name(path)) {
    if (const auto e = decode_as(*named, bytes, file))
      throw failure(decode_failure(name, *named, *e));
    return file;
  }
  diagnostic none_fits = program_diagnostic(name + ": not a scenario file");
  for (const file_kind kind : {file_kind::stations, file_kind::plan, file_kind::grid}) {
    auto e = decode_as(kind, bytes, file);
    // Zero bytes in pairs are empty plan entries: without its name, a plan
    // must also begin as every plan the compiler seeds does.
    if (!e && kind == file_kind::plan && bytes.compare(0, 2, std::string_view("\x02\x00", 2)) != 0)
      e = decode_error{0, "no seed point (tag 2) at the start"};
    if (!e) return file;
    none_fits.notes.push_back(decode_failure(name, kind, *e, severity::note));
  }
  throw failure(none_fits);
}

}  // namespace scenario
