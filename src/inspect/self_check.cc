#include "inspect/self_check.h"

#include <bit>
#include <charconv>
#include <type_traits>

#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "sources/text_writer.h"

namespace scenario {
namespace {

std::string shown(std::int64_t v) {
  return std::to_string(v);
}

// A field's value: a name in quotes, a number as it is.
template <typename T>
std::string field_value(const T& v) {
  if constexpr (std::is_same_v<T, std::string>)
    return "'" + v + "'";
  else
    return std::to_string(std::int64_t{v});
}

// The shortest text that reads back as v.
std::string real(double v) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
  return std::string(buffer, end);
}

// Differences of one file, at most k_shown_differences told.
class file_differences {
 public:
  file_differences(std::string path, std::vector<diagnostic>& out)
      : path_(std::move(path)), out_(out) {}
  ~file_differences() {
    if (count_ > k_shown_differences)
      tell(std::to_string(count_ - k_shown_differences) + " more differences");
  }

  void add(const std::string& message) {
    if (count_++ < k_shown_differences) tell(message);
  }

 private:
  void tell(const std::string& message) {
    diagnostic d;
    d.file = path_;
    d.message = message;
    out_.push_back(std::move(d));
  }

  std::string path_;
  std::vector<diagnostic>& out_;
  std::size_t count_ = 0;
};

// "FIELD X, the descriptions give Y" for each field of a cell or record that differs.
#define SCENARIO_FIELD_DIFF(field, type)                                                 \
  if (file.field != compiled.field)                                                      \
    out += std::string(out.empty() ? "" : "; ") + #field " " + field_value(file.field) + \
           ", the descriptions give " + field_value(compiled.field);

std::string field_differences(const cella& file, const cella& compiled) {
  std::string out;
  SCENARIO_CELLA_FIELDS(SCENARIO_FIELD_DIFF)
  return out;
}

std::string field_differences(const stazione& file, const stazione& compiled) {
  std::string out;
  SCENARIO_STAZIONE_FIELDS(SCENARIO_FIELD_DIFF)
  return out;
}
#undef SCENARIO_FIELD_DIFF

void compare_grids(const percorso_t& file, const percorso_t& compiled, file_differences& out) {
  if (file.size() != compiled.size())
    out.add("cells 0 to " + shown(last_cell(file)) + ", the descriptions give cells 0 to " +
            shown(last_cell(compiled)));
  for (std::size_t c = 0; c < std::min(file.size(), compiled.size()); ++c)
    if (!(file[c] == compiled[c]))
      out.add("cell " + shown(static_cast<std::int64_t>(c)) + ": " +
              field_differences(file[c], compiled[c]));
}

void compare_tables(const stazioni_t& file, const stazioni_t& compiled, file_differences& out) {
  for (std::size_t r = 0; r < file.size(); ++r)
    if (!(file[r] == compiled[r]))
      out.add("record " + shown(static_cast<std::int64_t>(r)) + ": " +
              field_differences(file[r], compiled[r]));
}

std::string point(plan_cursor& plan, std::size_t m) {
  if (plan.tag(m) == plan_tag::empty) return "no point";
  return "(" + real(plan.value(m, 0)) + ", " + real(plan.value(m, 1)) + ")";
}

// The same tag and the same values to the last bit.
bool same_metre(plan_cursor& a, plan_cursor& b, std::size_t m) {
  auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  return a.tag(m) == b.tag(m) && bits(a.value(m, 0)) == bits(b.value(m, 0)) &&
         bits(a.value(m, 1)) == bits(b.value(m, 1));
}

// The first metre that differs, and how many do: one wrong step moves every
// point after it.
void compare_plans(const plan_source& file_plan, const plan_source& compiled_plan,
                   file_differences& out) {
  plan_cursor file(file_plan);
  plan_cursor compiled(compiled_plan);
  if (file.extent() != compiled.extent())
    out.add("metres 0 to " + shown(file.extent()) + ", the descriptions give metres 0 to " +
            shown(compiled.extent()));
  std::size_t first = 0, count = 0;
  for (std::size_t m = 0; m < std::min(file.metres(), compiled.metres()); ++m)
    if (!same_metre(file, compiled, m) && count++ == 0) first = m;
  if (count > 0)
    out.add("metre " + shown(static_cast<std::int64_t>(first)) + ": " + point(file, first) +
            ", the descriptions give " + point(compiled, first) + " (" +
            shown(static_cast<std::int64_t>(count)) + " metres differ from here on)");
}

// Whether the plan file of s holds the bytes of the compiled plan, compared
// a piece at a time as they are made.
bool same_plan_file(const loaded_scenario& s, const plan_runs& compiled) {
  if (!s.plan_pieces) return serialise_plan(compiled) == serialise_plan(s.plan.plan);
  const byte_source& file = s.plan_pieces->bytes();
  if (file.size() != plan_file_size(compiled)) return false;
  bool same = true;
  std::string stored;
  encode_plan(compiled, [&](std::uint64_t offset, std::string_view piece) {
    if (!same) return;
    stored.resize(piece.size());
    file.read(offset, stored.data(), stored.size());
    same = stored == piece;
  });
  return same;
}

}  // namespace

self_check check_decompiled(const loaded_scenario& s, const decompiled& d,
                            const std::string& line_name, const std::string& train_name) {
  const std::string line_text =
      render_lines(std::vector<std::string_view>(d.line.begin(), d.line.end()));
  const std::string train_text =
      render_lines(std::vector<std::string_view>(d.train.begin(), d.train.end()));
  self_check out;
  out.compiled = compile(
      {d.nome_linea, d.numero_treno, true, {line_name, line_text}, {train_name, train_text}});
  const run_state& st = out.compiled.st;
  if (!out.compiled.has_grid()) {
    file_differences(s.grid.path, out.differences).add("the descriptions give no route grid");
    return out;
  }
  if (!out.compiled.stamp_conflict.empty())
    file_differences(s.grid.path, out.differences)
        .add("the descriptions end with message " + std::string(out.compiled.stamp_conflict) +
             ": grid cell 1 or record 85 is taken before the stamps");
  out.same_files = out.compiled.stamp_conflict.empty() &&
                   serialise_grid(st.percorso) == serialise_grid(s.grid.grid) &&
                   serialise_stations(st.stazioni) == serialise_stations(s.stations.stations) &&
                   same_plan_file(s, st.profilo);
  if (out.same_files) return out;
  {
    file_differences grid(s.grid.path, out.differences);
    compare_grids(s.grid.grid, st.percorso, grid);
  }
  {
    file_differences table(s.stations.path, out.differences);
    compare_tables(s.stations.stations, st.stazioni, table);
  }
  file_differences plan(s.plan.path, out.differences);
  compare_plans(*s.plan_points(), runs_source(st.profilo), plan);
  return out;
}

}  // namespace scenario
