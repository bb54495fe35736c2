#include "output/plan_format.h"
#include "output/plan_reader.h"

namespace scenario {

decoded<profilo_t> decode_plan(std::string_view bytes) {
  const auto opened = plan_reader::open(std::make_shared<memory_bytes>(bytes));
  if (!opened.ok()) return opened.error();
  const plan_reader& reader = *opened.value();
  profilo_t plan(reader.extent());
  plan_window w;
  for (std::size_t first = 0; first < reader.metres(); first += w.size()) {
    reader.read(first, plan_reader::k_stride, w);
    for (std::size_t i = 0; i < w.size(); ++i) {
      const std::size_t m = first + i;
      if (w.tags[i] == plan_tag::int16) {
        plan.set_int16(m, 0, static_cast<std::int16_t>(w.c0[i]));
        plan.set_int16(m, 1, static_cast<std::int16_t>(w.c1[i]));
      } else if (w.tags[i] == plan_tag::real) {
        plan.set_real(m, 0, w.c0[i]);
        plan.set_real(m, 1, w.c1[i]);
      }
    }
  }
  return plan;
}

}  // namespace scenario
