// orrinrc-lsp driven as an editor drives it: framed JSON-RPC messages over
// its standard input and output, to the program or to a server in this
// process.
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "check/check_run.h"
#include "lsp/analysis.h"
#include "lsp/json_text.h"
#include "lsp/server.h"

using json = nlohmann::json;

namespace {

std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

class Client {
public:
    // Starts orrinrc-lsp; `in_child` runs in its process before the program does.
    explicit Client(const std::function<void()>& in_child = {}) {
        int to[2], from[2];
        EXPECT_EQ(pipe(to), 0);
        EXPECT_EQ(pipe(from), 0);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(to[0], STDIN_FILENO);
            dup2(from[1], STDOUT_FILENO);
            close(to[1]);
            close(from[0]);
            if (in_child) in_child();
            execl(ORRINRC_LSP_BIN, ORRINRC_LSP_BIN, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(to[0]);
        close(from[1]);
        in_ = to[1];
        out_ = from[0];
        signal(SIGPIPE, SIG_IGN);
    }
    // Talks to a server that reads `in` and writes `out` (both ends are the
    // client's to close).
    Client(int in, int out) : in_(in), out_(out) { signal(SIGPIPE, SIG_IGN); }
    ~Client() {
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void send_raw(const std::string& bytes) {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = write(in_, bytes.data() + done, bytes.size() - done);
            ASSERT_GT(n, 0);
            done += static_cast<size_t>(n);
        }
    }
    void send_body(const std::string& body) {
        send_raw("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    }
    void notify(const std::string& method, json params) {
        send_body(dump(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}}));
    }
    int send_request(const std::string& method, json params) {
        const int id = next_id_++;
        send_body(dump(json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}}));
        return id;
    }

