// Benchmarks of the default run and of the largest scenario. Each one reports
// its median and spread over repetitions (bench/run.sh asks for them); the
// figures, not the test suite, say where the time goes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda.h"
#include "max_scenario.h"
#include "output/grid_format.h"
#include "output/plan_format.h"
#include "output/station_format.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/binary_files.h"
#include "run/compile.h"
#include "run/memorizza.h"
#include "run/run_sequence.h"
#include "sources/line_content.h"
#include "sources/text_writer.h"
#include "sources/train_content.h"

namespace scenario {
namespace {

// A fresh folder under the system's temporary folder, removed with the object.
class scratch_folder {
 public:
  scratch_folder() {
    std::string name = (std::filesystem::temp_directory_path() / "scenario_bench.XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    path_ = name;
  }
  ~scratch_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The one compile of two texts, with the plan, as the run does it.
compile_result compile_texts(std::string_view nome_linea, std::string_view numero_treno,
                             std::string_view line_text, std::string_view train_text) {
  return compile({std::string(nome_linea),
                  std::string(numero_treno),
                  true,
                  {"line", line_text},
                  {"train", train_text}});
}

// The largest scenario, compiled once and kept for the benchmarks that only
// serialise it.
struct max_fixture {
  std::string line_text = max_line_text();
  std::string train_text = max_train_text();
  run_state compiled = compile_texts(k_max_line_name, k_max_train_number, line_text, train_text).st;
};

const max_fixture& max_scenario() {
  static const max_fixture f;
  return f;
}

run_state compiled_default() {
  return compile_texts(k_shipped_line, k_shipped_train, render_lines(line_content()),
                       render_lines(train_content()))
      .st;
}

std::int64_t byte_count(const binary_bytes& b) {
  return static_cast<std::int64_t>(b.plan.size() + b.stations.size() + b.grid.size());
}

// (1) The default run without the disk: the five texts rendered, both
// descriptions compiled, the pass, the stamps and the three files' bytes.
void default_run_in_memory(benchmark::State& state) {
  for (auto _ : state) {
    const std::string line_text = render_lines(line_content());
    const std::string train_text = render_lines(train_content());
    std::string documents[] = {render_lines(note_content()), render_lines(rallentamenti_content()),
                               render_lines(scheda_content())};
    benchmark::DoNotOptimize(documents);
    const compile_result r = compile_texts(k_shipped_line, k_shipped_train, line_text, train_text);
    binary_bytes bytes = serialise_binary_files(r.st);
    benchmark::DoNotOptimize(bytes);
  }
}

// (2) The default run as the executable does it, files and all.
void default_run_with_files(benchmark::State& state) {
  const scratch_folder folder;
  const auto ui = make_silent_display();
  for (auto _ : state) {
    compile_result r = form_load(folder.path(), *ui);
    benchmark::DoNotOptimize(r);
  }
}

// (3) The largest scenario's compile: both compilers, the pass and the stamps.
void max_compile(benchmark::State& state) {
  const max_fixture& f = max_scenario();
  for (auto _ : state) {
    compile_result r =
        compile_texts(k_max_line_name, k_max_train_number, f.line_text, f.train_text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(f.line_text.size() + f.train_text.size()));
}

// The largest scenario from its two files to its three, as a compile command
// does it (the descriptions are kept).
void max_compile_with_files(benchmark::State& state) {
  const max_fixture& f = max_scenario();
  const scratch_folder folder;
  const std::string line_path = folder.path() + "/Max_linea.txt";
  const std::string train_path = folder.path() + "/Max_1-.txt";
  replace_file(line_path, f.line_text);
  replace_file(train_path, f.train_text);
  const auto ui = make_silent_display();
  scenario_files files;
  files.nome_linea = k_max_line_name;
  files.numero_treno = k_max_train_number;
  files.line_path = line_path;
  files.train_path = train_path;
  files.delete_after_reading = false;
  files.out_folder = folder.path();
  for (auto _ : state) {
    compile_result r;
    memorizza_percorso(1, files, *ui, r);
    benchmark::DoNotOptimize(r);
  }
}

std::int64_t byte_count(const std::string& b) {
  return static_cast<std::int64_t>(b.size());
}

// (4) Serialisation alone: serialise turns one compiled state into bytes
// (the three files, or one of them), timed over and over.
template <typename Serialise>
void serialise_bench(benchmark::State& state, const run_state& st, Serialise serialise) {
  std::int64_t bytes = 0;
  for (auto _ : state) {
    auto b = serialise(st);
    bytes = byte_count(b);
    benchmark::DoNotOptimize(b);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

// (5) The plan's two costs apart: its points alone (the chain of steps, one
// metre after another), and its pieces encoded (points and bytes) with no
// file written, which is what the second thread of a run does.
void plan_points_bench(benchmark::State& state) {
  const plan_runs& plan = max_scenario().compiled.profilo;
  constexpr std::size_t k_batch = 1024;
  double c0[k_batch];
  double c1[k_batch];
  for (auto _ : state) {
    plan_points points(plan);
    while (points.next(c0, c1, k_batch) != 0) benchmark::DoNotOptimize(c0[0] + c1[0]);
  }
}
void plan_encode_bench(benchmark::State& state) {
  const plan_runs& plan = max_scenario().compiled.profilo;
  for (auto _ : state) {
    encode_plan(plan, [](std::uint64_t, std::string_view piece) {
      benchmark::DoNotOptimize(piece.data());
    });
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(plan_file_size(plan)));
}

// Every benchmark reports min and max beside Google Benchmark's own mean,
// median and standard deviation when repeated.
benchmark::internal::Benchmark* with_spread(benchmark::internal::Benchmark* b) {
  return b->Unit(benchmark::kMillisecond)
      ->ComputeStatistics(
          "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
      ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
      });
}

const bool registered = [] {
  with_spread(benchmark::RegisterBenchmark("default_run/in_memory", default_run_in_memory));
  with_spread(benchmark::RegisterBenchmark("default_run/with_files", default_run_with_files));
  with_spread(benchmark::RegisterBenchmark("max/compile", max_compile));
  with_spread(benchmark::RegisterBenchmark("max/compile_with_files", max_compile_with_files));
  with_spread(benchmark::RegisterBenchmark("serialise/default", [](benchmark::State& s) {
    serialise_bench(s, compiled_default(), serialise_binary_files);
  }));
  with_spread(benchmark::RegisterBenchmark("serialise/max", [](benchmark::State& s) {
    serialise_bench(s, max_scenario().compiled, serialise_binary_files);
  }));
  with_spread(benchmark::RegisterBenchmark("serialise/max_plan", [](benchmark::State& s) {
    serialise_bench(s, max_scenario().compiled,
                    [](const run_state& st) { return serialise_plan(st.profilo); });
  }));
  with_spread(benchmark::RegisterBenchmark("plan/max_points", plan_points_bench));
  with_spread(benchmark::RegisterBenchmark("plan/max_encoded", plan_encode_bench));
  with_spread(benchmark::RegisterBenchmark("serialise/max_grid", [](benchmark::State& s) {
    serialise_bench(s, max_scenario().compiled,
                    [](const run_state& st) { return serialise_grid(st.percorso); });
  }));
  with_spread(benchmark::RegisterBenchmark("serialise/max_stations", [](benchmark::State& s) {
    serialise_bench(s, max_scenario().compiled,
                    [](const run_state& st) { return serialise_stations(st.stazioni); });
  }));
  return true;
}();

}  // namespace
}  // namespace scenario

BENCHMARK_MAIN();
