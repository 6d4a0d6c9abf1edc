#include "sim/serve/HttpServer.h"

#include "platform/harness/JSONValue.h"
#include "sim/device/DeviceProfile.h"
#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/serve/Channel.h"
#include "sim/serve/PhoneChild.h"
#include "sim/serve/Recording.h"

// Asio 1.74's coroutine header uses std::exchange without including <utility>, which C++20 no longer brings in.
#include <utility>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <chrono>
#include <cmath>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <sstream>

namespace sim::serve {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace fs = std::filesystem;
using tcp = asio::ip::tcp;

namespace {

// A tab that cannot keep up (a frozen browser) would make the server hold every frame for it; past this much
// waiting output it is dropped, and reloading the page brings it back.
constexpr std::size_t kMaxTabBacklog = 64u << 20;
// The JSON of a page message is flat; deeper nesting is refused before it costs anything.
constexpr int kMaxPageJsonDepth = 8;
const char* const kLocales[] = {"en", "en-GB", "de", "ja"};
// What the panel may send as a command line: device set-up and respring. Anything else (launch, screenshot, dump,
// expect) would let a page start processes or write files.
const char* const kPanelCommands[] = {"appearance", "locale", "timezone", "date",     "wifi",        "cellular",
                                      "carrier",    "airplane", "bluetooth", "pref", "pref-remove", "respring"};

std::string errorMessage(const std::string& message) {
    Value::Dictionary d{{"type", Value("error")}, {"message", Value(message)}};
    return toJSON(Value(d));
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        auto hex = [](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        int hi = hex(text[i + 1]), lo = hex(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

std::string contentType(const fs::path& file) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"}, {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},   {".png", "image/png"},
        {".svg", "image/svg+xml"},             {".json", "application/json"},
        {".ico", "image/x-icon"},              {".txt", "text/plain; charset=utf-8"}};
    const std::string ext = file.extension().string();
    for (const auto& [e, type] : kTypes)
        if (ext == e) return type;
    return "application/octet-stream";
}

// The width and height of a PNG, read from its header chunk; nothing for bytes that are no PNG.
std::optional<FrameRegion> pngSize(std::string_view png) {
    static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png.size() < 24) return std::nullopt;
    for (std::size_t i = 0; i < sizeof kSignature; ++i)
        if (static_cast<unsigned char>(png[i]) != kSignature[i]) return std::nullopt;
    auto big = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return FrameRegion{0, 0, big(16), big(20)};
}

const scenario::ScenarioCommand* scenarioCommand(const std::string& name) {
    for (const auto* group : {&scenario::setUpCommands(), &scenario::processCommands()})
        for (const auto& c : *group)
            if (name == c.info.name) return &c;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------------

class Tab;
class HttpConnection;

class HttpServer::Impl {
public:
    explicit Impl(ServeOptions options);

    std::uint16_t port() const { return m_port; }
    void run();
    void stop();

    // From the connections.
    void addTab(const std::shared_ptr<Tab>& tab);
    void removeTab(Tab& tab);
    void pageMessage(Tab& tab, const std::string& text);
    http::response<http::string_body> fileResponse(const http::request<http::string_body>& request) const;
    std::string recordingText() const { return m_recording->text(virtualNow()); }
    // Calls back with the whole screen as PNG, or nothing when no phone is there to answer.
    void requestScreenshot(std::function<void(const std::string* png)> done);

    asio::io_context& io() { return m_io; }

private:
    void accept();
    void boot();
    void readChannel();
    void channelMessage(ChannelMessage message);
    void phoneJson(const std::string& text);
    void channelEnded();
    void sendToPhone(std::string bytes);
    void writeChannel();
    void broadcast(const std::string& text);
    void broadcastFrame(std::shared_ptr<const std::string> payload);
    void sendState();
    void startSession(const std::string& profile, bool freshStart);
    void finishStop();
    // The phone's virtual clock as the server can tell it: the last exact time the phone sent, moved on by the wall
    // clock while running and by the steps asked for while paused.
    double virtualNow() const;
    void anchorClock(double clock);
    void failScreenshots();

    ServeOptions m_options;
    asio::io_context m_io;
    tcp::acceptor m_acceptor;
    std::uint16_t m_port = 0;
    asio::signal_set m_signals;
    asio::steady_timer m_quitTimer;
    std::set<std::shared_ptr<Tab>> m_tabs;

    // The current boot.
    std::unique_ptr<PhoneChild> m_child;
    std::unique_ptr<asio::posix::stream_descriptor> m_channel;
    MessageReader m_reader;
    std::deque<std::string> m_outbox;
    bool m_writing = false;
    std::array<char, 65536> m_readBuffer{};
    std::vector<std::function<void(const std::string*)>> m_screenshotWaiters;
    bool m_screenshotAsked = false;

    // The session: one per profile chosen.
    std::string m_profile;
    std::uint64_t m_seed = 0;
    std::unique_ptr<Recording> m_recording;
    double m_clock = 0;
    std::chrono::steady_clock::time_point m_clockWall = std::chrono::steady_clock::now();
    bool m_paused = false;
    int m_boot = 0;
    std::optional<Value> m_hello;
    std::optional<Value> m_state;
    std::optional<std::string> m_prefs;
    std::vector<std::string> m_records;

    // Why the current phone process is expected to end.
    bool m_respringSeen = false;
    bool m_respringAsked = false;
    std::optional<std::string> m_nextProfile;
    int m_unexpectedEnds = 0;
    bool m_stopping = false;
    std::mt19937_64 m_random{std::random_device{}()};
};

// ---------------------------------------------------------------------------------------------------------------

// One browser tab's WebSocket.
class Tab : public std::enable_shared_from_this<Tab> {
public:
    Tab(tcp::socket socket, HttpServer::Impl& server) : m_ws(std::move(socket)), m_server(server) {}

    void start(http::request<http::string_body> request) {
        m_ws.read_message_max(kMaxPageMessage);
        m_ws.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        m_ws.async_accept(request, [self = shared_from_this()](beast::error_code ec) {
            if (ec) return;
            self->m_open = true;
            self->m_server.addTab(self);
            self->read();
        });
    }

    void sendText(const std::string& text) { queue(std::make_shared<const std::string>(text), false); }
    void sendBinary(std::shared_ptr<const std::string> payload) { queue(std::move(payload), true); }
    void close() {
        if (!m_open) return;
        m_open = false;
        m_ws.async_close(websocket::close_code::going_away, [self = shared_from_this()](beast::error_code) {});
    }

    // The finger this tab holds on the phone, so that a tab closed mid-drag can end its touch.
    struct Finger {
        bool down = false;
        double x = 0, y = 0, t = 0;
    } finger;

private:
    void read() {
        m_ws.async_read(m_buffer, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            if (ec) {
                self->ended();
                return;
            }
            if (!self->m_ws.got_text()) {
                self->sendText(errorMessage("binary messages are not understood; send JSON text"));
            } else {
                self->m_server.pageMessage(*self, beast::buffers_to_string(self->m_buffer.data()));
            }
            self->m_buffer.consume(self->m_buffer.size());
            self->read();
        });
    }

    void ended() {
        if (m_gone) return;
        m_gone = true;
        m_open = false;
        m_server.removeTab(*this);
    }

    void queue(std::shared_ptr<const std::string> payload, bool binary) {
        if (m_gone || !m_open) return;
        m_backlog += payload->size();
        m_queue.push_back({std::move(payload), binary});
        if (m_backlog > kMaxTabBacklog) {
            m_queue.clear();
            m_backlog = 0;
            beast::get_lowest_layer(m_ws).close();
            return;
        }
        if (!m_writing) write();
    }

    void write() {
        if (m_queue.empty()) {
            m_writing = false;
            return;
        }
        m_writing = true;
        auto& next = m_queue.front();
        m_ws.binary(next.binary);
        m_ws.async_write(asio::buffer(*next.payload), [self = shared_from_this()](beast::error_code ec, std::size_t) {
            self->m_backlog -= self->m_queue.front().payload->size();
            self->m_queue.pop_front();
            if (ec) {
                self->m_queue.clear();
                self->m_backlog = 0;
                self->m_writing = false;
                return;
            }
            self->write();
        });
    }

    struct Outgoing {
        std::shared_ptr<const std::string> payload;
        bool binary;
    };
    websocket::stream<beast::tcp_stream> m_ws;
    HttpServer::Impl& m_server;
    beast::flat_buffer m_buffer;
    std::deque<Outgoing> m_queue;
    std::size_t m_backlog = 0;
    bool m_writing = false;
    bool m_open = false;
    bool m_gone = false;
};

// One HTTP connection: requests in turn until it closes or becomes a tab.
class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(tcp::socket socket, HttpServer::Impl& server) : m_stream(std::move(socket)), m_server(server) {}