    // The next message, or a discarded value after 20 seconds or at the end.
    json receive() {
        for (;;) {
            const size_t header_end = buf_.find("\r\n\r\n");
            if (header_end != std::string::npos) {
                const size_t at = buf_.find("Content-Length: ");
                const size_t length = std::strtoul(buf_.c_str() + at + 16, nullptr, 10);
                if (buf_.size() >= header_end + 4 + length) {
                    const std::string body = buf_.substr(header_end + 4, length);
                    buf_.erase(0, header_end + 4 + length);
                    return json::parse(body);
                }
            }
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 20000) <= 0) return json(json::value_t::discarded);
            char chunk[65536];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) return json(json::value_t::discarded);
            buf_.append(chunk, static_cast<size_t>(n));
        }
    }
    // The first message that `wanted` accepts; others are kept for later.
    json receive_where(const std::function<bool(const json&)>& wanted) {
        for (auto it = kept_.begin(); it != kept_.end(); ++it)
            if (wanted(*it)) {
                json m = *it;
                kept_.erase(it);
                return m;
            }
        for (;;) {
            json m = receive();
            if (m.is_discarded() || wanted(m)) return m;
            kept_.push_back(std::move(m));
        }
    }
    json response(int id) {
        return receive_where([id](const json& m) { return m.contains("id") && m["id"] == id; });
    }
    json request(const std::string& method, json params) { return response(send_request(method, std::move(params))); }
    json diagnostics(const std::string& uri) {
        return receive_where([&](const json& m) {
            return m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri;
        });
    }

    void initialize(json capabilities = json::object()) {
        const json r = request("initialize", {{"processId", nullptr}, {"capabilities", capabilities}});
        ASSERT_TRUE(r.contains("result")) << r.dump();
        notify("initialized", json::object());
    }
    void open(const std::string& uri, const std::string& text) {
        notify("textDocument/didOpen",
               {{"textDocument", {{"uri", uri}, {"languageId", "orrinrc"}, {"version", 1}, {"text", text}}}});
    }
    json at(const std::string& method, const std::string& uri, int line, int character) {
        return request(method, {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}});
    }

    // Ends the server as an editor does; its exit code.
    int shut_down() {
        request("shutdown", nullptr);
        return exit_code();
    }
    // Sends the exit notification; the server's exit code.
    int exit_code() {
        notify("exit", nullptr);
        close(in_);
        in_ = -1;
        int status = 0;
        waitpid(pid_, &status, 0);
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    bool alive() { return waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Stops reading the server's messages.
    void close_output() {
        close(out_);
        out_ = -1;
    }

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    int next_id_ = 1;
    bool exited_ = false;
    std::string buf_;
    std::vector<json> kept_;
};

const char* const kUri = "file:///nonexistent-folder/screen.rc";

// A form that lists a control and gives a focus that wraps, and the control.
const char* const kScreen =
    "#FORM\n"                    // 0
    "ID=1\n"                     // 1
    "NAME=MAIN_FORM\n"           // 2
    "OBJECT.TYPE=FORM\n"         // 3
    "BOUNDS.WIDTH=160\n"         // 4
    "BOUNDS.HEIGHT=160\n"        // 5
    "FORM_STYLE=NORMAL\n"        // 6
    "NO_OF_OBJECTS=1\n"          // 7
    "OBJECT_ID=5\n"              // 8
    "OBJECT_TYPE=CONTROL\n"      // 9
    "FOCUSED_OBJECT=70000\n"     // 10
    "\n"                         // 11
    "#END_FORM\n"                // 12
    "#CONTROL\n"                 // 13
    "ID=5\n"                     // 14
    "NAME=OK_BUTTON\n"           // 15
    "OBJECT.TYPE=CONTROL\n"      // 16
    "CONTROL_STYLE=BUTTON\n"     // 17
    "CONTROL_ADD.RADIUS=3\n"     // 18
    "#END_CONTROL\n";            // 19

std::vector<std::string> labels(const json& response) {
    std::vector<std::string> out;
    for (const json& item : response["result"]) out.push_back(item["label"]);
    return out;
}

// The first diagnostic whose `key` is `value`, or null.
json with(const json& diagnostics, const char* key, const json& value) {
    for (const json& d : diagnostics)
        if (d.contains(key) && d[key] == value) return d;
    return json(nullptr);
}

bool has(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

TEST(Lsp, InitializeAnnouncesFeaturesAndShutdownEndsCleanly) {
    Client c;
    const json r = c.request("initialize", {{"processId", nullptr}, {"capabilities", json::object()}});
    const json& caps = r["result"]["capabilities"];
    EXPECT_EQ(caps["positionEncoding"], "utf-16");
    EXPECT_EQ(caps["textDocumentSync"]["change"], 2);
    EXPECT_TRUE(caps["hoverProvider"].get<bool>());
    EXPECT_TRUE(caps["definitionProvider"].get<bool>());
    EXPECT_TRUE(caps["documentSymbolProvider"].get<bool>());
    EXPECT_EQ(c.shut_down(), 0);
}

TEST(Lsp, ExitWithoutShutdownIsAFailure) {
    Client c;
    c.initialize();
    EXPECT_EQ(c.exit_code(), 1);
}

TEST(Lsp, DiagnosticsOnOpenAndOnEveryChange) {
    Client c;
    c.initialize();
    // A typo in a value: an error with the range of the word and the
    // state's help in the message.
    c.open(kUri, "#FORM\nID=1\nFORM_STYLE=NORMALL\n#END_FORM\n");
    json d = c.diagnostics(kUri)["params"]["diagnostics"];
    ASSERT_EQ(d.size(), 1u) << d.dump();
    EXPECT_EQ(d[0]["severity"], 1);
    EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 2}, {"character", 11}}));
    EXPECT_EQ(d[0]["range"]["end"], (json{{"line", 2}, {"character", 18}}));
    EXPECT_NE(d[0]["message"].get<std::string>().find("did you mean 'NORMAL'?"), std::string::npos);

    // The fix, as an incremental change: now the missing name is the error,
    // with the definition's opening line.
    c.notify("textDocument/didChange",
             {{"textDocument", {{"uri", kUri}, {"version", 2}}},
              {"contentChanges", {{{"range", {{"start", {{"line", 2}, {"character", 17}}}, {"end", {{"line", 2}, {"character", 18}}}}},
                                   {"text", ""}}}}});
    d = c.diagnostics(kUri)["params"]["diagnostics"];
    const json error = with(d, "severity", 1);
    EXPECT_EQ(error["range"]["start"]["line"], 0) << d.dump();
    EXPECT_NE(error.value("message", "").find("has no NAME= line"), std::string::npos) << d.dump();

    // Warnings carry their name as the code; a note with a place is related
    // information.
    c.notify("textDocument/didChange",
             {{"textDocument", {{"uri", kUri}, {"version", 3}}}, {"contentChanges", {{{"text", kScreen}}}}});
    d = c.diagnostics(kUri)["params"]["diagnostics"];
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(d[0]["code"], "number-range");
    EXPECT_EQ(d[0]["severity"], 2);
    EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 10}, {"character", 15}}));
    EXPECT_EQ(d[0]["range"]["end"], (json{{"line", 10}, {"character", 20}}));

    c.open("file:///nonexistent-folder/dup.rc",
           "#FORM\nID=1\nNAME=A\nOBJECT.TYPE=FORM\n#END_FORM\n#FORM\nID=1\nNAME=A\nOBJECT.TYPE=FORM\n#END_FORM\n");
    d = c.diagnostics("file:///nonexistent-folder/dup.rc")["params"]["diagnostics"];
    bool related = false;
    for (const json& x : d)
        if (x.value("code", "") == "duplicate-name") {
            related = true;
            EXPECT_EQ(x["range"]["start"]["line"], 7);
            EXPECT_EQ(x["relatedInformation"][0]["location"]["range"]["start"]["line"], 2);
        }
    EXPECT_TRUE(related) << d.dump();
    EXPECT_EQ(c.shut_down(), 0);
}

