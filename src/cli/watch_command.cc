// watch: an author's two descriptions compiled and drawn at start and after
// every save of either, with the diagnostics on the terminal each time and,
// with --serve, on a page that updates itself.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/picture_stretch.h"
#include "cli/warning_options.h"
#include "common/diagnostic.h"
#include "draw/route_picture.h"
#include "draw/watch_page.h"
#include "model/file_names.h"
#include "model/plan_runs.h"
#include "model/scenario_constants.h"
#include "platform/file_watch.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/interrupts.h"
#include "platform/page_server.h"
#include "run/binary_files.h"
#include "run/compile.h"
#include "run/diagnostics.h"
#include "sources/description_encoding.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

// A description as the compile gets it, read afresh and made Windows-1252;
// a character that set lacks is told in refused.
description read_description(const std::string& path, std::string& text,
                             description_encoding encoding, std::vector<diagnostic>& refused) {
  description d;
  d.name = path;
  try {
    text = read_description_text(path);
    if (std::optional<diagnostic> why = decode_description(path, text, encoding))
      refused.push_back(std::move(*why));
    d.text = text;
  } catch (const io_error& e) {
    d.exists = file_exists(path);
    d.unreadable = e.what();
  }
  return d;
}

class watch_session {
 public:
  watch_session(const command_options& o, const scenario_names& names,
                description_encoding encoding, page_server* server, std::ostream& err)
      : o_(o), names_(names), encoding_(encoding), server_(server), err_(err) {
    read_stretch(o, picture_);
    picture_.line_file = o.operands[0];
    picture_.train_file = o.operands[1];
    view_.title = o.operands[0] + " and " + o.operands[1];
  }

  // Reads, compiles and draws once; tells the terminal, the page and, with
  // -o, the binary files.
  void round() {
    const auto start = std::chrono::steady_clock::now();
    std::string line_text, train_text;
    std::vector<diagnostic> refused;
    compile_input in{names_.nome_linea, names_.numero_treno, true,
                     read_description(o_.operands[0], line_text, encoding_, refused),
                     read_description(o_.operands[1], train_text, encoding_, refused)};
    // An editor may tell of one save more than once: unchanged texts give
    // nothing new.
    if (in.line.text && in.train.text && view_.version > 0 && line_text == last_line_ &&
        train_text == last_train_)
      return;
    last_line_ = line_text;
    last_train_ = train_text;
    in.trace_sources = true;
    // A description that cannot be made Windows-1252 is not compiled.
    const compile_result r = refused.empty() ? compile(in) : compile_result{};
    std::vector<diagnostic> found = apply_warning_options(
        refused.empty() ? compile_diagnostics(r, /*with_warnings=*/true) : std::move(refused), o_);
    if (!r.stamp_conflict.empty()) found.push_back(stamp_conflict_diagnostic(r));
    // A warning made an error by -Werror=GROUP stops the files as a fault does.
    const bool warning_made_error =
        std::any_of(found.begin(), found.end(), [](const diagnostic& d) {
          return d.level == severity::error && d.group != warning_group::none;
        });
    const bool good =
        r.has_grid() && r.st.faults.empty() && r.stamp_conflict.empty() && !warning_made_error;

    if (good && o_.output) write_files(r, found);
    record_compile(view_, r, good, std::move(found), time_of_day(), start, picture_);
    for (const diagnostic& d : view_.diagnostics) err_ << format_diagnostic(d);
    err_ << "watch: " << view_.status << std::endl;
    if (server_ != nullptr) server_->publish(watch_files(view_), watch_event(view_));
  }

 private:
  void write_files(const compile_result& r, std::vector<diagnostic>& found) {
    try {
      write_binary_files(r.st, *o_.output);
    } catch (const failure& f) {
      found.push_back(f.what_failed());
    }
  }

  const command_options& o_;
  const scenario_names& names_;
  description_encoding encoding_;
  page_server* server_;
  std::ostream& err_;
  picture_options picture_;
  watch_view view_;
  std::string last_line_;
  std::string last_train_;
};

// The port of --serve: 0 (a free one) when not given.
std::optional<int> serve_port(const std::string& text) {
  if (text.empty()) return 0;
  if (text.size() > 5) return std::nullopt;
  const int port = std::stoi(text);
  return port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

}  // namespace

int watch_command(const command_options& o, command_start& start, std::ostream& out,
                  std::ostream& err) {
  const command_info* self = find_command("watch");
  const scenario_names& names = start.names;
  picture_options stretch;
  if (const std::string why = read_stretch(o, stretch); !why.empty())
    return usage_error(err, why, self);
  // The option parser takes no other name.
  const description_encoding encoding = *encoding_named(o.encoding);
  std::optional<int> port;
  if (o.serve) {
    port = serve_port(*o.serve);
    if (!port) return usage_error(err, "--serve '" + *o.serve + "' is not a port number", self);
    if (!page_server_built())
      return report_failure(err, program_diagnostic(std::string(page_server_missing())));
  }
  if (o.output) {
    if (const std::string why = make_folder(*o.output); !why.empty())
      return report_failure(err, program_diagnostic(why));
    for (const std::string& written :
         {plan_file_name(names.nome_linea), grid_file_name(names.nome_linea, names.numero_treno),
          station_file_name(names.nome_linea, names.numero_treno)})
      for (const std::string& input : o.operands)
        if (same_file(join_path(*o.output, written), input))
          return report_failure(
              err, program_diagnostic("the output '" + join_path(*o.output, written) +
                                      "' is the input '" + input + "'; choose another folder"));
  }

  // Watching starts before the first compile, so that no save is missed.
  file_watch watch({o.operands[0], o.operands[1]});
  std::unique_ptr<page_server> server;
  if (port) server = start_page_server(*port);
  const stop_on_interrupt interrupts(watch);
  err << "watch: watching " << o.operands[0] << " and " << o.operands[1] << " (Ctrl-C ends)"
      << std::endl;
  watch_session session(o, names, encoding, server.get(), err);
  session.round();
  // Told once the page has something to show.
  if (server) out << "serving the page at http://127.0.0.1:" << server->port() << "/" << std::endl;
  while (watch.wait(-1) == file_watch::outcome::saved) session.round();
  if (server) server->stop();
  err << "watch: stopped" << std::endl;
  return k_status_ok;
}

}  // namespace scenario
