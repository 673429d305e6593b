// Drives orrinrc-lsp as an editor does and times it on one document:
//
//   lsp_client <orrinrc-lsp> <file.rc> [symbol-repeats]
//
// opens the file (as a file: URI, so that its pictures are found beside
// it), waits for its diagnostics, asks for a completion on the middle line,
// then for the document's symbols (the first request and the best of the
// repeats), and reads the server's peak resident memory before shutting it
// down. Prints one "name value" line per figure. A time runs from the
// message's last byte sent to the answer's last byte received; the answer is
// parsed only after that, so that the client's own JSON work is not counted.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

using json = nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace {

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "lsp_client: %s\n", why.c_str());
    std::exit(1);
}

class Server {
public:
    explicit Server(const char* binary) {
        int to[2], from[2];
        if (pipe(to) != 0 || pipe(from) != 0) fail("no pipe");
        pid_ = fork();
        if (pid_ < 0) fail("cannot start the server");
        if (pid_ == 0) {
            dup2(to[0], STDIN_FILENO);
            dup2(from[1], STDOUT_FILENO);
            close(to[0]);
            close(to[1]);
            close(from[0]);
            close(from[1]);
            execl(binary, binary, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(to[0]);
        close(from[1]);
        in_ = to[1];
        out_ = from[0];
    }

    void send(const json& message) {
        const std::string body = message.dump();
        const std::string bytes = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = write(in_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) fail("the server stopped reading");
            done += static_cast<size_t>(n);
        }
    }
    void request(int id, const std::string& method, json params) {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
    }
    void notify(const std::string& method, json params) {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }

    // The body of the next message, unparsed.
    std::string receive() {
        for (;;) {
            const size_t header_end = buf_.find("\r\n\r\n");
            if (header_end != std::string::npos) {
                const size_t at = buf_.find("Content-Length: ");
                const size_t length = std::strtoul(buf_.c_str() + at + 16, nullptr, 10);
                if (buf_.size() >= header_end + 4 + length) {
                    std::string body = buf_.substr(header_end + 4, length);
                    buf_.erase(0, header_end + 4 + length);
                    return body;
                }
            }
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 600000) <= 0) fail("no answer in ten minutes");
            char chunk[1 << 16];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) fail("the server ended");
            buf_.append(chunk, static_cast<size_t>(n));
        }
    }
    // The next message that is no notification: the answer to the request
    // in flight (one at a time here).
    std::string answer() {
        for (;;) {
            std::string body = receive();
            if (body.find("\"method\"") == std::string::npos || body.find("\"id\"") != std::string::npos) return body;
        }
    }

    // The CPU time of the server's main thread (where it reads, checks and
    // answers), in seconds.
    double cpu_s() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/schedstat");
        unsigned long long ns = 0;
        stat >> ns;
        return static_cast<double>(ns) / 1e9;
    }

    // VmHWM of the server, in kB.
    long peak_kb() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
        return -1;
    }

    int stop() {
        request(999999, "shutdown", nullptr);
        answer();
        notify("exit", nullptr);
        close(in_);
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    std::string buf_;
};

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <orrinrc-lsp> <file.rc> [symbol-repeats]\n", argv[0]);
        return 2;
    }
    const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    char path[PATH_MAX];
    if (!realpath(argv[2], path)) fail(std::string("no such file: ") + argv[2]);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    const std::string text = read.str();
    const std::string uri = std::string("file://") + path;
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));

    signal(SIGPIPE, SIG_IGN);
    Server server(argv[1]);
    server.request(1, "initialize", {{"processId", nullptr}, {"capabilities", json::object()}});
    server.answer();
    server.notify("initialized", json::object());

    auto start = Clock::now();
    double cpu = server.cpu_s();
    server.notify("textDocument/didOpen",
                  {{"textDocument", {{"uri", uri}, {"languageId", "orrinrc"}, {"version", 1}, {"text", text}}}});
    std::string body;
    do body = server.receive();
    while (body.find("textDocument/publishDiagnostics") == std::string::npos);
    const double diagnostics_s = seconds_since(start);
    const double diagnostics_cpu = server.cpu_s() - cpu;
    const size_t diagnostics = json::parse(body)["params"]["diagnostics"].size();

    // A completion at the start of the middle line: the scanner runs over
    // the first half of the document.
    start = Clock::now();
    cpu = server.cpu_s();
    server.request(2, "textDocument/completion",
                   {{"textDocument", {{"uri", uri}}}, {"position", {{"line", lines / 2}, {"character", 0}}}});
    body = server.answer();
    const double completion_s = seconds_since(start);
    const double completion_cpu = server.cpu_s() - cpu;
    const size_t items = json::parse(body)["result"].size();

    double first_symbols_s = 0, best_symbols_s = 1e9, best_symbols_cpu = 1e9;
    size_t symbols = 0;
    for (int i = 0; i < repeats; ++i) {
        start = Clock::now();
        cpu = server.cpu_s();
        server.request(3 + i, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}});
        body = server.answer();
        const double s = seconds_since(start);
        if (i == 0) first_symbols_s = s;
        best_symbols_s = std::min(best_symbols_s, s);
        best_symbols_cpu = std::min(best_symbols_cpu, server.cpu_s() - cpu);
        symbols = json::parse(body)["result"].size();
    }
    const long peak_kb = server.peak_kb();
    const int code = server.stop();

    std::printf("document        %.1f MB, %zu lines\n", static_cast<double>(text.size()) / 1048576.0, lines);
    std::printf("diagnostics     %.3f s (server CPU %.3f s) after didOpen, %zu diagnostics\n", diagnostics_s,
                diagnostics_cpu, diagnostics);
    std::printf("completion      %.3f s (server CPU %.3f s), %zu items\n", completion_s, completion_cpu, items);
    std::printf("documentSymbol  %.3f s first, %.3f s best of %d (server CPU %.3f s), %zu symbols\n",
                first_symbols_s, best_symbols_s, repeats, best_symbols_cpu, symbols);
    std::printf("peak memory     %.1f MB\n", static_cast<double>(peak_kb) / 1024.0);
    if (code != 0) fail("the server's exit code was " + std::to_string(code));
    return 0;
}