TEST(Lsp, PositionsCountUtf16UnitsOrBytesAsAgreed) {
    // "é" is two bytes and one UTF-16 unit, "𝄞" four bytes and two units.
    const std::string doc = "#STRING\nNAME=S\nID=1\nOBJECT.TYPE=STRING\nSTRING_TEXT=\xC3\xA9\xF0\x9D\x84\x9E //x\n";
    {
        Client c;
        c.initialize();
        c.open(kUri, doc + "#END_STRING\n");
        const json d = c.diagnostics(kUri)["params"]["diagnostics"];
        EXPECT_EQ(with(d, "code", "text-comment")["range"]["start"], (json{{"line", 4}, {"character", 16}})) << d.dump();
    }
    {
        Client c;
        c.initialize({{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}});
        c.open(kUri, doc + "#END_STRING\n");
        const json d = c.diagnostics(kUri)["params"]["diagnostics"];
        EXPECT_EQ(with(d, "code", "text-comment")["range"]["start"], (json{{"line", 4}, {"character", 19}})) << d.dump();
    }
}

TEST(Lsp, CompletionOffersWhatTheScannerTakesThere) {
    Client c;
    c.initialize();
    c.open(kUri, kScreen);
    // A line of its own inside the FORM: its statements, each with a line on
    // what it sets, and not those of other kinds.
    json r = c.at("textDocument/completion", kUri, 11, 0);
    std::vector<std::string> l = labels(r);
    EXPECT_TRUE(has(l, "FORM_STYLE=") && has(l, "FOCUSED_OBJECT=") && has(l, "#END_FORM") && has(l, "BOUNDS."));
    EXPECT_FALSE(has(l, "CONTROL_STYLE=") || has(l, "#FORM"));
    for (const json& item : r["result"]) EXPECT_FALSE(item.value("detail", "").empty()) << item.dump();

    // After FORM_STYLE=: the four styles, replacing the word begun.
    c.notify("textDocument/didChange",
             {{"textDocument", {{"uri", kUri}, {"version", 2}}},
              {"contentChanges", {{{"range", {{"start", {{"line", 11}, {"character", 0}}}, {"end", {{"line", 11}, {"character", 0}}}}},
                                   {"text", "FORM_STYLE=NO"}}}}});
    r = c.at("textDocument/completion", kUri, 11, 13);
    EXPECT_EQ(labels(r), (std::vector<std::string>{"BACKGROUND", "NORMAL", "BITMAP_DIALOG", "NON_BITMAP_DIALOG"}));
    EXPECT_EQ(r["result"][1]["textEdit"]["range"]["start"], (json{{"line", 11}, {"character", 11}}));
    EXPECT_EQ(r["result"][1]["textEdit"]["range"]["end"], (json{{"line", 11}, {"character", 13}}));

    // A mistake above the place (FORM_STYLE=NO) does not keep the statements below from completing.
    l = labels(c.at("textDocument/completion", kUri, 18, 12));
    EXPECT_EQ(l, (std::vector<std::string>{"RADIUS=", "COLOR_ON=", "COLOR_OFF="}));
    l = labels(c.at("textDocument/completion", kUri, 13, 2));
    EXPECT_TRUE(has(l, "#CONTROL") && has(l, "#TABLE") && !has(l, "#END_FORM"));
    // Inside a text there is nothing to offer.
    EXPECT_TRUE(labels(c.at("textDocument/completion", kUri, 2, 8)).empty());
    EXPECT_EQ(c.shut_down(), 0);
}

