// The keywords of the two description formats, each spelled once: for each
// record kind the words its keyword field is recognised by, the keywords as
// written, the fields that follow it in order, the sections it usually
// stands in and the order in which the compiler tests it. The compilers
// recognise records through it; did-you-mean, the editor support and the
// layout of written descriptions read it.
//
// The tables are X-macros, SCENARIO_LINE_RECORDS and SCENARIO_TRAIN_RECORDS,
// each row
//   X(kind, part, letter case, (words recognised by), (keywords as written),
//     "usual sections", "what it is read as", (F(name, unit, width, meaning), ...))
// in the order in which the compiler tests a keyword field: every kind whose
// words the field holds is read, in row order, each reading its own values.
// A row's words are all required (substring tests); with exact they keep
// their letter case, otherwise case is ignored. part says where the kind is
// recognised: general (the line description's [generale] section only),
// body (after it) or anywhere (after "[generale]"). width is int32, int16,
// uint8 (the width a number is read in) or text (a text field). The unit is
// empty where a value has none.
//
// Expand a table with your own X and F to get something else from it; the
// functions below serve the usual questions without spelling a keyword.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// clang-format off
#define SCENARIO_LINE_RECORDS(X, F)                                                              \
  X(route_length, general, ignored, ("lunghezza", "percorso"), ("lunghezza percorso"),           \
    "[generale]", "a route-length record",                                                       \
    (F("L", "m", int32, "the route's length, 0 to 1000000")))                                    \
  X(km_reference_tre, general, exact, ("progressiva", "tre"),                                    \
    ("progressiva chilometrica tre"), "[generale]", "a kilometric reference",                    \
    (F("p", "m", int32, "a position on the route"),                                              \
     F("k", "m", int32, "the kilometric value there"),                                           \
     F("f", "", int32, "a flag, 0 or 1")))                                                       \
  X(km_reference_due, general, exact, ("progressiva", "due"),                                    \
    ("progressiva chilometrica due"), "[generale]", "a kilometric reference",                    \
    (F("p", "m", int32, "a position on the route"),                                              \
     F("k", "m", int32, "the kilometric value there"),                                           \
     F("f", "", int32, "a flag, 0 or 1")))                                                       \
  X(km_reference_uno, general, exact, ("progressiva", "uno"),                                    \
    ("progressiva chilometrica uno"), "[generale]", "a kilometric reference",                    \
    (F("p", "m", int32, "a position on the route"),                                              \
     F("k", "m", int32, "the kilometric value there"),                                           \
     F("f", "", int32, "a flag, 0 or 1")))                                                       \
  X(background_uno, general, exact, ("sfondo", "uno"), ("sfondo uno"), "[generale]",             \
    "a background record", (F("v", "", int32, "the first background setting")))                 \
  X(background_due, general, exact, ("sfondo", "due"), ("sfondo due"), "[generale]",             \
    "a background record", (F("v", "", int32, "the second background setting")))                \
  X(background_tre, general, exact, ("sfondo", "tre"), ("sfondo tre"), "[generale]",             \
    "a background record", (F("v", "", int32, "the third background setting")))                 \
  X(signal_repetition, general, exact, ("ripetizione", "segnali"),                               \
    ("ripetizione segnali 4 codici", "ripetizione segnali 9 codici"), "[generale]",              \
    "a signal-repetition record",                                                                \
    (F("a", "m", int32, "where the repetition starts, a multiple of 50"),                        \
     F("b", "m", int32, "where it ends, a multiple of 50; 0 for none")))                         \
  X(gradient, body, ignored, ("pendenza"), ("pendenza"), "[pendenze]", "a gradient record",      \
    (F("p", "m", int32, "where the gradient starts"),                                            \
     F("g", "per mille", int32, "the gradient from there on, -100 to 155")))                     \
  X(curve, body, ignored, ("curva"),                                                             \
    ("curvad1", "curvad2", "curvad3", "curvad4", "curvad5", "curvad6",                           \
     "curvas1", "curvas2", "curvas3", "curvas4", "curvas5", "curvas6"),                          \
    "[curve]", "a curve record",                                                                 \
    (F("s", "m", int32, "where the curve starts"),                                               \
     F("l", "m", int32, "the curve's length")))                                                  \
  X(scenery, body, ignored, ("montagna"), ("montagna"), "[montagne]", "a scenery record",        \
    (F("inizio", "m", int32, "where the section starts"),                                        \
     F("fine", "m", int32, "where it ends"),                                                     \
     F("tipo", "", int32, "the scenery type, plus 10 for a section with markers")))              \
  X(speed_board, body, ignored, ("indicatori_v"), ("indicatori_vmax"), "[cartelli]",             \
    "a speed-board record",                                                                      \
    (F("posizione", "m", int32, "where the board stands"),                                       \
     F("vas", "km/h", int32, "the first group's first speed"),                                   \
     F("vbs", "km/h", int32, "the first group's second speed"),                                  \
     F("vcs", "km/h", int32, "the first group's third speed"),                                   \
     F("strisces", "", int32, "the first group's stripes"),                                      \
     F("vad", "km/h", int32, "the second group's first speed"),                                  \
     F("vbd", "km/h", int32, "the second group's second speed"),                                 \
     F("vcd", "km/h", int32, "the second group's third speed"),                                  \
     F("strisced", "", int32, "the second group's stripes")))                                    \
  X(text_board, body, ignored, ("indicat", "cartello"), ("cartello indicatore"),                 \
    "[cartelli] [indicazioni]", "a text-board record",                                           \
    (F("p", "m", int32, "where the board stands"),                                               \
     F("text", "", text, "the text it shows")))

