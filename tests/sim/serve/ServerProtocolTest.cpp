// The server of `vantile-sim serve` seen from a browser: a Beast client in the test talks HTTP and WebSocket to
// a server whose phone processes are a stand-in that reports what reached it.
#include "platform/gfx/ImageCodec.h"
#include "platform/harness/JSONValue.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/serve/Channel.h"
#include "sim/serve/HttpServer.h"
#include "tests/sim/SimProcess.h"
#include "tests/support/Snapshot.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

// Asio 1.74's coroutine header uses std::exchange without including <utility>.
#include <utility>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace fs = std::filesystem;
using tcp = asio::ip::tcp;
using namespace std::chrono_literals;
using sim::serve::HttpServer;
using sim::serve::ServeOptions;

struct Reply {
    unsigned status = 0;
    std::string body;
    std::string contentType;
    std::string disposition;
};

// One request on a fresh connection; the target is sent as written, without the normalising a browser does.
Reply httpRequest(std::uint16_t port, http::verb verb, const std::string& target, const std::string& body = "") {
    asio::io_context io;
    beast::tcp_stream stream(io);
    stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
    http::request<http::string_body> request{verb, target, 11};
    request.set(http::field::host, "127.0.0.1");
    request.body() = body;
    request.prepare_payload();
    Reply reply;
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    beast::error_code ec;
    http::write(stream, request, ec);
    // A refused body may be answered before it was all sent; the answer is what counts.
    http::read(stream, buffer, response, ec);
    if (ec) return reply;
    reply.status = response.result_int();
    reply.body = response.body();
    reply.contentType = std::string(response[http::field::content_type]);
    reply.disposition = std::string(response[http::field::content_disposition]);
    return reply;
}

// A browser tab: text messages as JSON, binary ones as frames; every wait is bounded, so a missing message fails
// the test instead of hanging it.
class PageClient {
public:
    explicit PageClient(std::uint16_t port) {
        beast::get_lowest_layer(m_ws).connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
        m_ws.handshake("127.0.0.1", "/ws");
    }

    void send(const std::string& text) {
        m_ws.text(true);
        m_ws.write(asio::buffer(text));
    }
    void sendBinary(const std::string& bytes) {
        m_ws.binary(true);
        m_ws.write(asio::buffer(bytes));
    }

    struct Message {
        bool binary = false;
        std::string bytes;
        std::optional<Value> json;
        std::string type() const {
            const Value* t = json ? json->find("type") : nullptr;
            return t && t->asString() ? *t->asString() : "";
        }
    };

    // The next message; nothing when none came in time or the connection ended (closeReason() then tells).
    std::optional<Message> next(std::chrono::milliseconds timeout = 5s) {
        if (m_broken) return std::nullopt;
        beast::flat_buffer buffer;
        bool done = false;
        beast::error_code error;
        m_ws.async_read(buffer, [&](beast::error_code ec, std::size_t) {
            done = true;
            error = ec;
        });
        m_io.restart();
        m_io.run_for(timeout);
        if (!done) {
            m_broken = true;
            beast::get_lowest_layer(m_ws).close();
            m_io.restart();
            m_io.run_for(1s);
            return std::nullopt;
        }
        if (error) {
            m_broken = true;
            m_error = error;
            return std::nullopt;
        }
        Message m;
        m.binary = m_ws.got_binary();
        m.bytes = beast::buffers_to_string(buffer.data());
        if (!m.binary) m.json = parseJSON(m.bytes);
        return m;
    }

    // Reads until a message satisfies `wanted`; nothing when none did before the time ran out.
    std::optional<Message> until(const std::function<bool(const Message&)>& wanted, std::chrono::milliseconds timeout = 5s) {
        auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            auto m = next(std::max(left, 1ms));
            if (!m) return std::nullopt;
            if (wanted(*m)) return m;
        }
        return std::nullopt;
    }
    std::optional<Message> untilType(const std::string& type, std::chrono::milliseconds timeout = 5s) {
        return until([&](const Message& m) { return m.type() == type; }, timeout);
    }
    // The next input the stand-in phone reports having received (the server's own screenshot requests aside).
    std::optional<Value> nextEcho() {
        auto m = until([](const Message& m) {
            const Value* message = m.type() == "echo" ? m.json->find("message") : nullptr;
            const Value* type = message ? message->find("type") : nullptr;
            return type && type->asString() && *type->asString() != "screenshot";
        });
        if (!m) return std::nullopt;
        return *m->json->find("message");
    }

    bool isBroken() const { return m_broken; }
    beast::error_code error() const { return m_error; }
    websocket::close_reason closeReason() const { return m_ws.reason(); }
    void close() { m_ws.close(websocket::close_code::normal); }
    // Ends the connection without a closing handshake, as a browser that is killed does.
    void drop() { beast::get_lowest_layer(m_ws).close(); }