TEST(Lsp, HoverSaysWhatAStatementSetsAndWhatANumberKeeps) {
    Client c;
    c.initialize();
    c.open(kUri, kScreen);
    json r = c.at("textDocument/hover", kUri, 6, 3);
    std::string text = r["result"]["contents"]["value"];
    EXPECT_NE(text.find("the FORM's style"), std::string::npos) << text;
    EXPECT_NE(text.find("NON_BITMAP_DIALOG"), std::string::npos) << text;
    EXPECT_EQ(r["result"]["range"]["end"], (json{{"line", 6}, {"character", 11}}));

    r = c.at("textDocument/hover", kUri, 10, 17);
    text = r["result"]["contents"]["value"];
    EXPECT_NE(text.find("0 to 65535"), std::string::npos) << text;
    EXPECT_NE(text.find("stored as 4464"), std::string::npos) << text;

    EXPECT_TRUE(c.at("textDocument/hover", kUri, 11, 0)["result"].is_null());
    EXPECT_EQ(c.shut_down(), 0);
}

// The object list's UIOBJECT. spelling hovers like OBJECT_ID=; a BUTTON's
// lines are not offered the repeat button's picture, a REPEAT_BUTTON's are.
TEST(Lsp, ObjectListHoverAndAControlStylesStatements) {
    Client c;
    c.initialize();
    c.open(kUri,
           "#FORM\nID=1\nNAME=F\nOBJECT.TYPE=FORM\nNO_OF_OBJECTS=1\nUIOBJECT.ID=5\nUIOBJECT.TYPE=CONTROL\n#END_FORM\n"
           "#CONTROL\nID=5\nNAME=B\nOBJECT.TYPE=CONTROL\nCONTROL_STYLE=BUTTON\n\n#END_CONTROL\n"     // 8..14
           "#CONTROL\nID=6\nNAME=R\nOBJECT.TYPE=CONTROL\nCONTROL_STYLE=REPEAT_BUTTON\n\n#END_CONTROL\n");  // 15..21
    for (int line : {5, 6}) {
        const json r = c.at("textDocument/hover", kUri, line, 3);
        ASSERT_TRUE(r["result"].is_object()) << line;
        const std::string text = r["result"]["contents"]["value"];
        EXPECT_NE(text.find("object list"), std::string::npos) << text;
    }
    std::vector<std::string> l = labels(c.at("textDocument/completion", kUri, 13, 0));
    EXPECT_TRUE(has(l, "CONTROL_ADD.") && has(l, "CONTROL_TEXT="));
    EXPECT_FALSE(has(l, "CONTROL_BITMAP.") || has(l, "CONTROL_VALUE="));
    l = labels(c.at("textDocument/completion", kUri, 20, 0));
    EXPECT_TRUE(has(l, "CONTROL_BITMAP."));
    EXPECT_EQ(c.shut_down(), 0);
}