    void read() {
        m_parser.emplace();
        m_parser->body_limit(kMaxPageMessage);
        m_parser->header_limit(16 * 1024);
        m_stream.expires_after(std::chrono::seconds(30));
        http::async_read(m_stream, m_buffer, *m_parser, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            self->onRead(ec);
        });
    }

private:
    void onRead(beast::error_code ec) {
        if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == asio::error::eof ||
            ec == asio::error::connection_reset || ec == asio::error::operation_aborted)
            return close();
        if (ec == http::error::body_limit) return reply(status(http::status::payload_too_large, "request over 64 KiB\n", false));
        if (ec == http::error::header_limit) return reply(status(http::status::request_header_fields_too_large, "headers too long\n", false));
        if (ec) return reply(status(http::status::bad_request, "malformed request\n", false));

        auto request = m_parser->release();
        if (websocket::is_upgrade(request)) {
            if (request.target() != "/ws") return reply(status(http::status::not_found, "no such socket\n", false));
            m_stream.expires_never();
            std::make_shared<Tab>(m_stream.release_socket(), m_server)->start(std::move(request));
            return;
        }
        const bool keepAlive = request.keep_alive();
        if (request.method() != http::verb::get && request.method() != http::verb::head) {
            auto r = status(http::status::method_not_allowed, "only GET\n", keepAlive);
            r.set(http::field::allow, "GET, HEAD");
            return reply(std::move(r));
        }
        std::string_view target(request.target().data(), request.target().size());
        target = target.substr(0, target.find('?'));
        if (target == "/recording.scenario") {
            http::response<http::string_body> r{http::status::ok, 11};
            r.set(http::field::content_type, "text/plain; charset=utf-8");
            r.set(http::field::content_disposition, "attachment; filename=\"recording.scenario\"");
            r.set(http::field::cache_control, "no-store");
            r.body() = m_server.recordingText();
            r.keep_alive(keepAlive);
            return reply(std::move(r), request.method() == http::verb::head);
        }
        if (target == "/screenshot.png") {
            const bool head = request.method() == http::verb::head;
            m_server.requestScreenshot([self = shared_from_this(), keepAlive, head](const std::string* png) {
                if (!png) return self->reply(status(http::status::service_unavailable, "the phone is not running\n", keepAlive));
                http::response<http::string_body> r{http::status::ok, 11};
                r.set(http::field::content_type, "image/png");
                r.set(http::field::content_disposition, "attachment; filename=\"screenshot.png\"");
                r.set(http::field::cache_control, "no-store");
                r.body() = *png;
                r.keep_alive(keepAlive);
                self->reply(std::move(r), head);
            });
            return;
        }
        auto r = m_server.fileResponse(request);
        r.keep_alive(keepAlive);
        reply(std::move(r), request.method() == http::verb::head);
    }

    static http::response<http::string_body> status(http::status code, std::string text, bool keepAlive) {
        http::response<http::string_body> r{code, 11};
        r.set(http::field::content_type, "text/plain; charset=utf-8");
        r.body() = std::move(text);
        r.keep_alive(keepAlive);
        return r;
    }

    void reply(http::response<http::string_body> response, bool headOnly = false) {
        response.set(http::field::server, "vantile-sim");
        response.prepare_payload();
        if (headOnly) response.body().clear();
        auto shared = std::make_shared<http::response<http::string_body>>(std::move(response));
        m_stream.expires_after(std::chrono::seconds(30));
        // A HEAD answer keeps the length of the body it leaves out, so only the header is written then.
        auto done = [self = shared_from_this(), shared](beast::error_code ec, std::size_t) {
            if (ec || !shared->keep_alive()) return self->close();
            self->read();
        };
        if (headOnly) {
            auto serializer = std::make_shared<http::response_serializer<http::string_body>>(*shared);
            http::async_write_header(m_stream, *serializer,
                                     [serializer, done](beast::error_code ec, std::size_t n) { done(ec, n); });
        } else {
            http::async_write(m_stream, *shared, done);
        }
    }

    void close() {
        beast::error_code ec;
        m_stream.socket().shutdown(tcp::socket::shutdown_send, ec);
        m_stream.close();
    }

    beast::tcp_stream m_stream;
    HttpServer::Impl& m_server;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
};

