// orrinrc-preview: serves a page on this machine that shows every form of a
// resource text as orrinrc-dump --preview draws it, and draws it again each
// time the text or one of its pictures is saved.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/system/system_error.hpp>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

#include "check/check_run.h"
#include "preview/service.h"
#include "util/files.h"

using namespace orrinrc;

namespace {

int usage(FILE* to, const char* argv0) {
    std::fprintf(to,
                 "usage: %s [options] FILE.rc\n"
                 "Serves a page that shows every form of FILE.rc as orrinrc-dump --preview draws it, and\n"
                 "draws the forms again whenever FILE.rc or a picture it names is saved.\n"
                 "  -I DIR         look up a relative picture name that does not exist beside FILE.rc in DIR\n"
                 "                 (repeatable, in order)\n"
                 "  --port N       the port to listen on (default 0: a free one)\n"
                 "  --bind ADDR    the IP address to listen on (default 127.0.0.1)\n"
                 "  --scale N      each device pixel N x N pixels on the page (1 to 16, default 2)\n"
                 "  --open         open the page in the desktop's browser\n"
                 "  -Wno-NAME      do not report the warning NAME (orrinrc-check --warnings lists them)\n"
                 "  -WNAME         report the warning NAME, also one that is off by default\n"
                 "  -h, --help     this text\n"
                 "  --version      the version\n"
                 "The first line on standard output is the page's address. Stop with Ctrl-C.\n",
                 argv0);
    return to == stdout ? 0 : 1;
}

int wrong(const char* argv0, const std::string& what) {
    std::fprintf(stderr, "orrinrc-preview: %s\n", what.c_str());
    return usage(stderr, argv0);
}

// A whole number from lo to hi, or -1.
long number(const char* text, long lo, long hi) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && n >= lo && n <= hi ? n : -1;
}

// Starts the desktop's browser on the page, without waiting for it.
void open_in_browser(const std::string& url) {
#ifdef _WIN32
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
#else
#ifdef __APPLE__
    const char* opener = "open";
#else
    const char* opener = "xdg-open";
#endif
    char* const args[] = {const_cast<char*>(opener), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    signal(SIGCHLD, SIG_IGN);  // not waited for: the system takes it back when it ends
    if (posix_spawnp(&pid, opener, nullptr, nullptr, args, environ) != 0)
        std::fprintf(stderr, "orrinrc-preview: cannot start %s; open %s yourself\n", opener, url.c_str());
#endif
}

}  // namespace

int main(int argc, char** argv) {
    preview::ServiceOptions options;
    bool open = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "-h" || arg == "--help") return usage(stdout, argv[0]);
        if (arg == "--version") {
            std::printf("orrinrc-preview %s\n", ORRINRC_VERSION);
            return 0;
        }
        if (arg == "-I" || arg == "--picture-dir") {
            if (!has_value) return wrong(argv[0], "a folder must follow " + arg);
            // Pictures are looked up from the text's folder: keep the folder named here.
            options.project.picture_dirs.push_back(files::anchored(argv[++i]));
        } else if (arg == "--port") {
            const long n = has_value ? number(argv[++i], 0, 65535) : -1;
            if (n < 0) return wrong(argv[0], "--port takes 0 to 65535");
            options.server.port = static_cast<unsigned short>(n);
        } else if (arg == "--scale") {
            const long n = has_value ? number(argv[++i], 1, 16) : -1;
            if (n < 0) return wrong(argv[0], "--scale takes 1 to 16");
            options.project.scale = static_cast<int>(n);
        } else if (arg == "--bind") {
            if (!has_value) return wrong(argv[0], "an IP address must follow --bind");
            options.server.bind = argv[++i];
        } else if (arg == "--open") {
            open = true;
        } else if (const check::WarningOption w = check::warning_option(arg, options.project.check);
                   w.result != check::WarningOption::NotOne) {
            if (w.result == check::WarningOption::UnknownName) {
                std::fprintf(stderr, "orrinrc-preview: no warning is named %.*s (see orrinrc-check --warnings)\n",
                             static_cast<int>(w.name.size()), w.name.data());
                return 1;
            }
        } else if (arg == "--") {
            if (i + 2 != argc || !options.project.file.empty()) return wrong(argv[0], "give one resource text file");
            options.project.file = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong(argv[0], "unknown option " + arg);
        } else {
            if (!options.project.file.empty()) return wrong(argv[0], "give one resource text file");
            options.project.file = arg;
        }
    }
    if (options.project.file.empty()) return wrong(argv[0], "no resource text file given");
    boost::system::error_code bad;
    const boost::asio::ip::address bind = boost::asio::ip::make_address(options.server.bind, bad);
    if (bad) return wrong(argv[0], "--bind takes an IP address, not " + options.server.bind);
    // A wildcard would serve every network, under a host name the server
    // cannot know and so would refuse.
    if (bind.is_unspecified()) return wrong(argv[0], "--bind takes the one address to serve on, not a wildcard");

    boost::asio::io_context io;
    std::unique_ptr<preview::Service> service;
    try {
        service = std::make_unique<preview::Service>(io, options);
    } catch (const boost::system::system_error& e) {
        std::fprintf(stderr, "orrinrc-preview: cannot listen on %s port %u: %s\n", options.server.bind.c_str(),
                     options.server.port, e.code().message().c_str());
        return 2;
    }
    std::printf("%s\n", service->url().c_str());
    std::fflush(stdout);

    boost::asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&](const boost::system::error_code& ec, int) {
        if (ec) return;
        service->stop();
        io.stop();
    });
    service->start();
    if (open) open_in_browser(service->url());
    io.run();
    return 0;
}