private:
    asio::io_context m_io;
    websocket::stream<beast::tcp_stream> m_ws{m_io};
    bool m_broken = false;
    beast::error_code m_error;
};

std::string field(const Value& v, const char* name) {
    const Value* f = v.find(name);
    if (!f) return "";
    if (auto* s = f->asString()) return *s;
    return toJSON(*f);
}

// A message the stand-in phone sent about input that reached it, the server's own screenshot requests aside.
bool isInputEcho(const PageClient::Message& m) {
    return m.type() == "echo" && field(*m.json->find("message"), "type") != "screenshot";
}

class ServerProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        signal(SIGPIPE, SIG_IGN);
        fs::create_directories(m_page.path() / "page" / "sub");
        std::ofstream(m_page.path() / "page" / "index.html") << "<!doctype html><title>phone</title>";
        std::ofstream(m_page.path() / "page" / "app.js") << "console.log('phone');";
        std::ofstream(m_page.path() / "page" / "sub" / "style.css") << "body{}";
        std::ofstream(m_page.path() / "secret.txt") << "not for the page";
        fs::create_symlink(m_page.path() / "secret.txt", m_page.path() / "page" / "leak.txt");
        fs::create_directories(m_page.path() / "root");
        fs::create_directories(m_page.path() / "work");
    }
    void TearDown() override { stopServer(); }

    void startServer(std::vector<std::string> phoneCommand = {STANDIN_PHONE}, double grace = 2) {
        ServeOptions options;
        options.port = 0;
        options.pageFolder = m_page.path() / "page";
        options.root = m_page.path() / "root";
        options.workFolder = m_page.path() / "work";
        options.profile = "iphone-x";
        options.phoneCommand = std::move(phoneCommand);
        options.startClock = 1796752800;  // 2026-12-08 18:00 UTC
        options.seed = 42;
        options.quitGraceSeconds = grace;
        m_server = std::make_unique<HttpServer>(options);
        m_port = m_server->port();
        m_thread = std::thread([this] { m_server->run(); });
    }
    // Returns how long stop() took to make run() return.
    std::chrono::milliseconds stopServer() {
        if (!m_server) return 0ms;
        auto start = std::chrono::steady_clock::now();
        m_server->stop();
        m_thread.join();
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        m_server.reset();
        return took;
    }
    // A tab that has seen the phone's hello (its boot has started).
    std::unique_ptr<PageClient> connectedTab() {
        auto tab = std::make_unique<PageClient>(m_port);
        auto hello = tab->untilType("hello");
        EXPECT_TRUE(hello) << "no hello";
        return tab;
    }

    testing_support::TemporaryRoot m_page{"serve-test"};
    std::unique_ptr<HttpServer> m_server;
    std::thread m_thread;
    std::uint16_t m_port = 0;
};

