#include "sim/serve/PhoneChild.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace sim::serve {

namespace {

constexpr int kChildChannel = 3;

PhoneExit exitOf(int status) {
    PhoneExit e;
    if (WIFEXITED(status)) e.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) e.signal = WTERMSIG(status);
    return e;
}

}  // namespace

std::string PhoneExit::describe() const {
    if (exitCode) return "exited with status " + std::to_string(*exitCode);
    if (signal) return std::string("was ended by signal ") + strsignal(*signal);
    return "ended";
}

std::vector<std::string> PhoneChild::arguments(const PhoneLaunch& launch) {
    std::vector<std::string> argv = launch.command;
    std::ostringstream clock;
    clock << std::setprecision(17) << launch.clock;
    argv.insert(argv.end(), {"--channel", std::to_string(kChildChannel), "--root", launch.root.string(), "--profile",
                             launch.profile, "--clock", clock.str(), "--seed", std::to_string(launch.seed)});
    if (launch.setupFile) argv.insert(argv.end(), {"--setup", launch.setupFile->string()});
    return argv;
}

PhoneChild::PhoneChild(const PhoneLaunch& launch) {
    if (launch.command.empty()) throw std::logic_error("a phone process needs a program");
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        throw std::runtime_error(std::string("cannot make the phone's channel: ") + strerror(errno));
    // Everything the child needs is prepared before fork: after it, only async-signal-safe calls are allowed.
    std::vector<std::string> argv = arguments(launch);
    std::vector<char*> raw;
    for (auto& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) {
        int error = errno;
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error(std::string("cannot start the phone process: ") + strerror(error));
    }
    if (pid == 0) {
        // dup2 clears close-on-exec on the copy; every other descriptor of the server (its listening socket, the
        // browsers' connections) must not live on in the phone, or a port would stay taken after the server ends.
        if (dup2(fds[1], kChildChannel) < 0) _exit(127);
        close_range(kChildChannel + 1, ~0u, 0);
        signal(SIGPIPE, SIG_DFL);
        execv(raw[0], raw.data());
        const char message[] = "vantile-sim serve: cannot run the phone program\n";
        [[maybe_unused]] auto n = write(STDERR_FILENO, message, sizeof message - 1);
        _exit(127);
    }
    close(fds[1]);
    m_pid = pid;
    m_channel = fds[0];
}

PhoneChild::~PhoneChild() {
    if (m_channel >= 0) close(m_channel);
    if (!m_exit) waitForExit(std::chrono::milliseconds(0));
}

int PhoneChild::releaseChannel() {
    int fd = m_channel;
    m_channel = -1;
    return fd;
}

std::optional<PhoneExit> PhoneChild::poll() {
    if (m_exit) return m_exit;
    int status = 0;
    pid_t r;
    do r = waitpid(m_pid, &status, WNOHANG);
    while (r < 0 && errno == EINTR);
    if (r == m_pid) m_exit = exitOf(status);
    else if (r < 0) m_exit = PhoneExit{};  // not our child any more: nothing to wait for
    return m_exit;
}

PhoneExit PhoneChild::waitForExit(std::chrono::milliseconds grace) {
    auto deadline = std::chrono::steady_clock::now() + grace;
    while (!poll()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(m_pid, SIGKILL);
            int status = 0;
            pid_t r;
            do r = waitpid(m_pid, &status, 0);
            while (r < 0 && errno == EINTR);
            m_exit = r == m_pid ? exitOf(status) : PhoneExit{};
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return *m_exit;
}

}  // namespace sim::serve