TEST(Lsp, SymbolsAndDefinitions) {
    Client c;
    c.initialize();
    c.open(kUri, kScreen);
    const json s = c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}})["result"];
    ASSERT_EQ(s.size(), 2u) << s.dump();
    EXPECT_EQ(s[0]["name"], "MAIN_FORM");
    EXPECT_EQ(s[0]["detail"], "FORM ID=1");
    EXPECT_EQ(s[0]["range"]["start"]["line"], 0);
    EXPECT_EQ(s[0]["range"]["end"]["line"], 12);
    EXPECT_EQ(s[1]["name"], "OK_BUTTON");
    EXPECT_EQ(s[1]["detail"], "CONTROL ID=5");
    EXPECT_EQ(s[1]["selectionRange"]["start"]["line"], 15);

    // From the form's object list to the control's ID= line.
    const json d = c.at("textDocument/definition", kUri, 8, 10)["result"];
    EXPECT_EQ(d["uri"], kUri);
    EXPECT_EQ(d["range"]["start"], (json{{"line", 14}, {"character", 0}}));
    // A focus that names no resource, and a line that names none, lead nowhere.
    EXPECT_TRUE(c.at("textDocument/definition", kUri, 10, 16)["result"].is_null());
    EXPECT_TRUE(c.at("textDocument/definition", kUri, 6, 12)["result"].is_null());
    EXPECT_EQ(c.shut_down(), 0);
}

