// The HTTP server of the preview (Boost.Beast over Asio): answers requests
// from the current snapshot (routes.h) and keeps an event stream open for
// every page, to which it writes an event when a new snapshot comes. It
// runs on the thread that runs its io_context; publish() and stop() are
// called there too.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>

#include "preview/snapshot.h"

namespace orrinrc::preview {

struct ServerOptions {
    std::string bind = "127.0.0.1";  // an IP address
    unsigned short port = 0;         // 0: a free one
    // What one connection may take: its request's header and body, and the
    // time to send a whole request.
    size_t header_limit = 8 * 1024;
    size_t body_limit = 1024;
    std::chrono::milliseconds request_time{10000};
    // Connections open at once; more are closed as they come.
    size_t connections = 64;
};

class Server {
public:
    // Listens at once; throws boost::system::system_error when it cannot.
    Server(boost::asio::io_context& io, const ServerOptions& options, std::shared_ptr<const Snapshot> first);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // The page's address, "http://127.0.0.1:PORT/". Requests are answered
    // only when their Host is this address's host and port.
    const std::string& url() const;

    void publish(std::shared_ptr<const Snapshot> snapshot);
    // Closes the listening socket and every connection.
    void stop();

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace orrinrc::preview
