// orrinrc-preview as a process: it starts on a free port, serves the page
// and one picture per form (the same bytes as orrinrc-dump --preview),
// redraws after a save (a burst of saves is one compile), shows an error and
// clears it after a fix, answers only to its own address, never serves a
// file named by a URL, survives clients that go away, and ends cleanly on
// SIGINT and SIGTERM.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <nlohmann/json.hpp>

#include "png_read.h"
#include "preview/routes.h"
#include "test_files.h"

namespace fs = std::filesystem;
namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;
using json = nlohmann::json;
using namespace std::chrono_literals;

namespace {

// Two forms: one with a picture and a button, one with an empty NAME.
const char* const kText =
    "NAME=Main\n#FORM\nID=1000\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=80\nBOUNDS.HEIGHT=60\nFORM_STYLE=NORMAL\n"
    "FORM_TITLE=Main\nFORM_BITMAP.WIDTH=2\nFORM_BITMAP.HEIGHT=1\nFORM_BITMAP.FILE=Q_FOUR_BIT, dot.bmp\n"
    "NO_OF_OBJECTS=1\nUIOBJECT.ID=1001\nUIOBJECT.TYPE=CONTROL\n#END_FORM\n"
    "NAME=Ok\n#CONTROL\nID=1001\nOBJECT.TYPE=CONTROL\nBOUNDS.X=10\nBOUNDS.Y=20\nBOUNDS.WIDTH=40\nBOUNDS.HEIGHT=12\n"
    "CONTROL_STYLE=BUTTON\nCONTROL_TEXT=OK\nCONTROL_ATTR.VISIBLE=TRUE\n#END_CONTROL\n"
    "NAME=\n#FORM\nID=2000\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=40\nBOUNDS.HEIGHT=30\nFORM_TITLE=Two\nNO_OF_OBJECTS=0\n"
    "#END_FORM\n";

struct Answer {
    int status = 0;
    std::string type;
    std::string body;
};

class PreviewServer : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orrinrc-preview-server-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        save(kText);
        std::ofstream(dir_ / "dot.bmp", std::ios::binary) << tiny_bmp();
        signal(SIGPIPE, SIG_IGN);
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        fs::remove_all(dir_);
    }

    void save(const std::string& text) {
        std::ofstream(dir_ / "app.rc", std::ios::binary) << text;
    }

    // Starts the server on a free port and reads its address.
    void start() {
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            if (chdir(dir_.c_str()) != 0) _exit(126);
            execl(ORRINRC_PREVIEW_BIN, ORRINRC_PREVIEW_BIN, "--port", "0", "app.rc", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
        std::string line;
        char c;
        pollfd p{out_, POLLIN, 0};
        while (poll(&p, 1, 10000) > 0 && read(out_, &c, 1) == 1 && c != '\n') line += c;
        ASSERT_EQ(line.rfind("http://127.0.0.1:", 0), 0u) << line;
        host_ = line.substr(7, line.size() - 8);
        port_ = static_cast<unsigned short>(std::stoi(host_.substr(host_.find(':') + 1)));
    }

    tcp::socket connect() {
        tcp::socket s(io_);
        s.connect(tcp::endpoint(net::ip::make_address("127.0.0.1"), port_));
        return s;
    }

    Answer get(const std::string& target, const std::string& host = "", const std::string& method = "GET") {
        tcp::socket s = connect();
        http::request<http::empty_body> request(http::string_to_verb(method), target, 11);
        request.set(http::field::host, host.empty() ? host_ : host);
        http::write(s, request);
        beast::flat_buffer buffer;
        http::response<http::string_body> response;
        beast::error_code ec;
        http::read(s, buffer, response, ec);
        if (ec) return Answer{};
        return Answer{static_cast<int>(response.result_int()), std::string(response[http::field::content_type]),
                      response.body()};
    }

    json forms() { return json::parse(get("/forms.json").body); }

    // Opens the event stream; its first event is the current version.
    tcp::socket events() {
        tcp::socket s = connect();
        const std::string request = "GET /events HTTP/1.1\r\nHost: " + host_ + "\r\n\r\n";
        net::write(s, net::buffer(request));
        return s;
    }

    // Reads the stream until it holds `text`; false after `limit`.
    static bool read_until(tcp::socket& s, std::string& seen, const std::string& text,
                           std::chrono::milliseconds limit = 3000ms) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (seen.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p{s.native_handle(), POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
            char buffer[512];
            beast::error_code ec;
            const size_t n = s.read_some(net::buffer(buffer), ec);
            if (ec) return false;
            seen.append(buffer, n);
        }
        return true;
    }

    // Waits until /forms.json reports `version`.
    bool wait_version(int version, std::chrono::milliseconds limit = 3000ms) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (forms()["version"] == version) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    int stop_with(int sig) {
        kill(pid_, sig);
        int status = 0;
        for (int i = 0; i < 300 && waitpid(pid_, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(10ms);
        const pid_t gone = waitpid(pid_, &status, WNOHANG);
        if (gone == 0) return -1;  // still running after 3 s
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    net::io_context io_;
    fs::path dir_;
    pid_t pid_ = -1;
    int out_ = -1;
    std::string host_;
    unsigned short port_ = 0;
};

TEST_F(PreviewServer, ServesThePageAndEachFormAsOrrinrcDumpDrawsIt) {
    start();
    const Answer page = get("/");
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("/preview.js"), std::string::npos);
    EXPECT_EQ(get("/preview.js").type, "text/javascript; charset=utf-8");
    EXPECT_EQ(get("/preview.css?x=1").status, 200);

    const json list = forms();
    ASSERT_TRUE(list["ok"]) << list.dump();
    ASSERT_EQ(list["forms"].size(), 2u);
    EXPECT_EQ(list["forms"][0]["image"], "/forms/Main.png");
    EXPECT_EQ(list["forms"][0]["width"], 80);
    EXPECT_EQ(list["forms"][0]["objects"][0]["name"], "Ok");
    EXPECT_EQ(list["forms"][0]["objects"][0]["line"], 17);
    EXPECT_EQ(list["forms"][1]["image"], "/forms/FORM_2000.png");

    // The same pixels as the dump's previews of the compiled text, scale 2
    // (the page's PNGs are encoded for speed, the dump's for size).
    const fs::path out = dir_ / "dumped";
    fs::create_directories(out);
    const std::string cmd = "cd '" + dir_.string() + "' && '" + ORRINRC_BIN + "' -q -o dumped app.rc && '" +
                            ORRINRC_DUMP_BIN + "' --preview dumped dumped/resource.bin dumped/resource.h > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (const char* name : {"Main", "FORM_2000"}) {
        const Answer png = get(std::string("/forms/") + name + ".png");
        EXPECT_EQ(png.status, 200);
        EXPECT_EQ(png.type, "image/png");
        const fs::path served = out / (std::string(name) + "-served.png");
        std::ofstream(served, std::ios::binary) << png.body;
        GreyPicture page_pixels, dump_pixels;
        ASSERT_TRUE(read_png(served.string(), page_pixels, 3)) << name;
        ASSERT_TRUE(read_png((out / (std::string(name) + ".png")).string(), dump_pixels, 3)) << name;
        EXPECT_EQ(page_pixels.width, dump_pixels.width) << name;
        EXPECT_EQ(page_pixels.height, dump_pixels.height) << name;
        EXPECT_EQ(page_pixels.pixels, dump_pixels.pixels) << name;
    }
}

TEST_F(PreviewServer, RedrawsAfterASaveAndABurstOfSavesIsOneCompile) {
    start();
    tcp::socket stream = events();
    std::string seen;
    ASSERT_TRUE(read_until(stream, seen, "data: 1\n\n"));
    EXPECT_NE(seen.find("text/event-stream"), std::string::npos);
    const std::string before = get("/forms/Main.png").body;

    std::string text = kText;
    text.replace(text.find("CONTROL_TEXT=OK"), 15, "CONTROL_TEXT=Cancel");
    save(text);
    ASSERT_TRUE(read_until(stream, seen, "data: 2\n\n"));
    EXPECT_NE(get("/forms/Main.png").body, before);

    // Ten saves, each well within the server's quiet time (30 ms) of the one
    // before and all within its longest burst (250 ms), are one compile. On
    // a busy machine this test may itself pause between two saves for longer
    // than that; such a burst proves nothing, and is made again.
    int version = 2;
    bool burst_seen = false;
    for (int attempt = 0; attempt < 5 && !burst_seen; ++attempt) {
        const auto first = std::chrono::steady_clock::now();
        auto last = first;
        auto widest_gap = 0ms;
        for (int i = 0; i < 10; ++i) {
            text.replace(text.find("BOUNDS.X=") + 9, 2, std::to_string(10 + attempt * 10 + i));
            save(text);
            const auto now = std::chrono::steady_clock::now();
            widest_gap = std::max(widest_gap, std::chrono::duration_cast<std::chrono::milliseconds>(now - last));
            last = now;
            std::this_thread::sleep_for(5ms);
        }
        const bool burst = widest_gap < 20ms && last - first < 150ms;
        ASSERT_TRUE(read_until(stream, seen, "data: " + std::to_string(version + 1) + "\n\n"));
        std::this_thread::sleep_for(400ms);
        const int now_version = forms()["version"];
        if (burst) {
            EXPECT_EQ(now_version, version + 1);
        }
        burst_seen = burst;
        version = now_version;
    }
    if (!burst_seen) GTEST_SKIP() << "the machine was too busy to save ten times within the server's quiet time";

    // A changed picture is a change too.
    std::string bmp = tiny_bmp();
    bmp.back() = static_cast<char>(0x80);  // the row 1 0
    std::ofstream(dir_ / "dot.bmp", std::ios::binary) << bmp;
    EXPECT_TRUE(read_until(stream, seen, "data: " + std::to_string(version + 1) + "\n\n"));
}

TEST_F(PreviewServer, AnErrorKeepsTheLastScreensAndAFixClearsIt) {
    start();
    const std::string good = get("/forms/Main.png").body;
    std::string text = kText;
    text.replace(text.find("BOUNDS.WIDTH=40"), 15, "BOUNDS.WIDTH=4x");
    save(text);
    ASSERT_TRUE(wait_version(2));
    json list = forms();
    EXPECT_FALSE(list["ok"]);
    ASSERT_EQ(list["forms"].size(), 2u);  // the last good ones
    EXPECT_EQ(get("/forms/Main.png").body, good);
    ASSERT_FALSE(list["diagnostics"].empty());
    const json& d = list["diagnostics"][0];
    EXPECT_EQ(d["severity"], "error");
    EXPECT_EQ(d["file"], "app.rc");
    EXPECT_EQ(d["line"], 22);
    EXPECT_EQ(d["column"], 14);
    EXPECT_EQ(d["source"], "BOUNDS.WIDTH=4x");

    // A missing picture is an error until it appears, under its own name.
    fs::rename(dir_ / "dot.bmp", dir_ / "dot.old");
    save(kText);
    ASSERT_TRUE(wait_version(3));
    EXPECT_FALSE(forms()["ok"]);
    fs::rename(dir_ / "dot.old", dir_ / "dot.bmp");
    ASSERT_TRUE(wait_version(4));
    list = forms();
    EXPECT_TRUE(list["ok"]);
    for (const json& d : list["diagnostics"]) EXPECT_EQ(d["severity"], "warning") << d.dump();
}

TEST_F(PreviewServer, WarningsStandUnderTheFormTheyConcern) {
    std::string text = kText;
    text.replace(text.find("BOUNDS.X=10"), 11, "BOUNDS.X=70");  // the button reaches outside Main
    save(text);
    start();
    const json list = forms();
    ASSERT_TRUE(list["ok"]);
    ASSERT_EQ(list["forms"][0]["warnings"].size(), 1u);
    EXPECT_EQ(list["forms"][0]["warnings"][0]["warning"], "-Woutside-form");
    // The empty NAME= of the second form, on the line before its definition.
    ASSERT_EQ(list["forms"][1]["warnings"].size(), 1u);
    EXPECT_EQ(list["forms"][1]["warnings"][0]["warning"], "-Wname");
    EXPECT_EQ(list["diagnostics"].size(), 2u);
}

TEST_F(PreviewServer, AnswersOnlyItsOwnAddressAndServesNoFileFromAUrl) {
    start();
    for (const std::string& host : {"evil.example:" + std::to_string(port_), "localhost:" + std::to_string(port_),
                                   std::string("127.0.0.1"), std::string("127.0.0.1:1")})
        EXPECT_EQ(get("/", host).status, 403) << host;
    {
        tcp::socket s = connect();  // no Host at all
        net::write(s, net::buffer(std::string("GET / HTTP/1.0\r\n\r\n")));
        std::string seen;
        EXPECT_TRUE(read_until(s, seen, "403"));
    }
    for (const char* target : {"/../../etc/passwd", "/forms/../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd",
                               "/forms/..%2f..%2fetc%2fpasswd.png", "/forms/%2e%2e%2fapp.rc.png", "/app.rc",
                               "/forms/dot.bmp", "/forms/Main.png/../../app.rc", "/forms/%zz.png", "/forms/.png",
                               "//etc/passwd", "/forms/Main%00.png"})
        EXPECT_EQ(get(target).status, 404) << target;
    EXPECT_EQ(get("/", "", "POST").status, 405);

    // Requests too large are refused and cost the server nothing lasting.
    {
        tcp::socket s = connect();
        const std::string big = "GET / HTTP/1.1\r\nHost: " + host_ + "\r\nX-Big: " + std::string(64 * 1024, 'a') +
                                "\r\n\r\n";
        beast::error_code ec;
        net::write(s, net::buffer(big), ec);
        std::string seen;
        EXPECT_FALSE(read_until(s, seen, "200 OK", 1000ms));
    }
    EXPECT_EQ(get("/").status, 200);
}

TEST_F(PreviewServer, ClientsThatGoAwayCostNothing) {
    start();
    for (int i = 0; i < 20; ++i) {
        tcp::socket s = events();
        std::string seen;
        ASSERT_TRUE(read_until(s, seen, "data: 1"));
    }  // each closed here, mid-stream
    {
        tcp::socket half = connect();  // half a request, then gone
        net::write(half, net::buffer(std::string("GET /forms.js")));
    }
    save(std::string(kText) + "\n");
    ASSERT_TRUE(wait_version(2));
    EXPECT_EQ(get("/").status, 200);
}

TEST_F(PreviewServer, EndsCleanlyOnSigintAndSigterm) {
    for (int sig : {SIGINT, SIGTERM}) {
        start();
        tcp::socket stream = events();  // an open stream does not hold it
        std::string seen;
        ASSERT_TRUE(read_until(stream, seen, "data: 1"));
        EXPECT_EQ(stop_with(sig), 0) << sig;
        close(out_);
        out_ = -1;
    }
}

TEST(PreviewRoutes, NamesInUrlsAreDecodedOnlyToBeCompared) {
    std::string out;
    EXPECT_TRUE(orrinrc::preview::percent_decode("a%20b%2F", out));
    EXPECT_EQ(out, "a b/");
    EXPECT_FALSE(orrinrc::preview::percent_decode("a%2", out));
    EXPECT_FALSE(orrinrc::preview::percent_decode("%g0", out));
}

}  // namespace