TEST(Lsp, SurvivesWhatNoEditorShouldSend) {
    Client c;
    // Before initialize, requests are refused.
    json r = c.request("textDocument/hover", json::object());
    EXPECT_EQ(r["error"]["code"], -32002);
    c.initialize();
    EXPECT_EQ(c.request("initialize", {{"capabilities", json::object()}})["error"]["code"], -32600);

    c.send_body("{not json");
    r = c.receive_where([](const json& m) { return m.contains("error"); });
    EXPECT_EQ(r["error"]["code"], -32700);
    c.send_body("[1,2]");
    r = c.receive_where([](const json& m) { return m.contains("error"); });
    EXPECT_EQ(r["error"]["code"], -32600);
    // A header with no length, then a well-formed message.
    c.send_raw("Content-Type: x\r\n\r\n");
    r = c.receive_where([](const json& m) { return m.contains("error"); });
    EXPECT_EQ(r["error"]["code"], -32700);

    EXPECT_EQ(c.request("workspace/noSuchThing", json::object())["error"]["code"], -32601);
    c.notify("$/noSuchNotification", json::object());
    // Requests about documents that are not open have nothing to say.
    EXPECT_TRUE(c.at("textDocument/hover", "file:///nowhere.rc", 0, 0)["result"].is_null());

    // Bytes that are no UTF-8 make the message no JSON.
    c.send_body("{\"jsonrpc\":\"2.0\",\"id\":99,\"method\":\"shutdown\",\"x\":\"\xFF\"}");
    r = c.receive_where([](const json& m) { return m.contains("error"); });
    EXPECT_EQ(r["error"]["code"], -32700);

    // NUL bytes and a line of a megabyte.
    std::string text = "#FORM\nFORM_TITLE=a";
    text += std::string(1, '\0') + "b\n";
    text += "FORM_TITLE=" + std::string(1 << 20, 'x') + "\n";
    text += "FORM_STYLE=?\n#END_FORM\n";
    c.open(kUri, text);
    const json d = c.diagnostics(kUri)["params"]["diagnostics"];
    ASSERT_EQ(d.size(), 1u) << d.dump().substr(0, 2000);
    EXPECT_EQ(d[0]["range"]["start"], (json{{"line", 3}, {"character", 11}}));
    EXPECT_FALSE(c.at("textDocument/completion", kUri, 2, 1 << 19)["result"].is_null());
    EXPECT_TRUE(c.at("textDocument/hover", kUri, 2, 1 << 19)["result"].is_object());
    EXPECT_EQ(c.request("textDocument/hover", {{"textDocument", {{"uri", kUri}}}, {"position", "here"}})["error"]["code"],
              -32602);
    // A change whose range lacks its start is dropped.
    const json hover = c.at("textDocument/hover", kUri, 3, 2);
    const json no_start = {{"end", {{"line", 3}, {"character", 0}}}};
    c.notify("textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                                        {"contentChanges", json::array({json{{"range", no_start}, {"text", "x"}}})}});
    EXPECT_EQ(c.at("textDocument/hover", kUri, 3, 2)["result"], hover["result"]);
    // Positions past the end of a line or of the document.
    c.at("textDocument/completion", kUri, 1, 1000000);
    c.at("textDocument/completion", kUri, 1000, 0);
    EXPECT_TRUE(c.alive());
    EXPECT_EQ(c.shut_down(), 0);
}

// ---------------------------------------------------------------- in this process

using orrinrc::lsp::Server;
using orrinrc::lsp::ServerOptions;
using orrinrc::lsp::Transport;

// A server run on a thread of this process, over two pipes.
struct InProcess {
    InProcess() {
        EXPECT_EQ(pipe(to), 0);
        EXPECT_EQ(pipe(from), 0);
        transport = std::make_unique<Transport>(to[0], from[1]);
        server = std::make_unique<Server>(*transport, ServerOptions{});
        exit_code = std::async(std::launch::async, [this] { return server->run(); });
    }
    ~InProcess() {
        // The run has ended (each test waits for its exit code); the
        // client's ends are closed by the client.
        close(to[0]);
        close(from[1]);
    }
    // The exit code that run() returned, or -1 when it has not returned in time.
    int wait() {
        if (exit_code.wait_for(std::chrono::seconds(20)) != std::future_status::ready) return -1;
        return exit_code.get();
    }
    Client client() { return Client(to[1], from[0]); }

    int to[2], from[2];
    std::unique_ptr<Transport> transport;
    std::unique_ptr<Server> server;
    std::future<int> exit_code;
};

TEST(LspInProcess, RunReturnsTheExitCodeAndTheProcessGoesOn) {
    for (const bool shut_down : {true, false}) {
        InProcess s;
        {
            Client c = s.client();
            c.initialize();
            c.open(kUri, kScreen);
            EXPECT_FALSE(c.diagnostics(kUri)["params"]["diagnostics"].empty());
            EXPECT_EQ(c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}})["result"].size(), 2u);
            if (shut_down) c.request("shutdown", nullptr);
            c.notify("exit", nullptr);
            EXPECT_EQ(s.wait(), shut_down ? 0 : 1);
        }
    }
    // The end of the input without an exit notification.
    InProcess s;
    {
        Client c = s.client();
        c.initialize();
    }
    EXPECT_EQ(s.wait(), 1);
}

TEST(LspInProcess, AnEditorThatStopsReadingEndsTheRun) {
    InProcess s;
    Client c = s.client();
    c.initialize();
    c.close_output();
    // The answer cannot be sent: the run ends with 1, and the input left
    // unread does not keep it waiting.
    c.send_request("shutdown", nullptr);
    EXPECT_EQ(s.wait(), 1);
}

// An error does not end the check: every definition that parsed is kept
// for the outline, and every error is reported, each once.
TEST(LspInProcess, DefinitionsAfterAnErrorAreKept) {
    using namespace orrinrc;
    const std::string text =
        "NAME=A\n#FORM\nID=1\nOBJECT.TYPE=FORM\nFORM_STYLE=NORM\n#END_FORM\n"           // 1..6
        "NAME=B\n#STRING\nID=2\nOBJECT.TYPE=STRING\nSTRING_TEXT=x\n#END_STRING\n"        // 7..12
        "NAME=C\n#FORM\nID=3\nOBJECT.TYPE=FORM\nFORM_BITMAP.FILE=Q_TWO_BIT,none.bmp\n"   // 13..17
        "NO_OF_OBJECTS=1\nUIOBJECT.ID=1\nUIOBJECT.TYPE=FORM\n#END_FORM\n";                 // 18..21
    const lsp::CheckOutcome out = lsp::check_text(text, "", {}, check::CheckOptions{}, 10000);
    ASSERT_TRUE(out.completed);
    ASSERT_EQ(out.definitions.size(), 2u);
    EXPECT_EQ(out.definitions[0].name, "B");
    EXPECT_EQ(out.definitions[0].line, 8u);
    EXPECT_EQ(out.definitions[1].name, "C");
    EXPECT_EQ(out.definitions[1].end_line, 21u);
    std::vector<uint32_t> errors;
    for (const check::Diagnostic& d : out.diagnostics) {
        if (d.severity == check::Severity::Error) errors.push_back(d.at.line);
        EXPECT_NE(d.flag, "-Wundefined-object") << d.message;  // the FORM that failed is no undefined object
    }
    EXPECT_EQ(errors, (std::vector<uint32_t>{5, 17}));
}

