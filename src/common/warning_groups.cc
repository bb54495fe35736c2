#include "common/warning_groups.h"

#include <array>

namespace scenario {
namespace {

struct group_entry {
  warning_group group;
  std::string_view name;
  std::string_view summary;
};

constexpr std::array k_groups = {
#define SCENARIO_WARNING_GROUP_ENTRY(id, name, what) group_entry{warning_group::id, name, what},
    SCENARIO_WARNING_GROUPS(SCENARIO_WARNING_GROUP_ENTRY)
#undef SCENARIO_WARNING_GROUP_ENTRY
};

const group_entry* entry_of(warning_group g) {
  for (const group_entry& e : k_groups)
    if (e.group == g) return &e;
  return nullptr;
}

}  // namespace

std::string_view warning_group_name(warning_group g) {
  const group_entry* e = entry_of(g);
  return e ? e->name : std::string_view{};
}

std::string_view warning_group_summary(warning_group g) {
  const group_entry* e = entry_of(g);
  return e ? e->summary : std::string_view{};
}

std::optional<warning_group> warning_group_named(std::string_view name) {
  for (const group_entry& e : k_groups)
    if (e.name == name) return e.group;
  return std::nullopt;
}

}  // namespace scenario
