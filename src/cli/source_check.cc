#include "cli/source_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

std::string quoted(std::string_view text) {
  constexpr std::size_t k_shown = 40;
  if (text.size() <= k_shown) return "'" + std::string(text) + "'";
  return "'" + std::string(text.substr(0, k_shown)) + "...'";
}

std::string num(std::int64_t v) {
  return std::to_string(v);
}

bool fits_16(std::int64_t v) {
  return v >= INT16_MIN && v <= INT16_MAX;
}
bool fits_8(std::int64_t v) {
  return v >= 0 && v <= 255;
}

bool has_letter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0xC0;
  });
}

bool is_header(std::string_view field) {
  return contains(field, "[") && contains(field, "]");
}

// What both scans share: the reader, the warnings and where the current
// record stands.
class scan {
 public:
  scan(std::string_view text, fault_origin origin) : reader_(text), origin_(origin) {}

 protected:
  // Reads a top-level field into field_ and notes whether it begins its line.
  void read_top_level() {
    const int before = reader_.field_line();
    field_ = reader_.read_text();
    first_on_line_ = reader_.field_line() != before;
  }
  void warn(std::string what) { warnings_.push_back({origin_, record_line_, std::move(what)}); }
  void warn_last_field() {
    warnings_.push_back({origin_, reader_.field_line(),
                         quoted(field_) +
                             " is the file's last field and is never read; end the file with a "
                             "line that is not a record, such as [fine]"});
  }
  // An unrecognised field that looks like a keyword: the first on its line,
  // with a letter, not a section header.
  void warn_unknown(std::string_view file) {
    if (first_on_line_ && has_letter(field_) && !is_header(field_))
      warn(quoted(field_) + " is not a keyword of the " + std::string(file) +
           "; the field is ignored");
  }
  bool has(std::string_view word) const { return contains_ignoring_case(field_, word); }
  // A record "from position p on" (gradient, speed limit, adhesion) must
  // stand in a later 50 m cell than the one before it.
  void check_order(std::optional<std::int64_t>& previous, std::int32_t p, std::string_view what) {
    const std::int64_t cell = round_half_even(p, 50);
    if (previous && cell <= *previous)
      warn(std::string(what) + " at " + num(p) + " m is not in a later 50 m cell than the " +
           std::string(what) +
           " before it; these records must stand in increasing order of "
           "position, at most one per cell, or the cells around them get the wrong value");
    previous = cell;
  }

  field_reader reader_;
  fault_origin origin_;
  std::vector<source_warning> warnings_;
  std::string field_;
  bool first_on_line_ = false;
  int record_line_ = 0;
};

class line_scan : public scan {
 public:
  line_scan(std::string_view text, bool with_plan)
      : scan(text, fault_origin::line_file), with_plan_(with_plan) {}

  line_check run() {
    try {
      if (find_start() && general_section() && length_) body();
    } catch (const compile_failure&) {
      // The compile stops here too, with code 25.
    }
    line_check out;
    out.warnings = std::move(warnings_);
    for (const reference& r : references_)
      if (r.line != 0 && (r.p % 50 != 0 || r.k % 50 != 0) &&
          (out.misplaced_reference_line == 0 || r.line < out.misplaced_reference_line))
        out.misplaced_reference_line = r.line;
    return out;
  }

 private:
  struct reference {
    int line = 0;
    std::int32_t p = 0, k = 0;
  };

  bool find_start() {
    for (;;) {
      read_top_level();
      if (reader_.at_end()) return false;
      if (has("[generale]")) return true;
    }
  }

  bool body_keyword() const {
    return has("pendenza") || has("curva") || has("montagna") || has("indicatori_v") ||
           (has("indicat") && has("cartello"));
  }
  bool general_keyword() const {
    return (has("lunghezza") && has("percorso")) || has("progressiva") || has("sfondo") ||
           (has("ripetizione") && has("segnali"));
  }

