// The page of the picture the language server serves: watch's page, drawn
// from the editor's texts with each object naming its record.
#include "cli/lsp_setup.h"
#include "draw/route_picture.h"
#include "draw/watch_page.h"
#include "platform/page_server.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

class served_picture final : public picture_page {
 public:
  explicit served_picture(std::unique_ptr<page_server> server) : server_(std::move(server)) {}
  ~served_picture() override { server_->stop(); }

  int port() const override { return server_->port(); }

  void show(const std::string& title, const compile_result& r, bool good,
            std::vector<diagnostic> found, std::chrono::steady_clock::time_point start) override {
    picture_options options;
    options.sources = &r.sources;
    options.record_ids = true;
    options.line_file = std::string(file_name_of(r.line_name));
    options.train_file = std::string(file_name_of(r.train_name));
    // Another pair starts its page afresh: no picture of the one before.
    if (title != view_.title) {
      const std::uint64_t version = view_.version;
      view_ = watch_view();
      view_.title = title;
      view_.version = version;
    }
    record_compile(view_, r, good, std::move(found), time_of_day(), start, options);
    server_->publish(watch_files(view_), watch_event(view_));
  }

  void mark(const std::string& record) override {
    // The record is "line:N" or "train:N": nothing in it needs escaping.
    server_->mark("{\"record\":\"" + record + "\"}");
  }

  void take_selections(std::function<void(std::string body)> take) override {
    server_->take_selections(std::move(take));
  }

 private:
  std::unique_ptr<page_server> server_;
  watch_view view_;
};

}  // namespace

std::unique_ptr<picture_page> start_picture_page() {
  std::unique_ptr<page_server> server = start_page_server(0);
  if (!server) return nullptr;
  return std::make_unique<served_picture>(std::move(server));
}

}  // namespace scenario