TEST_F(ServerProtocolTest, ServesOnlyThePageFolder) {
    startServer();
    struct Case {
        const char* target;
        unsigned status;
        const char* body;  // expected body when the status is 200
    };
    const Case cases[] = {
        {"/", 200, "<!doctype html><title>phone</title>"},
        {"/index.html?v=2", 200, "<!doctype html><title>phone</title>"},
        {"/app.js", 200, "console.log('phone');"},
        {"/sub/style.css", 200, "body{}"},
        {"/sub%2fstyle.css", 200, "body{}"},
        {"/../secret.txt", 403, nullptr},
        {"/sub/../../secret.txt", 403, nullptr},
        {"/sub/../index.html", 403, nullptr},
        {"/%2e%2e/secret.txt", 403, nullptr},
        {"/%2E%2E%2Fsecret.txt", 403, nullptr},
        {"/./index.html", 403, nullptr},
        {"//etc/passwd", 403, nullptr},
        {"/leak.txt", 403, nullptr},
        {"/missing.js", 404, nullptr},
        {"/sub", 404, nullptr},
        {"/index.html%00.js", 400, nullptr},
        {"/%zz", 400, nullptr},
        {"/sub\\..\\..\\secret.txt", 400, nullptr},
        {"index.html", 400, nullptr},
    };
    for (const auto& c : cases) {
        auto reply = httpRequest(m_port, http::verb::get, c.target);
        EXPECT_EQ(reply.status, c.status) << c.target;
        if (c.body) {
            EXPECT_EQ(reply.body, c.body) << c.target;
        } else {
            EXPECT_EQ(reply.body.find("not for the page"), std::string::npos) << c.target;
        }
    }
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/app.js").contentType, "text/javascript; charset=utf-8");
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/").contentType, "text/html; charset=utf-8");
}

TEST_F(ServerProtocolTest, RefusesLargeBodiesAndOtherMethods) {
    startServer();
    EXPECT_EQ(httpRequest(m_port, http::verb::post, "/", std::string(sim::serve::kMaxPageMessage + 1, 'x')).status, 413u);
    EXPECT_EQ(httpRequest(m_port, http::verb::post, "/", "small").status, 405u);
    EXPECT_EQ(httpRequest(m_port, http::verb::delete_, "/index.html").status, 405u);
    // The server is still there for the next one.
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/").status, 200u);
}

TEST_F(ServerProtocolTest, MalformedMessagesAreAnsweredAndNeverReachThePhone) {
    startServer();
    auto tab = connectedTab();
    const char* bad[] = {
        "not json",
        "[1, 2]",
        "{\"no\": \"type\"}",
        "{\"type\": 7}",
        "{\"type\": \"warp\"}",
        "{\"type\": \"pointer\", \"phase\": \"hover\", \"x\": 1, \"y\": 2, \"t\": 3}",
        "{\"type\": \"pointer\", \"phase\": \"down\", \"y\": 2, \"t\": 3}",
        "{\"type\": \"pointer\", \"phase\": \"down\", \"x\": \"1\", \"y\": 2, \"t\": 3}",
        "{\"type\": \"pointer\", \"phase\": \"down\", \"x\": true, \"y\": 2, \"t\": 3}",
        "{\"type\": \"wheel\", \"dx\": 1}",
        "{\"type\": \"text\", \"text\": 5}",
        "{\"type\": \"key\", \"key\": \"F1\"}",
        "{\"type\": \"step\", \"seconds\": -1}",
        "{\"type\": \"step\", \"seconds\": 1e9}",
        "{\"type\": \"step\", \"seconds\": 61}",
        "{\"type\": \"profile\", \"name\": \"iphone-1\"}",
        "{\"type\": \"command\", \"line\": \"launch springboard\"}",
        "{\"type\": \"command\", \"line\": \"screenshot ../../x\"}",
        "{\"type\": \"command\", \"line\": \"appearance\"}",
        "{\"type\": \"command\", \"line\": \"pref \\\"unterminated\"}",
        "{\"type\": \"command\", \"line\": \"appearance dark\\nlaunch springboard\"}",
        "{\"type\": \"command\", \"line\": \"# only a comment\"}",
        "{\"type\": \"command\", \"line\": 3}",
        "{\"a\":{\"b\":{\"c\":{\"d\":{\"e\":{\"f\":{\"g\":{\"h\":{\"i\":{}}}}}}}}}, \"type\": \"pause\"}",
    };
    for (const char* text : bad) {
        tab->send(text);
        auto reply = tab->until([](const PageClient::Message& m) { return m.type() == "error" || isInputEcho(m); });
        ASSERT_TRUE(reply) << text;
        EXPECT_EQ(reply->type(), "error") << text << " reached the phone";
        EXPECT_FALSE(field(*reply->json, "message").empty()) << text;
    }
    tab->sendBinary("\x01\x02");
    auto binaryReply = tab->until([](const PageClient::Message& m) { return m.type() == "error" || isInputEcho(m); });
    ASSERT_TRUE(binaryReply);
    EXPECT_EQ(binaryReply->type(), "error");

    // After all that the connection and the phone still work, and the first input to arrive is the good one.
    tab->send(R"({"type":"wheel","dx":0,"dy":40,"t":5})");
    auto echo = tab->nextEcho();
    ASSERT_TRUE(echo);
    EXPECT_EQ(field(*echo, "type"), "wheel");
    EXPECT_EQ(field(*echo, "dy"), "40");
}