#define SCENARIO_TRAIN_RECORDS(X, F)                                                             \
  X(braked_mass, anywhere, ignored, ("frenata", "massa"), ("percentuale massa frenata"),         \
    "[generale]", "a braked-mass record",                                                        \
    (F("percentage", "%", int32, "the braked-mass percentage")))                                 \
  X(car_count, anywhere, ignored, ("vetture"), ("numero vetture"), "[generale]",                 \
    "a car-count record", (F("cars", "", int32, "the number of cars")))                          \
  X(speed_limit, anywhere, ignored, ("velocit"), ("velocita"), "[vel_limite]",                   \
    "a speed-limit record",                                                                      \
    (F("position", "m", int32, "where the limit starts"),                                        \
     F("speed", "km/h", int32, "the speed limit from there on")))                                \
  X(adhesion, anywhere, ignored, ("aderenza"), ("aderenza"), "[aderenze]", "an adhesion record", \
    (F("position", "m", int32, "where the adhesion starts"),                                     \
     F("adhesion", "", int32, "the adhesion from there on, kept to 8 bits")))                    \
  X(clock, anywhere, ignored, ("orologio"), ("orologio"), "[generale]", "a clock record",        \
    (F("hours", "h", int16, "the clock's start: hours"),                                         \
     F("minutes", "min", int16, "minutes"),                                                      \
     F("seconds", "s", int16, "seconds")))                                                       \
  X(sand, anywhere, ignored, ("sabbia"), ("sabbia"), "[generale]", "a sand record",              \
    (F("sand", "", int16, "the sand quantity")))                                                 \
  X(signal, anywhere, ignored, ("segnale"), ("segnale"), "[segnali]", "a signal record",         \
    (F("posizione", "m", int32, "where the signal stands"),                                      \
     F("sx", "", int32, "the left signal's kind"),                                               \
     F("s1", "", int32, "the left signal's first aspect"),                                       \
     F("s2", "", int32, "the left signal's second aspect"),                                      \
     F("s3", "", int32, "the left signal's third aspect"),                                       \
     F("rapp", "", int32, "the type's tens"),                                                    \
     F("dx", "", int32, "the right signal's kind"),                                              \
     F("d1", "", int32, "the right signal's first aspect"),                                      \
     F("d2", "", int32, "the right signal's second aspect"),                                     \
     F("d3", "", int32, "the right signal's third aspect"),                                      \
     F("tempo", "", int32, "the clearing delay")))                                               \
  X(slowdown, anywhere, ignored, ("rallentamento"), ("rallentamento"), "[rallentamenti]",        \
    "a slowdown record",                                                                         \
    (F("x", "m", int32, "where the slowdown starts"),                                            \
     F("v", "km/h", int32, "its speed"),                                                         \
     F("l", "m", int32, "its length"),                                                           \
     F("f_tt", "", int32, "the flag on its start and end cells"),                                \
     F("f_ta", "", int32, "the flag that adds its warning boards"),                              \
     F("d_v", "", int32, "the value stored with its speed")))                                    \
  X(code_line, anywhere, ignored, ("abbattimento"), ("abbattimento"), "[codici]",                \
    "a code-line record",                                                                        \
    (F("position", "m", int32, "where the code point stands"),                                   \
     F("value", "", int32, "its code, kept to 16 bits; 0 or less for a plain one")))             \
  X(station, anywhere, ignored, ("stazione"), ("stazione"), "[stazioni]", "a station record",    \
    (F("posizione", "m", int32, "the stop's position"),                                          \
     F("tipo_stazione", "", uint8, "the station type"),                                          \
     F("length", "m", int32, "the station's length, a multiple of 100"),                         \
     F("campo_1", "", uint8, "stored value 1"),                                                  \
     F("campo_10", "", uint8, "stored value 10"),                                                \
     F("campo_9", "", uint8, "stored value 9"),                                                  \
     F("campo_2", "", int16, "stored value 2"),                                                  \
     F("campo_3", "", int16, "stored value 3"),                                                  \
     F("campo_7", "", uint8, "stored value 7"),                                                  \
     F("campo_4", "", int16, "stored value 4"),                                                  \
     F("campo_5", "", int16, "stored value 5"),                                                  \
     F("campo_6", "", int16, "stored value 6"),                                                  \
     F("campo_8", "", uint8, "stored value 8"),                                                  \
     F("hours", "h", int32, "the time: hours"),                                                  \
     F("minutes", "min", int32, "minutes"),                                                      \
     F("seconds", "s", int32, "seconds; 0, 0, 0 for no time"),                                   \
     F("nome", "", text, "the station's name")))