// ---------------------------------------------------------------------------------------------------------------

HttpServer::Impl::Impl(ServeOptions options)
    : m_options(std::move(options)), m_acceptor(m_io), m_signals(m_io), m_quitTimer(m_io) {
    beast::error_code ec;
    tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), m_options.port);
    m_acceptor.open(endpoint.protocol(), ec);
    // Without reuse a port lingering in TIME_WAIT after a restart of the server would look taken; two listeners
    // on one port are still refused.
    if (!ec) m_acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) m_acceptor.bind(endpoint, ec);
    if (!ec) m_acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        std::string what = ec == asio::error::address_in_use ? "is taken by another program"
                         : ec == asio::error::access_denied ? "may not be used by this user"
                                                            : "cannot be listened on (" + ec.message() + ")";
        throw PortUnavailable("port " + std::to_string(m_options.port) + " on 127.0.0.1 " + what);
    }
    m_port = m_acceptor.local_endpoint().port();
    startSession(m_options.profile, true);
}

void HttpServer::Impl::run() {
    if (m_options.handleSignals) {
        m_signals.add(SIGINT);
        m_signals.add(SIGTERM);
        m_signals.async_wait([this](beast::error_code ec, int) {
            if (!ec) stop();
        });
    }
    accept();
    boot();
    m_io.run();
}