TEST_F(ServerProtocolTest, HugeMessageClosesThatTabOnly) {
    startServer();
    auto other = connectedTab();
    auto tab = connectedTab();
    tab->send("{\"type\":\"text\",\"text\":\"" + std::string(sim::serve::kMaxPageMessage, 'a') + "\"}");
    auto reply = tab->until([](const PageClient::Message&) { return false; }, 3s);
    EXPECT_FALSE(reply);
    EXPECT_TRUE(tab->isBroken());
    EXPECT_EQ(tab->closeReason().code, websocket::close_code::too_big);
    // The other tab and new connections are served as before, and the phone never saw the text.
    other->send(R"({"type":"pause"})");
    auto echo = other->nextEcho();
    ASSERT_TRUE(echo);
    EXPECT_EQ(field(*echo, "type"), "pause");
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/").status, 200u);
}

TEST_F(ServerProtocolTest, TwoTabsSeeTheSameFramesAndEitherDrives) {
    startServer();
    auto first = connectedTab();
    auto second = connectedTab();
    // A new tab is sent the whole screen as a frame, its region read from the screenshot's own size.
    for (auto* tab : {first.get(), second.get()}) {
        auto full = tab->until([](const PageClient::Message& m) { return m.binary && m.bytes.size() > 16 && m.bytes[8] == 6; });
        ASSERT_TRUE(full) << "no full frame";
        auto region = sim::serve::frameRegion(full->bytes);
        EXPECT_EQ(region->width, 6u);
        EXPECT_EQ(region->height, 4u);
    }
    second->send(R"({"type":"pointer","phase":"down","x":10,"y":20,"t":100})");
    std::string frames[2];
    int i = 0;
    for (auto* tab : {first.get(), second.get()}) {
        auto frame = tab->until([](const PageClient::Message& m) { return m.binary && m.bytes[0] == 1 && m.bytes[4] == 2; });
        ASSERT_TRUE(frame);
        frames[i++] = frame->bytes;
    }
    EXPECT_EQ(frames[0], frames[1]);
    auto region = sim::serve::frameRegion(frames[0]);
    EXPECT_EQ(region->width, 3u);
    EXPECT_EQ(region->height, 4u);

    first->send(R"({"type":"pointer","phase":"up","x":10,"y":20,"t":140})");
    for (auto* tab : {first.get(), second.get()}) {
        auto echo = tab->until([](const PageClient::Message& m) {
            return m.type() == "echo" && field(*m.json->find("message"), "phase") == "up";
        });
        EXPECT_TRUE(echo);
    }
}

TEST_F(ServerProtocolTest, ClosingATabMidDragCancelsItsTouch) {
    startServer();
    auto watcher = connectedTab();
    for (bool dropped : {false, true}) {
        auto tab = connectedTab();
        tab->send(R"({"type":"pointer","phase":"down","x":30,"y":40,"t":1000})");
        tab->send(R"({"type":"pointer","phase":"move","x":35,"y":90,"t":1016})");
        ASSERT_TRUE(watcher->until([](const PageClient::Message& m) {
            return m.type() == "echo" && field(*m.json->find("message"), "phase") == "move";
        }));
        if (dropped) tab->drop();
        else tab->close();
        auto cancel = watcher->until(isInputEcho);
        ASSERT_TRUE(cancel) << (dropped ? "dropped" : "closed");
        const Value& message = *cancel->json->find("message");
        EXPECT_EQ(field(message, "phase"), "cancel");
        EXPECT_EQ(field(message, "x"), "35");
        EXPECT_EQ(field(message, "y"), "90");
    }
    // A tab that lifted its finger before closing ends nothing.
    {
        auto tab = connectedTab();
        tab->send(R"({"type":"pointer","phase":"down","x":30,"y":40,"t":2000})");
        tab->send(R"({"type":"pointer","phase":"up","x":30,"y":40,"t":2050})");
        tab->close();
    }
    ASSERT_TRUE(watcher->until([](const PageClient::Message& m) {
        return m.type() == "echo" && field(*m.json->find("message"), "t") == "2050";
    }));
    watcher->send(R"({"type":"resume"})");
    // Had the closing sent a cancel, it would come between that tab's up and this resume.
    auto after = watcher->until(isInputEcho);
    ASSERT_TRUE(after);
    EXPECT_EQ(field(*after->json->find("message"), "type"), "resume");
}

