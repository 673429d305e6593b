// Connections, requests and event streams.
#include "preview/server.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "preview/routes.h"

namespace orrinrc::preview {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

class Session;

struct Server::Shared {
    Shared(net::io_context& io, const ServerOptions& o) : options(o), acceptor(io) {}

    ServerOptions options;
    tcp::acceptor acceptor;
    std::string url;
    std::string host;  // the Host a request must name
    std::shared_ptr<const Snapshot> snapshot;
    std::vector<std::weak_ptr<Session>> streams;
    size_t connections = 0;
    bool stopped = false;
};

namespace {

std::string_view view(beast::string_view s) { return std::string_view(s.data(), s.size()); }

// "127.0.0.1:8080", or "[::1]:8080".
std::string host_of(const tcp::endpoint& at) {
    const std::string address = at.address().to_string();
    return (at.address().is_v6() ? "[" + address + "]" : address) + ":" + std::to_string(at.port());
}

}  // namespace

// One connection: requests one after the other, until one of them asks for
// the event stream, which then holds the connection.
class Session : public std::enable_shared_from_this<Session> {
public:
    Session(tcp::socket socket, std::shared_ptr<Server::Shared> shared)
        : stream_(std::move(socket)),
          shared_(std::move(shared)),
          buffer_(shared_->options.header_limit + shared_->options.body_limit + 1024) {
        ++shared_->connections;
    }
    ~Session() { --shared_->connections; }

    void start() { read_request(); }

    // A new snapshot: one event, written once the one being written (if
    // any) is out; a page that falls behind gets only the newest.
    void tell() {
        if (!writing_) write_event();
    }

    void close() {
        beast::error_code ec;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
        stream_.socket().close(ec);
    }

private:
    void read_request() {
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(shared_->options.header_limit));
        parser_->body_limit(shared_->options.body_limit);
        stream_.expires_after(shared_->options.request_time);
        http::async_read(stream_, buffer_, *parser_, beast::bind_front_handler(&Session::on_request, shared_from_this()));
    }

    void on_request(beast::error_code ec, size_t) {
        if (ec) return close();
        const http::request<http::empty_body>& request = parser_->get();
        Reply reply;
        if (view(request[http::field::host]) != shared_->host)
            reply = Reply{403, "text/plain; charset=utf-8", "this server answers only to " + shared_->url + "\n", false};
        else
            reply = answer(*shared_->snapshot, view(request.method_string()), view(request.target()));
        if (reply.event_stream) return start_stream(request.version());
        response_.emplace(static_cast<http::status>(reply.status), request.version());
        response_->set(http::field::content_type, reply.content_type);
        set_common_fields(*response_);
        response_->keep_alive(request.keep_alive());
        response_->body() = std::move(reply.body);
        response_->prepare_payload();
        http::async_write(stream_, *response_, beast::bind_front_handler(&Session::on_response, shared_from_this()));
    }

    template <typename Message>
    static void set_common_fields(Message& m) {
        m.set(http::field::cache_control, "no-store");
        m.set("X-Content-Type-Options", "nosniff");
        // The page loads nothing from anywhere but this server.
        m.set("Content-Security-Policy", "default-src 'self'; img-src 'self'; base-uri 'none'; frame-ancestors 'none'");
    }

    void on_response(beast::error_code ec, size_t) {
        const bool keep = response_->keep_alive();
        response_.reset();
        if (ec || !keep) return close();
        read_request();
    }

    void start_stream(unsigned version) {
        stream_head_.emplace(http::status::ok, version);
        stream_head_->set(http::field::content_type, "text/event-stream");
        set_common_fields(*stream_head_);
        stream_head_->keep_alive(false);
        head_writer_.emplace(*stream_head_);
        writing_ = true;
        http::async_write_header(stream_, *head_writer_,
                                 beast::bind_front_handler(&Session::on_stream_head, shared_from_this()));
    }

    void on_stream_head(beast::error_code ec, size_t) {
        writing_ = false;
        if (ec) return close();
        stream_.expires_never();
        // Streams that ended since the last snapshot go now, so that pages
        // coming and going between saves leave nothing behind.
        std::erase_if(shared_->streams, [](const std::weak_ptr<Session>& s) { return s.expired(); });
        shared_->streams.push_back(weak_from_this());
        // Anything the page sends from now on, or its going away, ends the stream.
        stream_.async_read_some(net::buffer(ignored_),
                                [self = shared_from_this()](beast::error_code, size_t) { self->close(); });
        write_event();
    }

    void write_event() {
        sent_ = shared_->snapshot->version;
        event_ = snapshot_event(*shared_->snapshot);
        writing_ = true;
        stream_.expires_after(shared_->options.request_time);  // the write only: the read is pending
        net::async_write(stream_, net::buffer(event_), beast::bind_front_handler(&Session::on_event, shared_from_this()));
    }

    void on_event(beast::error_code ec, size_t) {
        writing_ = false;
        if (ec) return close();
        if (sent_ != shared_->snapshot->version) write_event();
    }

    beast::tcp_stream stream_;
    std::shared_ptr<Server::Shared> shared_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
    std::optional<http::response<http::string_body>> response_;
    std::optional<http::response<http::empty_body>> stream_head_;
    std::optional<http::response_serializer<http::empty_body>> head_writer_;
    std::array<char, 256> ignored_{};
    std::string event_;
    uint64_t sent_ = 0;
    bool writing_ = false;
};

namespace {

void accept(const std::shared_ptr<Server::Shared>& shared) {
    shared->acceptor.async_accept([shared](beast::error_code ec, tcp::socket socket) {
        if (shared->stopped) return;
        if (!ec) {
            if (shared->connections < shared->options.connections)
                std::make_shared<Session>(std::move(socket), shared)->start();
            else
                socket.close(ec);
        }
        accept(shared);
    });
}

}  // namespace

Server::Server(net::io_context& io, const ServerOptions& options, std::shared_ptr<const Snapshot> first)
    : shared_(std::make_shared<Shared>(io, options)) {
    const tcp::endpoint at(net::ip::make_address(options.bind), options.port);
    shared_->acceptor.open(at.protocol());
    shared_->acceptor.set_option(tcp::acceptor::reuse_address(true));
    shared_->acceptor.bind(at);
    shared_->acceptor.listen();
    shared_->host = host_of(shared_->acceptor.local_endpoint());
    shared_->url = "http://" + shared_->host + "/";
    shared_->snapshot = std::move(first);
    accept(shared_);
}

Server::~Server() { stop(); }

const std::string& Server::url() const { return shared_->url; }

void Server::publish(std::shared_ptr<const Snapshot> snapshot) {
    shared_->snapshot = std::move(snapshot);
    std::vector<std::weak_ptr<Session>> open;
    for (const std::weak_ptr<Session>& s : shared_->streams)
        if (const std::shared_ptr<Session> session = s.lock()) {
            session->tell();
            open.push_back(s);
        }
    shared_->streams = std::move(open);
}

void Server::stop() {
    if (shared_->stopped) return;
    shared_->stopped = true;
    beast::error_code ec;
    shared_->acceptor.close(ec);
    for (const std::weak_ptr<Session>& s : shared_->streams)
        if (const std::shared_ptr<Session> session = s.lock()) session->close();
    shared_->streams.clear();
}

}  // namespace orrinrc::preview