void HttpServer::Impl::stop() {
    asio::post(m_io, [this] {
        if (m_stopping) return;
        m_stopping = true;
        beast::error_code ec;
        m_acceptor.close(ec);
        m_signals.cancel(ec);
        if (!m_child) return finishStop();
        sendToPhone(encodeMessage(MessageKind::Json, R"({"type":"quit"})"));
        m_quitTimer.expires_after(std::chrono::milliseconds(static_cast<long>(m_options.quitGraceSeconds * 1000)));
        m_quitTimer.async_wait([this](beast::error_code ec) {
            if (!ec && m_child) finishStop();
        });
    });
}

void HttpServer::Impl::finishStop() {
    m_quitTimer.cancel();
    if (m_channel) {
        beast::error_code ec;
        m_channel->close(ec);
        m_channel.reset();
    }
    if (m_child) m_child->waitForExit(std::chrono::milliseconds(0));
    m_child.reset();
    failScreenshots();
    for (auto& tab : m_tabs) tab->close();
    m_tabs.clear();
    m_io.stop();
}

void HttpServer::Impl::accept() {
    m_acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec) {
            if (ec == asio::error::operation_aborted || m_stopping) return;
        } else {
            std::make_shared<HttpConnection>(std::move(socket), *this)->read();
        }
        accept();
    });
}

void HttpServer::Impl::startSession(const std::string& profile, bool freshStart) {
    m_profile = profile;
    double clock = m_options.startClock && freshStart
                       ? *m_options.startClock
                       : std::floor(std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() / 60) * 60;
    m_seed = m_options.seed && freshStart ? *m_options.seed : m_random() % 1000000000;
    m_clock = clock;
    m_recording = std::make_unique<Recording>(RecordingStart{profile, clock, m_seed});
    m_records.clear();
    m_prefs.reset();
    m_state.reset();
    m_hello.reset();
}

void HttpServer::Impl::boot() {
    ++m_boot;
    m_respringSeen = false;
    m_respringAsked = false;
    m_reader = MessageReader();
    // A new process starts running; the clock it is handed stands until its hello says where it is.
    m_paused = false;
    anchorClock(m_clock);
    PhoneLaunch launch{m_options.phoneCommand, m_options.root, m_profile, m_clock, m_seed, std::nullopt};
    auto setUp = m_recording->setUpLines();
    if (!setUp.empty()) {
        fs::path file = m_options.workFolder / ("setup-" + std::to_string(m_boot) + ".scenario");
        std::ofstream out(file, std::ios::trunc);
        for (const auto& line : setUp) out << line << "\n";
        launch.setupFile = file;
    }
    try {
        m_child = std::make_unique<PhoneChild>(launch);
    } catch (const std::exception& e) {
        broadcast(errorMessage(e.what()));
        std::cerr << "vantile-sim serve: " << e.what() << "\n";
        return;
    }
    m_channel = std::make_unique<asio::posix::stream_descriptor>(m_io, m_child->releaseChannel());
    readChannel();
    // Input the page sent while no phone ran belongs to none; the new phone starts clean.
    m_outbox.clear();
    m_writing = false;
    if (!m_screenshotWaiters.empty()) {
        m_screenshotAsked = true;
        sendToPhone(encodeMessage(MessageKind::Json, R"({"type":"screenshot"})"));
    }
}

