// The preview as a whole: the project compiled once, the server listening,
// and a thread that waits for the files to change, compiles again and hands
// each new snapshot to the server's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <boost/asio/io_context.hpp>

#include "preview/server.h"
#include "preview/snapshot.h"
#include "preview/watch.h"

namespace orrinrc::preview {

struct ServiceOptions {
    ProjectOptions project;
    ServerOptions server;
    // A change is compiled once the files have been still this long (a
    // burst of saves is one compile), or at the latest after `longest`.
    std::chrono::milliseconds quiet{30};
    std::chrono::milliseconds longest{250};
};

class Service {
public:
    // Compiles the text and listens; throws boost::system::system_error
    // when the address cannot be listened on.
    Service(boost::asio::io_context& io, ServiceOptions options);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    const std::string& url() const { return server_.url(); }
    // Starts watching the files.
    void start();
    // Stops watching and serving; called on the io_context's thread.
    void stop();

private:
    void watch_loop();

    boost::asio::io_context& io_;
    ServiceOptions options_;
    Project project_;
    Server server_;
    // Watching from the first compile on, so that no save after the address
    // is printed goes unseen.
    Watcher watcher_;
    std::atomic<bool> stopping_{false};
    std::thread watching_;
};

}  // namespace orrinrc::preview