// clang-format on

// The section headers of both descriptions, each spelled once: S(name,
// header). A line description has generale, curve, pendenze, montagne,
// cartelli, indicazioni and fine; a train description generale, aderenze,
// vel_limite, stazioni, rallentamenti, segnali, codici and fine.
#define SCENARIO_SECTIONS(S)          \
  S(generale, "[generale]")           \
  S(curve, "[curve]")                 \
  S(pendenze, "[pendenze]")           \
  S(montagne, "[montagne]")           \
  S(cartelli, "[cartelli]")           \
  S(indicazioni, "[indicazioni]")     \
  S(aderenze, "[aderenze]")           \
  S(vel_limite, "[vel_limite]")       \
  S(stazioni, "[stazioni]")           \
  S(rallentamenti, "[rallentamenti]") \
  S(segnali, "[segnali]")             \
  S(codici, "[codici]")               \
  S(fine, "[fine]")

#define SCENARIO_KEYWORD_KIND(kind, ...) kind,
enum class line_record { SCENARIO_LINE_RECORDS(SCENARIO_KEYWORD_KIND, ) };
enum class train_record { SCENARIO_TRAIN_RECORDS(SCENARIO_KEYWORD_KIND, ) };
#define SCENARIO_SECTION_NAME(name, header) name,
enum class section { SCENARIO_SECTIONS(SCENARIO_SECTION_NAME) };
#undef SCENARIO_SECTION_NAME
#undef SCENARIO_KEYWORD_KIND