void HttpServer::Impl::readChannel() {
    m_channel->async_read_some(asio::buffer(m_readBuffer), [this, channel = m_channel.get()](beast::error_code ec, std::size_t n) {
        if (channel != m_channel.get()) return;  // a channel closed since
        if (ec) return channelEnded();
        if (!m_reader.feed(std::string_view(m_readBuffer.data(), n))) {
            std::cerr << "vantile-sim serve: the phone's channel is damaged; ending the phone\n";
            if (m_child) kill(m_child->pid(), SIGKILL);
            return channelEnded();
        }
        while (auto message = m_reader.next()) {
            channelMessage(std::move(*message));
            if (channel != m_channel.get()) return;
        }
        readChannel();
    });
}

void HttpServer::Impl::channelMessage(ChannelMessage message) {
    switch (message.kind) {
    case MessageKind::Json:
        phoneJson(message.payload);
        break;
    case MessageKind::Frame:
        broadcastFrame(std::make_shared<const std::string>(std::move(message.payload)));
        break;
    case MessageKind::Screenshot: {
        m_screenshotAsked = false;
        auto waiters = std::move(m_screenshotWaiters);
        m_screenshotWaiters.clear();
        for (auto& w : waiters) w(&message.payload);
        break;
    }
    }
}

void HttpServer::Impl::phoneJson(const std::string& text) {
    auto message = parseJSON(text, 32);
    const std::string* type = message ? message->find("type") ? message->find("type")->asString() : nullptr : nullptr;
    if (!type) {
        std::cerr << "vantile-sim serve: the phone sent a message without a type\n";
        return;
    }
    auto& fields = *message->asDictionary();
    if (*type == "hello") {
        if (auto* clock = message->find("clock"); clock && clock->numberValue() && std::isfinite(*clock->numberValue()))
            anchorClock(*clock->numberValue());
        Value::Array profiles, locales;
        for (const auto& p : deviceProfiles()) profiles.push_back(Value(p.name));
        for (const char* l : kLocales) locales.push_back(Value(l));
        if (!fields.count("profiles")) fields["profiles"] = Value(profiles);
        if (!fields.count("locales")) fields["locales"] = Value(locales);
        if (!fields.count("paused")) fields["paused"] = Value(false);
        m_hello = *message;
        broadcast(toJSON(*message));
        if (!m_tabs.empty()) {
            requestScreenshot([this](const std::string* png) {
                auto size = png ? pngSize(*png) : std::nullopt;
                if (size) broadcastFrame(std::make_shared<const std::string>(encodeFrame(*size, *png)));
            });
        }
    } else if (*type == "state") {
        // The state's clock is the status bar's minute; the exact clock comes with the hello and the recorded lines.
        if (auto* paused = message->find("paused"); paused && paused->asBoolean() && *paused->asBoolean() != m_paused) {
            anchorClock(virtualNow());
            m_paused = *paused->asBoolean();
        }
        m_state = *message;
        sendState();
    } else if (*type == "prefs") {
        if (auto* domain = message->find("domain")) m_recording->setStartPreferences(*domain);
        m_prefs = text;
        broadcast(text);
    } else if (*type == "record") {
        m_records.push_back(text);
        broadcast(text);
    } else if (*type == "recorded") {
        auto* time = message->find("time");
        auto* lines = message->find("lines");
        std::vector<std::string> batch;
        if (lines && lines->asArray())
            for (const auto& line : *lines->asArray())
                if (auto* s = line.asString()) batch.push_back(*s);
        auto* duration = message->find("duration");
        double at = time && time->numberValue() ? *time->numberValue() : m_clock;
        double took = duration && duration->numberValue() ? *duration->numberValue() : 0;
        if (std::isfinite(at) && std::isfinite(took) && at + took > virtualNow()) anchorClock(at + took);
        m_recording->add(at, batch, took);
        sendState();
    } else if (*type == "respring") {
        m_respringSeen = true;
        if (auto* clock = message->find("clock"); clock && clock->numberValue() && std::isfinite(*clock->numberValue()))
            anchorClock(*clock->numberValue());
        // The add-on's own respring comes again from replaying the tap that asked for it; the panel's is a line.
        if (m_respringAsked && m_recording->lastLine() != "respring") m_recording->add(virtualNow(), {"respring"});
        broadcast(text);
    } else {
        broadcast(text);
    }
}