  // Returns false when the file ends inside the section.
  bool general_section() {
    for (;;) {
      if (reader_.at_end()) return false;
      read_top_level();
      if (reader_.at_end()) {
        if (general_keyword() || body_keyword()) warn_last_field();
        return false;
      }
      for (int i = 0; i < 10; ++i)
        if (contains(field_, "-")) read_top_level();
      record_line_ = reader_.field_line();
      general_record();
      if (is_header(field_)) {
        const auto first = field_.find_first_not_of(' ');
        if (first == std::string::npos || field_[first] != '-') return true;
      }
    }
  }

  void general_record() {
    bool read = false;
    if (has("percorso") && has("lunghezza")) {
      length_ = reader_.read_int32();
      read = true;
    }
    const std::array<std::string_view, 3> names{"tre", "due", "uno"};
    bool reference_read = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (!contains(field_, names[i]) || !contains(field_, "progressiva")) continue;
      reference& r = references_[i];
      r.line = record_line_;
      r.p = reader_.read_int32();
      r.k = reader_.read_int32();
      reader_.read_int32();
      reference_read = true;
    }
    bool background_read = false;
    for (std::string_view n : {"uno", "due", "tre"}) {
      if (!contains(field_, "sfondo") || !contains(field_, n)) continue;
      reader_.read_int32();
      background_read = true;
    }
    const bool repetition_read = contains(field_, "segnali") && contains(field_, "ripetizione");
    if (repetition_read) {
      reader_.read_int32();
      reader_.read_int32();
    }
    read = read || reference_read || background_read || repetition_read;

    auto any_number_word = [this] { return has("uno") || has("due") || has("tre"); };
    const char* const exact_case =
        " is not read: its words are matched with their letter case; write them in lower case";
    if (!reference_read && has("progressiva") && any_number_word())
      warn(quoted(field_) + exact_case);
    else if (!background_read && has("sfondo") && any_number_word())
      warn(quoted(field_) + exact_case);
    else if (!repetition_read && has("ripetizione") && has("segnali"))
      warn(quoted(field_) + exact_case);
    else if (!read && body_keyword())
      warn(quoted(field_) +
           " stands inside [generale], where it is not read; body records "
           "belong after the section");
    else if (!read && !general_keyword())
      warn_unknown("[generale] section");
  }

  void body() {
    extent_ = std::int64_t{*length_} + 7000;
    for (;;) {
      if (reader_.at_end()) return;
      read_top_level();
      if (reader_.at_end()) return warn_last_body_field();
      for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
        read_top_level();
        if (reader_.at_end()) return warn_last_body_field();
      }
      record_line_ = reader_.field_line();
      body_record();
    }
  }

  void warn_last_body_field() {
    if (body_keyword()) warn_last_field();
  }

  void body_record() {
    // Said before any value is read: the speed board's reading usually fails
    // on the board's text, with code 25.
    if (has("indicatori_v") && has("indicat") && has("cartello"))
      warn(quoted(field_) + " is read both as a speed board and as a text board");
    bool read = false;
    if (has("pendenza")) {
      read = true;
      const std::int32_t p = reader_.read_int32();
      reader_.read_int32();
      check_order(previous_gradient_, p, "gradient");
    }
    if (has("curva")) {
      read = true;
      if (with_plan_) curve();
    }
    if (has("montagna")) {
      read = true;
      scenery();
    }
    if (has("indicatori_v")) {
      read = true;
      reader_.read_int32();
      std::array<std::int32_t, 8> v{};
      for (std::int32_t& x : v) x = reader_.read_int32();
      const std::int64_t stripes = 10 * std::int64_t{v[3]} + v[7];
      if (!fits_16(stripes))
        warn("stripe value 10 x " + num(v[3]) + " + " + num(v[7]) + " = " + num(stripes) +
             " is kept to its low 16 bits and becomes " + num(low_16(stripes)));
    }
    if (has("indicat") && has("cartello")) {
      read = true;
      reader_.read_int32();
      reader_.read_text();
    }
    if (read) return;
    if (general_keyword())
      warn(quoted(field_) + " stands after [generale], where it is not read");
    else
      warn_unknown("line description");
  }

  void curve() {
    const std::int32_t s = reader_.read_int32();
    const std::int32_t l = reader_.read_int32();
    const std::int64_t end = std::int64_t{s} + l;
    if (curves_ > 0 && s + std::int64_t{1} < next_metre_)
      warn("curve at " + num(s) + " m starts before the previous curve ends (at " +
           num(next_metre_ - 1) + " m); the part before that is not drawn");
    if (end > extent_)
      warn("curve at " + num(s) + " m runs to " + num(end) + " m, past the end of the plan (" +
           num(extent_) + " m), and is cut there");
    next_metre_ = std::max(next_metre_, std::int64_t{s} + 1);
    next_metre_ = std::max(next_metre_, std::min(end, extent_) + 1);
    ++curves_;
  }

  void scenery() {
    const std::int32_t inizio = reader_.read_int32();
    const std::int32_t fine = reader_.read_int32();
    std::int64_t tipo = reader_.read_int32();
    if (tipo > 10) tipo -= 10;
    if (previous_section_end_ && std::int64_t{inizio} - *previous_section_end_ <= 150 &&
        tipo != 3) {
      warn("scenery section at " + num(inizio) +
           " m starts 150 m or less after the previous one ends (" + num(*previous_section_end_) +
           " m), so its type " + num(tipo) + " becomes 3");
      tipo = 3;
    }
    if (!fits_8(tipo))
      warn("scenery type " + num(tipo) + " is kept to its low 8 bits and becomes " +
           num(low_8(tipo)));
    previous_section_end_ = fine;
  }

  bool with_plan_;
  std::optional<std::int32_t> length_;
  std::array<reference, 3> references_{};  // tre, due, uno: the last record of each
  std::optional<std::int64_t> previous_gradient_;
  std::optional<std::int64_t> previous_section_end_;
  std::int64_t extent_ = 0;
  std::int64_t next_metre_ = 2;
  int curves_ = 0;
};