TEST_F(ServerProtocolTest, PortTakenIsAClearError) {
    asio::io_context io;
    tcp::acceptor taken(io, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    const auto port = taken.local_endpoint().port();
    ServeOptions options;
    options.port = port;
    options.pageFolder = m_page.path() / "page";
    try {
        HttpServer server(options);
        FAIL() << "listened on a taken port";
    } catch (const sim::serve::PortUnavailable& e) {
        EXPECT_NE(std::string(e.what()).find(std::to_string(port)), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("taken"), std::string::npos) << e.what();
    }
    // The command line says so and exits with status 2 (the time limit only guards against a server that runs).
    const fs::path err = m_page.path() / "err.txt";
    const std::string command = std::string("timeout 20 ") + VANTILE_BUILD_DIR + "/vantile-sim serve --port " +
                                std::to_string(port) + " >/dev/null 2>" + err.string();
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream in(err);
    std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("port " + std::to_string(port)), std::string::npos) << message;
}

TEST_F(ServerProtocolTest, RespringStartsTheNextBootWithTheSessionsSetUp) {
    startServer();
    auto tab = std::make_unique<PageClient>(m_port);
    auto hello = tab->untilType("hello");
    ASSERT_TRUE(hello);
    const std::string firstArgs = field(*hello->json, "args");
    EXPECT_NE(firstArgs.find("\"--clock\", \"1796752800\""), std::string::npos) << firstArgs;
    EXPECT_NE(firstArgs.find("\"--seed\", \"42\""), std::string::npos) << firstArgs;
    EXPECT_EQ(firstArgs.find("--setup"), std::string::npos) << firstArgs;
    EXPECT_NE(field(*hello->json, "profiles").find("iphone-8"), std::string::npos);

    tab->send(R"({"type":"command","line":"appearance dark"})");
    tab->send(R"({"type":"text","text":"Hi"})");
    tab->send(R"({"type":"command","line":"respring"})");
    auto respring = tab->untilType("respring");
    ASSERT_TRUE(respring);
    auto next = tab->untilType("hello");
    ASSERT_TRUE(next);
    const std::string args = field(*next->json, "args");
    // The stand-in's clock went 0.5 s (command), 1.25 s (text) and 0.5 s (respring) on.
    EXPECT_NE(args.find("\"--clock\", \"1796752802.25\""), std::string::npos) << args;
    EXPECT_NE(args.find("\"--seed\", \"42\""), std::string::npos) << args;
    EXPECT_EQ(field(*next->json, "setup"), "[\"appearance dark\"]");
    auto state = tab->untilType("state");
    ASSERT_TRUE(state);
    EXPECT_EQ(field(*state->json, "boot"), "2");

    auto recording = httpRequest(m_port, http::verb::get, "/recording.scenario");
    EXPECT_EQ(recording.status, 200u);
    EXPECT_EQ(recording.disposition, "attachment; filename=\"recording.scenario\"");
    // The time since the last line is waited at the end, so that the replay reaches the moment of the download.
    const std::string tail = recording.body.substr(std::min(recording.body.size(), recording.body.rfind("respring\n") + 9));
    for (const auto& step : sim::scenario::parseScript(tail, "tail").steps) EXPECT_EQ(step.words.front(), "wait") << tail;
    EXPECT_EQ(recording.body.substr(0, recording.body.size() - tail.size()),
              "device iphone-x\n"
              "date 2026-12-08 18:00\n"
              "seed 42\n"
              "pref columns int 3\n"
              "pref toggleVantile bool yes\n"
              "launch settings\n"
              "wait 500ms\n"
              "appearance dark\n"
              "wait 1250ms\n"
              "type \"Hi\"\n"
              "wait 500ms\n"
              "respring\n");
}