double HttpServer::Impl::virtualNow() const {
    if (m_paused || !m_child) return m_clock;
    return m_clock + std::chrono::duration<double>(std::chrono::steady_clock::now() - m_clockWall).count();
}

void HttpServer::Impl::anchorClock(double clock) {
    m_clock = clock;
    m_clockWall = std::chrono::steady_clock::now();
}

void HttpServer::Impl::sendState() {
    if (!m_state) return;
    auto& fields = *m_state->asDictionary();
    fields["boot"] = Value(m_boot);
    fields["recordedLines"] = Value(static_cast<long>(m_recording->lineCount()));
    broadcast(toJSON(*m_state));
}

void HttpServer::Impl::channelEnded() {
    if (m_channel) {
        beast::error_code ec;
        m_channel->close(ec);
        m_channel.reset();
    }
    m_outbox.clear();
    m_writing = false;
    if (!m_child) return;
    // A phone that ended without a respring handed on no clock: the next one starts where this one was.
    if (!m_respringSeen) anchorClock(virtualNow());
    const double grace = m_stopping ? m_options.quitGraceSeconds : 2.0;
    PhoneExit ending = m_child->waitForExit(std::chrono::milliseconds(static_cast<long>(grace * 1000)));
    m_child.reset();
    if (m_stopping) return finishStop();
    m_screenshotAsked = false;

    if (m_nextProfile) {
        startSession(*m_nextProfile, false);
        m_nextProfile.reset();
        m_unexpectedEnds = 0;
        return boot();
    }
    if (m_respringSeen && ending.cleanExit()) {
        m_unexpectedEnds = 0;
        return boot();
    }
    failScreenshots();
    std::string what = "the phone process " + ending.describe();
    std::cerr << "vantile-sim serve: " << what << "\n";
    if (m_unexpectedEnds++ == 0) {
        broadcast(errorMessage(what + "; starting it again"));
        return boot();
    }
    broadcast(errorMessage(what + " again; not starting it any more (choose a profile to try again)"));
}

void HttpServer::Impl::failScreenshots() {
    m_screenshotAsked = false;
    auto waiters = std::move(m_screenshotWaiters);
    m_screenshotWaiters.clear();
    for (auto& w : waiters) w(nullptr);
}

void HttpServer::Impl::requestScreenshot(std::function<void(const std::string*)> done) {
    if (!m_child || !m_channel) return done(nullptr);
    m_screenshotWaiters.push_back(std::move(done));
    if (m_screenshotAsked) return;
    m_screenshotAsked = true;
    sendToPhone(encodeMessage(MessageKind::Json, R"({"type":"screenshot"})"));
}

void HttpServer::Impl::sendToPhone(std::string bytes) {
    if (!m_channel) return;
    m_outbox.push_back(std::move(bytes));
    if (!m_writing) writeChannel();
}

void HttpServer::Impl::writeChannel() {
    if (m_outbox.empty() || !m_channel) {
        m_writing = false;
        return;
    }
    m_writing = true;
    asio::async_write(*m_channel, asio::buffer(m_outbox.front()),
                      [this, channel = m_channel.get()](beast::error_code ec, std::size_t) {
                          if (channel != m_channel.get()) return;
                          m_outbox.pop_front();
                          // A broken channel is also seen by the read, which handles the phone's end.
                          if (ec) {
                              m_outbox.clear();
                              m_writing = false;
                              return;
                          }
                          writeChannel();
                      });
}

void HttpServer::Impl::broadcast(const std::string& text) {
    for (const auto& tab : m_tabs) tab->sendText(text);
}

void HttpServer::Impl::broadcastFrame(std::shared_ptr<const std::string> payload) {
    for (const auto& tab : m_tabs) tab->sendBinary(payload);
}

void HttpServer::Impl::addTab(const std::shared_ptr<Tab>& tab) {
    if (m_stopping) return tab->close();
    m_tabs.insert(tab);
    if (m_hello) tab->sendText(toJSON(*m_hello));
    std::weak_ptr<Tab> weak = tab;
    requestScreenshot([weak](const std::string* png) {
        auto t = weak.lock();
        auto size = png ? pngSize(*png) : std::nullopt;
        if (t && size) t->sendBinary(std::make_shared<const std::string>(encodeFrame(*size, *png)));
    });
    if (m_state) {
        auto& fields = *m_state->asDictionary();
        fields["boot"] = Value(m_boot);
        fields["recordedLines"] = Value(static_cast<long>(m_recording->lineCount()));
        tab->sendText(toJSON(*m_state));
    }
    if (m_prefs) tab->sendText(*m_prefs);
    for (const auto& record : m_records) tab->sendText(record);
}