class train_scan : public scan {
 public:
  explicit train_scan(std::string_view text) : scan(text, fault_origin::train_file) {}

  std::vector<source_warning> run() {
    try {
      do {
        read_top_level();
      } while (!has("[generale]") && !reader_.at_end());
      records();
    } catch (const compile_failure&) {
      // The compile stops here too, with code 25.
    }
    return std::move(warnings_);
  }

 private:
  bool keyword() const {
    return (has("frenata") && has("massa")) || has("vetture") || has("velocit") ||
           has("aderenza") || has("orologio") || has("sabbia") || has("segnale") ||
           has("rallentamento") || has("abbattimento") || has("stazione");
  }

  void records() {
    for (;;) {
      if (reader_.at_end()) return;
      read_top_level();
      if (reader_.at_end()) return warn_last_train_field();
      for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
        read_top_level();
        if (reader_.at_end()) return warn_last_train_field();
      }
      record_line_ = reader_.field_line();
      record();
    }
  }

  void warn_last_train_field() {
    if (keyword()) warn_last_field();
  }

  void record() {
    if (has("frenata") && has("massa")) reader_.read_int32();
    if (has("vetture")) reader_.read_int32();
    if (has("velocit")) speed_limit();
    if (has("aderenza")) adhesion();
    if (has("orologio"))
      for (int i = 0; i < 3; ++i) reader_.read_int16();
    if (has("sabbia")) reader_.read_int16();
    if (has("segnale")) signal();
    if (has("rallentamento")) slowdown();
    if (has("abbattimento")) code_line();
    if (has("stazione")) station();
    if (!keyword()) warn_unknown("train description");
  }

  void speed_limit() {
    const std::int32_t p = reader_.read_int32();
    const std::int32_t kmh = reader_.read_int32();
    check_order(previous_speed_, p, "speed limit");
    if (!fits_8(round_half_even(kmh, 5)))
      warn("speed limit " + num(kmh) +
           " km/h does not fit the grid (0 to 1277 km/h); the "
           "compile stops with code 25 where it is written, at the next speed limit or at the "
           "end of the file");
  }

  void adhesion() {
    const std::int32_t p = reader_.read_int32();
    const std::int32_t value = reader_.read_int32();
    check_order(previous_adhesion_, p, "adhesion");
    if (!fits_8(value))
      warn("adhesion " + num(value) + " is kept to its low 8 bits and becomes " +
           num(low_8(value)));
  }

  void signal() {
    const std::int32_t posizione = reader_.read_int32();
    std::array<std::int64_t, 10> v{};
    for (std::int64_t& x : v) x = reader_.read_int32();
    const auto [sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo] = v;
    const std::string at = "signal at " + num(posizione) + " m: ";
    const std::array<std::int64_t, 3> aspects{s1 * 10 + d1, s2 * 10 + d2, s3 * 10 + d3};
    for (std::size_t i = 0; i < aspects.size(); ++i)
      if (!fits_16(aspects[i]))
        warn(at + "aspect value " + num(aspects[i]) + " (s" + num(i + 1) + " x 10 + d" +
             num(i + 1) + ") is kept to its low 16 bits and becomes " + num(low_16(aspects[i])));
    const std::int64_t type_value = rapp * 10 + sx * 3 + dx;
    if (!fits_16(type_value))
      warn(at + "type value " + num(type_value) +
           " (rapp x 10 + sx x 3 + dx) is kept to its "
           "low 16 bits and becomes " +
           num(low_16(type_value)));
    const std::int64_t code = sx * 3 + dx;
    if (!fits_8(code * 10 + 1) || !fits_8(code * 10 + 4))
      warn(at + "approach marks " + num(code * 10 + 1) + " to " + num(code * 10 + 4) +
           " ((sx x 3 + dx) x 10 + 1 to 4) are kept to their low 8 bits");
    if (sx != 2) return;
    if (tempo >= 1 && tempo <= 100)
      warn(at + "clearing delay " + num(tempo) + " is raised to 101");
    else if (!fits_8(tempo))
      warn(at + "clearing delay " + num(tempo) + " is kept to its low 8 bits and becomes " +
           num(low_8(tempo)));
  }

  void slowdown() {
    std::array<std::int64_t, 6> v{};
    for (std::int64_t& x : v) x = reader_.read_int32();
    const std::string at = "slowdown at " + num(v[0]) + " m: ";
    const std::array<std::pair<const char*, std::int64_t>, 3> stored{
        {{"speed", v[1]}, {"f_tt", v[3]}, {"d_v", v[5]}}};
    for (const auto& [name, value] : stored)
      if (!fits_16(value))
        warn(at + name + " " + num(value) + " is kept to its low 16 bits and becomes " +
             num(low_16(value)));
  }

  void code_line() {
    const std::int32_t p = reader_.read_int32();
    const std::int32_t value = reader_.read_int32();
    if (value > INT16_MAX)
      warn("code line at " + num(p) + " m: code " + num(value) +
           " is kept to its low 16 bits and becomes " + num(low_16(value)));
  }

  // The 17 fields of a station line, with the widths the station reader uses.
  void station() {
    reader_.read_int32();
    reader_.read_uint8();
    reader_.read_int32();
    reader_.read_uint8();
    reader_.read_uint8();
    reader_.read_uint8();
    reader_.read_int16();
    reader_.read_int16();
    reader_.read_uint8();
    reader_.read_int16();
    reader_.read_int16();
    reader_.read_int16();
    reader_.read_uint8();
    for (int i = 0; i < 3; ++i) reader_.read_int32();
    reader_.read_text();
  }

  std::optional<std::int64_t> previous_speed_;
  std::optional<std::int64_t> previous_adhesion_;
};

}  // namespace

line_check check_line_description(std::string_view text, bool with_plan) {
  return line_scan(text, with_plan).run();
}

std::vector<source_warning> check_train_description(std::string_view text) {
  return train_scan(text).run();
}

}  // namespace scenario