TEST_F(ServerProtocolTest, PhoneThatDiesIsStartedAgainOnce) {
    startServer();
    auto tab = connectedTab();
    tab->send(R"({"type":"key","key":"Backspace"})");
    auto error = tab->untilType("error");
    ASSERT_TRUE(error);
    EXPECT_NE(field(*error->json, "message").find("status 3; starting it again"), std::string::npos);
    ASSERT_TRUE(tab->untilType("hello"));
    tab->send(R"({"type":"key","key":"Backspace"})");
    error = tab->untilType("error");
    ASSERT_TRUE(error);
    EXPECT_NE(field(*error->json, "message").find("not starting it any more"), std::string::npos);
    // The server stays up; what needs the phone says it is not there.
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/screenshot.png").status, 503u);
    tab->send(R"({"type":"pause"})");
    error = tab->untilType("error");
    ASSERT_TRUE(error);
    EXPECT_EQ(field(*error->json, "message"), "the phone is not running");
    // Choosing a profile starts a phone again, in a new session.
    tab->send(R"({"type":"profile","name":"iphone-8"})");
    auto hello = tab->untilType("hello");
    ASSERT_TRUE(hello);
    EXPECT_EQ(field(*hello->json->find("device"), "name"), "iphone-8");
    EXPECT_EQ(httpRequest(m_port, http::verb::get, "/recording.scenario").body.substr(0, 16), "device iphone-8\n");
}

TEST_F(ServerProtocolTest, ScreenshotComesFromThePhone) {
    startServer();
    auto tab = connectedTab();
    auto reply = httpRequest(m_port, http::verb::get, "/screenshot.png");
    EXPECT_EQ(reply.status, 200u);
    EXPECT_EQ(reply.contentType, "image/png");
    ASSERT_GE(reply.body.size(), 24u);
    EXPECT_EQ(reply.body.substr(1, 3), "PNG");
    EXPECT_EQ(reply.body[19], 6);  // the stand-in's 6 x 4 screen
    EXPECT_EQ(reply.body[23], 4);
}

TEST_F(ServerProtocolTest, ProfileChangeStartsANewSession) {
    startServer();
    auto tab = connectedTab();
    tab->send(R"({"type":"command","line":"wifi off"})");
    ASSERT_TRUE(tab->untilType("state"));
    tab->send(R"({"type":"profile","name":"iphone-8"})");
    auto echo = tab->nextEcho();
    ASSERT_TRUE(echo);
    auto hello = tab->untilType("hello");
    ASSERT_TRUE(hello);
    EXPECT_EQ(field(*hello->json->find("device"), "name"), "iphone-8");
    EXPECT_EQ(field(*hello->json, "setup"), "[]");
    auto text = httpRequest(m_port, http::verb::get, "/recording.scenario").body;
    EXPECT_EQ(text.substr(0, 16), "device iphone-8\n");
    EXPECT_EQ(text.find("wifi off"), std::string::npos) << text;
}

TEST_F(ServerProtocolTest, StopEndsThePhoneEvenWhenItDoesNotListen) {
    for (bool listens : {true, false}) {
        std::vector<std::string> command = {STANDIN_PHONE};
        if (!listens) command.push_back("--ignore-quit");
        startServer(command, 0.3);
        auto tab = std::make_unique<PageClient>(m_port);
        auto hello = tab->untilType("hello");
        ASSERT_TRUE(hello);
        const pid_t pid = static_cast<pid_t>(*hello->json->find("pid")->asInteger());
        auto took = stopServer();
        EXPECT_LT(took, 2s) << (listens ? "listening" : "deaf");
        // Reaped by the server: no such process any more.
        EXPECT_NE(kill(pid, 0), 0) << (listens ? "listening" : "deaf");
        EXPECT_FALSE(tab->until([](const PageClient::Message&) { return false; }, 1s));
        EXPECT_TRUE(tab->isBroken());
    }
}