void HttpServer::Impl::removeTab(Tab& tab) {
    if (tab.finger.down && m_channel) {
        // The browser went away with the finger on the glass: the touch ends as cancelled, as when a phone call
        // takes the screen, instead of staying down for ever.
        Value::Dictionary cancel{{"type", Value("pointer")}, {"phase", Value("cancel")}, {"x", Value(tab.finger.x)},
                                 {"y", Value(tab.finger.y)}, {"t", Value(tab.finger.t)}};
        sendToPhone(encodeMessage(MessageKind::Json, toJSON(Value(cancel))));
        tab.finger.down = false;
    }
    for (auto it = m_tabs.begin(); it != m_tabs.end(); ++it)
        if (it->get() == &tab) {
            m_tabs.erase(it);
            break;
        }
}

void HttpServer::Impl::pageMessage(Tab& tab, const std::string& text) {
    auto message = parseJSON(text, kMaxPageJsonDepth);
    if (!message || !message->isDictionary()) return tab.sendText(errorMessage("not a JSON object"));
    const Value* typeValue = message->find("type");
    const std::string* type = typeValue ? typeValue->asString() : nullptr;
    if (!type) return tab.sendText(errorMessage("a message needs a \"type\""));

    auto number = [&](const char* name) -> std::optional<double> {
        const Value* v = message->find(name);
        auto n = v && !v->isBoolean() ? v->numberValue() : std::nullopt;
        if (n && !std::isfinite(*n)) return std::nullopt;
        return n;
    };

    if (*type == "profile") {
        const Value* name = message->find("name");
        if (!name || !name->asString() || !deviceProfileNamed(*name->asString()))
            return tab.sendText(errorMessage("\"profile\" wants the name of a device profile"));
        m_nextProfile = *name->asString();
        if (!m_child) {
            startSession(*m_nextProfile, false);
            m_nextProfile.reset();
            m_unexpectedEnds = 0;
            return boot();
        }
        sendToPhone(encodeMessage(MessageKind::Json, R"({"type":"quit"})"));
        // A phone that does not answer is ended all the same; its channel closing then starts the new session.
        m_quitTimer.expires_after(std::chrono::milliseconds(static_cast<long>(m_options.quitGraceSeconds * 1000)));
        m_quitTimer.async_wait([this, pid = m_child->pid()](beast::error_code ec) {
            if (!ec && m_child && m_child->pid() == pid && !m_child->poll()) kill(pid, SIGKILL);
        });
        return;
    }
    if (*type == "pointer") {
        const Value* phase = message->find("phase");
        const std::string* p = phase ? phase->asString() : nullptr;
        auto x = number("x"), y = number("y"), t = number("t");
        if (!p || (*p != "down" && *p != "move" && *p != "up" && *p != "cancel") || !x || !y || !t)
            return tab.sendText(errorMessage("\"pointer\" wants phase down|move|up|cancel and numbers x, y, t"));
        tab.finger.down = *p == "down" || *p == "move";
        tab.finger.x = *x;
        tab.finger.y = *y;
        tab.finger.t = *t;
    } else if (*type == "wheel") {
        if (!number("dx") || !number("dy")) return tab.sendText(errorMessage("\"wheel\" wants numbers dx and dy"));
    } else if (*type == "text") {
        const Value* t = message->find("text");
        if (!t || !t->asString()) return tab.sendText(errorMessage("\"text\" wants a string \"text\""));
    } else if (*type == "key") {
        const Value* k = message->find("key");
        const std::string* key = k ? k->asString() : nullptr;
        if (!key || (*key != "Return" && *key != "Escape" && *key != "Backspace"))
            return tab.sendText(errorMessage("\"key\" wants Return, Escape or Backspace"));
    } else if (*type == "step") {
        auto seconds = number("seconds");
        if (!seconds || *seconds <= 0 || *seconds > kLongestStep)
            return tab.sendText(errorMessage("\"step\" wants a number of seconds above 0, up to 60"));
        if (m_paused && m_child) anchorClock(m_clock + *seconds);
    } else if (*type == "command") {
        const Value* l = message->find("line");
        const std::string* line = l ? l->asString() : nullptr;
        if (!line || line->find_first_of("\r\n") != std::string::npos)
            return tab.sendText(errorMessage("\"command\" wants one scenario line"));
        scenario::Script script;
        try {
            script = scenario::parseScript(*line, "panel");
        } catch (const scenario::StepError& e) {
            return tab.sendText(errorMessage(e.what()));
        }
        if (script.steps.size() != 1) return tab.sendText(errorMessage("\"command\" wants one scenario line"));
        const auto& words = script.steps.front().words;
        bool allowed = false;
        for (const char* c : kPanelCommands) allowed = allowed || words.front() == c;
        const auto* command = scenarioCommand(words.front());
        if (!allowed || !command) return tab.sendText(errorMessage("the panel cannot run \"" + words.front() + "\""));
        const std::size_t args = words.size() - 1;
        if (args < command->minArgs || args > command->maxArgs)
            return tab.sendText(errorMessage("\"" + words.front() + "\" wants " + command->info.usage));
        if (words.front() == "respring") m_respringAsked = true;
    } else if (*type == "screenshot") {
        std::weak_ptr<Tab> weak = tab.shared_from_this();
        return requestScreenshot([weak](const std::string* png) {
            auto t = weak.lock();
            auto size = png ? pngSize(*png) : std::nullopt;
            if (t && size) t->sendBinary(std::make_shared<const std::string>(encodeFrame(*size, *png)));
        });
    } else if (*type != "pause" && *type != "resume") {
        return tab.sendText(errorMessage("unknown message type \"" + *type + "\""));
    }
    if (!m_child) return tab.sendText(errorMessage("the phone is not running"));
    sendToPhone(encodeMessage(MessageKind::Json, text));
}

