// Watching, compiling and serving.
#include "preview/service.h"

#include <boost/asio/post.hpp>

#include "preview/watch.h"

namespace orrinrc::preview {

namespace {

// How often the watching thread looks whether it is to stop.
constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

Service::Service(boost::asio::io_context& io, ServiceOptions options)
    : io_(io),
      options_(std::move(options)),
      project_(options_.project),
      server_(io, options_.server, project_.refresh()) {}

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
    Watcher watcher;
    std::shared_ptr<const Snapshot> current = project_.current();
    // While the text does not compile, any file that appears beside the
    // text or its pictures may be the one missing.
    watcher.watch(current->files, !current->ok);
    while (!stopping_) {
        if (!wait_for_burst(watcher, kStopCheck, options_.quiet, options_.longest)) continue;
        current = project_.refresh();
        watcher.watch(current->files, !current->ok);
        boost::asio::post(io_, [this, current] { server_.publish(current); });
    }
}

}  // namespace orrinrc::preview