// The number of fields each kind has, known when compiling: the layout's
// fixed-size lists of values follow it.
#define SCENARIO_ONE_FIELD(...) 1
#define SCENARIO_FIELD_LIST(...) __VA_ARGS__
#define SCENARIO_FIELD_COUNT(kind, part, match, words, keywords, sections, read_as, fields) \
  std::initializer_list<int>{SCENARIO_FIELD_LIST fields}.size(),
inline constexpr std::size_t k_line_field_counts[] = {
    SCENARIO_LINE_RECORDS(SCENARIO_FIELD_COUNT, SCENARIO_ONE_FIELD)};
inline constexpr std::size_t k_train_field_counts[] = {
    SCENARIO_TRAIN_RECORDS(SCENARIO_FIELD_COUNT, SCENARIO_ONE_FIELD)};
#undef SCENARIO_FIELD_COUNT
#undef SCENARIO_FIELD_LIST
#undef SCENARIO_ONE_FIELD

constexpr std::size_t field_count(line_record kind) {
  return k_line_field_counts[static_cast<std::size_t>(kind)];
}
constexpr std::size_t field_count(train_record kind) {
  return k_train_field_counts[static_cast<std::size_t>(kind)];
}

enum class description_format { line, train };

// Where a kind is recognised (see above).
enum class record_part { general, body, anywhere };
enum class field_width { int32, int16, uint8, text };
enum class letter_case { ignored, exact };

struct field_spec {
  std::string_view name;
  std::string_view unit;  // empty for none
  field_width width;
  std::string_view meaning;
};

struct record_spec {
  int kind;        // the format's line_record or train_record, as a number
  int test_order;  // from 0, the row's place in its table
  record_part part;
  letter_case match;
  std::span<const std::string_view> words;     // all required
  std::span<const std::string_view> keywords;  // as written; the first is the usual one
  std::string_view sections;                   // usual sections, blank-separated
  std::string_view read_as;                    // "a gradient record"
  std::span<const field_spec> fields;          // in line order
};

// A format's record kinds, in the compiler's test order.
std::span<const record_spec> keyword_table(description_format format);
const record_spec& record_of(line_record kind);
const record_spec& record_of(train_record kind);

// A section's header as written: "[generale]".
std::string_view section_header(section name);

// The keyword a kind is usually written with: its first as written.
std::string_view usual_keyword(line_record kind);
std::string_view usual_keyword(train_record kind);

// True when field holds every word of the kind (with its letter case when
// exact). any_case ignores the case of exact words too: what an author
// probably meant.
bool field_holds(const record_spec& record, std::string_view field, bool any_case = false);
bool field_holds(line_record kind, std::string_view field);
bool field_holds(train_record kind, std::string_view field);

// The kinds a keyword field standing in part is read as, in the compiler's
// test order (a line-description field in [generale] is read as general
// kinds, after it as body kinds; train kinds are read anywhere).
std::vector<const record_spec*> records_read_as(description_format format, record_part part,
                                                std::string_view field);
// True when some kind of part is read from field; any_case as above.
bool holds_keyword(description_format format, record_part part, std::string_view field,
                   bool any_case = false);
// What the kinds are read as, joined by "and", each said once: "a gradient
// record"; empty for none.
std::string read_as_words(std::span<const record_spec* const> records);

// What a kind is read as, without its article: "gradient record".
std::string_view without_article(std::string_view read_as);

// Every keyword as written of the kinds of part, in table order: the words
// did-you-mean and completion offer.
std::span<const std::string_view> keywords_of(description_format format, record_part part);

// The record kind whose keywords as written include keyword exactly.
const record_spec* record_written_as(description_format format, std::string_view keyword);

}  // namespace scenario