http::response<http::string_body> HttpServer::Impl::fileResponse(const http::request<http::string_body>& request) const {
    auto refuse = [&](http::status code, const char* text) {
        http::response<http::string_body> r{code, request.version()};
        r.set(http::field::content_type, "text/plain; charset=utf-8");
        r.body() = text;
        return r;
    };
    std::string_view target(request.target().data(), request.target().size());
    target = target.substr(0, target.find('?'));
    auto decoded = percentDecode(target);
    if (!decoded || decoded->empty() || decoded->front() != '/' || decoded->find('\0') != std::string::npos ||
        decoded->find('\\') != std::string::npos)
        return refuse(http::status::bad_request, "bad path\n");
    std::string relative = decoded->substr(1);
    if (relative.empty()) relative = "index.html";
    // Refused by its words before touching the file system: no parent steps, no absolute path in disguise.
    for (std::size_t start = 0; start <= relative.size();) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        std::string_view segment(relative.data() + start, end - start);
        if (segment == ".." || segment == "." || (segment.empty() && end != relative.size()))
            return refuse(http::status::forbidden, "outside the page\n");
        start = end + 1;
    }
    std::error_code ec;
    const fs::path base = fs::canonical(m_options.pageFolder, ec);
    if (ec) return refuse(http::status::not_found, "the page is not built\n");
    // A link inside the folder may still lead out of it: what counts is where the file really is.
    const fs::path file = fs::canonical(base / relative, ec);
    if (ec) return refuse(http::status::not_found, "not found\n");
    auto [mismatch, rest] = std::mismatch(base.begin(), base.end(), file.begin(), file.end());
    if (mismatch != base.end()) return refuse(http::status::forbidden, "outside the page\n");
    if (!fs::is_regular_file(file, ec)) return refuse(http::status::not_found, "not found\n");
    std::ifstream in(file, std::ios::binary);
    std::ostringstream body;
    body << in.rdbuf();
    if (!in) return refuse(http::status::not_found, "cannot be read\n");
    http::response<http::string_body> r{http::status::ok, request.version()};
    r.set(http::field::content_type, contentType(file));
    r.set(http::field::cache_control, "no-cache");
    r.body() = body.str();
    return r;
}

// ---------------------------------------------------------------------------------------------------------------

HttpServer::HttpServer(ServeOptions options) : m_impl(std::make_unique<Impl>(std::move(options))) {}
HttpServer::~HttpServer() = default;
std::uint16_t HttpServer::port() const { return m_impl->port(); }
void HttpServer::run() { m_impl->run(); }
void HttpServer::stop() { m_impl->stop(); }

}  // namespace sim::serve