// The check as the server runs it hands over what it finds as values:
// diagnostics with their places and notes, and every resource read, whether
// or not orrinrc-check would print them.
TEST(LspInProcess, CheckKeepsDiagnosticsAndDefinitions) {
    using namespace orrinrc;
    const std::string text =
        "#FORM\nID=1\nNAME=A\nOBJECT.TYPE=FORM\n#END_FORM\n"
        "#STRING\nNAME=B\nID=1\nOBJECT.TYPE=STRING\nSTRING_TEXT=x\n#END_STRING\n";
    const lsp::CheckOutcome out = lsp::check_text(text, "", {}, check::CheckOptions{}, 10000);
    ASSERT_TRUE(out.completed);
    ASSERT_EQ(out.definitions.size(), 2u);
    const check::ResourceDefinition& form = out.definitions[0];
    EXPECT_EQ(form.kind, format::Kind::Form);
    EXPECT_EQ(form.name, "A");
    EXPECT_EQ(form.line, 1u);
    EXPECT_EQ(form.end_line, 5u);
    EXPECT_EQ(form.named.line, 3u);
    EXPECT_EQ(form.id_at.line, 2u);
    EXPECT_EQ(form.id_at.column, 1u);
    const check::ResourceDefinition& string = out.definitions[1];
    EXPECT_EQ(string.kind, format::Kind::String);
    EXPECT_EQ(string.line, 6u);
    EXPECT_EQ(string.end_line, 11u);
    EXPECT_EQ(string.named.line, 7u);

    // The second ID=1: a warning at its ID= line, with a note at the first.
    const check::Diagnostic* duplicate = nullptr;
    for (const check::Diagnostic& d : out.diagnostics)
        if (d.flag == "-Wduplicate-id") duplicate = &d;
    ASSERT_NE(duplicate, nullptr);
    EXPECT_EQ(duplicate->severity, check::Severity::Warning);
    EXPECT_EQ(duplicate->at.line, 8u);
    ASSERT_EQ(duplicate->notes.size(), 1u);
    EXPECT_EQ(duplicate->notes[0].at.line, 1u);

    // orrinrc-check's JSON lines say the same.
    FILE* printed = std::tmpfile();
    ASSERT_NE(printed, nullptr);
    check::CheckOptions json;
    json.json = true;
    check::check_source("document", SourceText{-1, text}, json, RunOptions{}, printed);
    std::rewind(printed);
    std::string lines;
    for (int c; (c = std::fgetc(printed)) != EOF;) lines += static_cast<char>(c);
    std::fclose(printed);
    std::string expected;
    for (const check::Diagnostic& d : out.diagnostics) expected += check::render_json(d) + "\n";
    for (const check::ResourceDefinition& r : out.definitions) {
        const std::string line = check::render_json(r) + "\n";
        EXPECT_NE(lines.find(line), std::string::npos) << line;
        // Definitions come out as their definitions end, among the diagnostics.
        lines.erase(lines.find(line), line.size());
    }
    EXPECT_EQ(lines, expected);
}

