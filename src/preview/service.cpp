// Watching, compiling and serving.
#include "preview/service.h"

#include <boost/asio/post.hpp>

namespace orrinrc::preview {

namespace {

// The files a snapshot read. While the text does not compile, any file that
// appears beside the text or its pictures may be the one missing.
void watch(Watcher& watcher, const Snapshot& s) { watcher.watch(s.files, !s.ok); }

// How often the watching thread looks whether it is to stop.
constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

Service::Service(boost::asio::io_context& io, ServiceOptions options)
    : io_(io),
      options_(std::move(options)),
      project_(options_.project),
      server_(io, options_.server, project_.refresh()) {
    watch(watcher_, *project_.current());
}

Service::~Service() {
    stopping_ = true;
    if (watching_.joinable()) watching_.join();
}

void Service::start() { watching_ = std::thread([this] { watch_loop(); }); }

void Service::stop() {
    stopping_ = true;
    if (watching_.joinable()) watching_.join();
    server_.stop();
}

void Service::watch_loop() {
    while (!stopping_) {
        if (!wait_for_burst(watcher_, kStopCheck, options_.quiet, options_.longest)) continue;
        std::shared_ptr<const Snapshot> current = project_.refresh();
        watch(watcher_, *current);
        boost::asio::post(io_, [this, current] { server_.publish(current); });
    }
}

}  // namespace orrinrc::preview