// The whole way with the simulator's own phone process: a session played through a tab, its recording downloaded
// and played by `vantile-sim run`, which must reach the very screen the server shows.
TEST_F(ServerProtocolTest, RecordingOfASessionReplaysToTheSameScreen) {
    startServer({std::string(VANTILE_BUILD_DIR) + "/vantile-sim", "phone"});
    auto tab = std::make_unique<PageClient>(m_port);
    ASSERT_TRUE(tab->untilType("hello", 20s));
    // Paused, only the gestures' own timing and the steps move the clock, whatever this machine's speed.
    tab->send(R"({"type":"pause"})");
    ASSERT_TRUE(tab->until([](const PageClient::Message& m) { return m.type() == "state" && field(*m.json, "paused") == "true"; }));
    auto pointer = [&](const char* phase, double x, double y, double t) {
        tab->send(std::string("{\"type\":\"pointer\",\"phase\":\"") + phase + "\",\"x\":" + std::to_string(x) +
                  ",\"y\":" + std::to_string(y) + ",\"t\":" + std::to_string(t) + "}");
    };
    tab->send(R"({"type":"command","line":"pref toggleVantile bool yes"})");
    tab->send(R"({"type":"step","seconds":0.5})");
    // The gear opens the card editor; a row is dragged by its handle; a flick scrolls; then dark mode.
    pointer("down", 18, 65, 0);
    pointer("up", 18, 65, 90);
    tab->send(R"({"type":"step","seconds":1})");
    double t = 2000;
    pointer("down", 355, 240, t);
    for (int i = 1; i <= 20; ++i) pointer("move", 355, 240 - 4 * i, t += 17);
    pointer("up", 355, 160, t += 300);
    tab->send(R"({"type":"step","seconds":1})");
    pointer("down", 100, 500, 5000);
    for (int i = 1; i <= 6; ++i) pointer("move", 100, 500 - 30 * i, 5000 + 12 * i);
    pointer("up", 100, 320, 5080);
    tab->send(R"({"type":"step","seconds":2})");
    tab->send(R"({"type":"command","line":"appearance dark"})");
    tab->send(R"({"type":"step","seconds":0.5})");

    // Inputs on this connection are played in order, but a request on another connection could overtake them:
    // a last panel line that changes nothing on screen marks the end, and once it is recorded all before it ran.
    tab->send(R"({"type":"command","line":"timezone UTC"})");
    auto deadline = std::chrono::steady_clock::now() + 20s;
    while (httpRequest(m_port, http::verb::get, "/recording.scenario").body.find("timezone UTC\n") == std::string::npos) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the session's last line was never recorded";
        std::this_thread::sleep_for(20ms);
    }
    auto live = httpRequest(m_port, http::verb::get, "/screenshot.png");
    ASSERT_EQ(live.status, 200u);
    auto recording = httpRequest(m_port, http::verb::get, "/recording.scenario");
    ASSERT_EQ(recording.status, 200u);
    const std::string& text = recording.body;
    for (const char* line : {"pref toggleVantile bool yes\n", "\ntap ", "touch down 355 240\n", "appearance dark\n", "timezone UTC\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " is not in\n" << text;
    std::vector<std::string> errors;
    while (auto m = tab->until([](const PageClient::Message& m) { return m.type() == "error"; }, 200ms))
        errors.push_back(field(*m->json, "message"));
    EXPECT_TRUE(errors.empty()) << errors.front();

    const fs::path file = m_page.path() / "recording.scenario";
    std::ofstream(file) << text << "screenshot final\n";
    auto run = simtest::runSimulator({"run", file.string(), "--root", (m_page.path() / "replay").string(), "--out",
                                      (m_page.path() / "out").string()});
    ASSERT_EQ(run.status, 0) << run.err << "\n" << text;
    std::ifstream png(m_page.path() / "out" / "final.png", std::ios::binary);
    std::string replayed((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    auto a = platform::gfx::decodePNG(std::span(reinterpret_cast<const std::uint8_t*>(live.body.data()), live.body.size()));
    auto b = platform::gfx::decodePNG(std::span(reinterpret_cast<const std::uint8_t*>(replayed.data()), replayed.size()));
    ASSERT_TRUE(a && b);
    auto comparison = vantile::testing::comparePixels(*a, *b, 0);
    EXPECT_FALSE(comparison.sizesDiffer);
    EXPECT_EQ(comparison.differing, 0) << "the replay's screen differs from the live one\n" << text;
}

}  // namespace