// The server's directly written JSON is the text that the JSON library
// writes for the same value.
TEST(LspInProcess, JsonTextWritesWhatTheLibraryWrites) {
    const std::string strings[] = {
        "",
        "plain",
        "quote \" backslash \\ slash /",
        std::string("controls \b\t\n\f\r \x01\x1f\x7f and NUL ") + '\0' + "!",
        "\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E",  // 2, 3 and 4 bytes
        "cut \xE2\x82",                            // a sequence cut short at the end
        "\xE2\x82 cut inside",
        "\xFF\xFE lone bytes \x80",
        "\xC0\xAF overlong, \xED\xA0\x80 surrogate, \xF4\x90\x80\x80 past U+10FFFF",
    };
    for (const std::string& text : strings) {
        std::string ours;
        orrinrc::lsp::append_json_string(ours, text);
        EXPECT_EQ(ours, dump(json(text))) << json(text).dump(-1, ' ', true, json::error_handler_t::replace);
    }
    orrinrc::lsp::JsonText t;
    t.begin_object().key("a").begin_array().value(1).value(int64_t{-2}).value(uint64_t{3}).begin_object().end_object();
    t.begin_array().end_array().value("x").end_array().key("b").raw("null").key("c").begin_object().key("d");
    t.value(uint32_t{7}).end_object().end_object();
    EXPECT_EQ(t.text(), dump(json{{"a", {1, -2, 3u, json::object(), json::array(), "x"}}, {"b", nullptr}, {"c", {{"d", 7}}}}));
}

// ---------------------------------------------------------------- no processes

// Makes this process (and the program it goes on to run) unable to start
// another: fork, vfork and a clone without CLONE_THREAD end it with SIGSYS.
// clone3 is refused, so that the C library starts its threads with clone,
// whose flags a filter can read. False where it cannot be done.
bool forbid_new_processes() {
#if defined(__x86_64__)
    constexpr uint32_t arch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr uint32_t arch = AUDIT_ARCH_AARCH64;
#else
    return false;
#endif
#ifndef __NR_fork
    constexpr long fork_nr = -1;
#else
    constexpr long fork_nr = __NR_fork;
#endif
#ifndef __NR_vfork
    constexpr long vfork_nr = -1;
#else
    constexpr long vfork_nr = __NR_vfork;
#endif
    constexpr uint32_t kill = SECCOMP_RET_KILL_PROCESS;
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, arch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, kill),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(fork_nr), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, kill),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(vfork_nr), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, kill),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_clone3, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_clone, 0, 3),
        // clone's flags, the low half of its first argument (little-endian).
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, CLONE_THREAD, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, kill),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Whether the filter works here: a thread can still be started under it, a
// fork ends the process.
bool filter_works() {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!forbid_new_processes()) _exit(2);
        std::thread([] {}).join();
        if (fork() == 0) _exit(0);
        _exit(3);  // the fork was not stopped
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSYS;
}

TEST(Lsp, RequestsStartNoProcess) {
    if (!filter_works()) GTEST_SKIP() << "no system call filter here";
    // Every kind of request, on a document whose check fails and on one
    // whose check passes; the server, unable to start a process, answers
    // them all and is still there.
    Client c([] {
        if (!forbid_new_processes()) _exit(126);
    });
    c.initialize();
    c.open(kUri, kScreen);
    EXPECT_FALSE(c.diagnostics(kUri)["params"]["diagnostics"].empty());
    c.open("file:///nonexistent-folder/bad.rc", "#FORM\nID=1\nFORM_STYLE=NORMALL\n#END_FORM\n");
    EXPECT_EQ(c.diagnostics("file:///nonexistent-folder/bad.rc")["params"]["diagnostics"].size(), 1u);
    EXPECT_FALSE(labels(c.at("textDocument/completion", kUri, 11, 0)).empty());
    EXPECT_TRUE(c.at("textDocument/hover", kUri, 6, 3)["result"].is_object());
    EXPECT_TRUE(c.at("textDocument/definition", kUri, 8, 10)["result"].is_object());
    EXPECT_EQ(c.request("textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}})["result"].size(), 2u);
    EXPECT_TRUE(c.alive());
    EXPECT_TRUE(c.request("shutdown", nullptr).contains("result"));
}

}  // namespace
