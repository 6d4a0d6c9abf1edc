#include "tests/sim/SimProcess.h"

#include "platform/core/PropertyList.h"
#include "platform/harness/JSONValue.h"

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace simtest {

std::optional<Value> readReport(std::string_view text) { return parseJSON(text, 1024); }

std::optional<Value> Run::json() const { return readReport(out); }

Run runSimulator(const std::vector<std::string>& arguments) {
    const std::string program = std::string(VANTILE_BUILD_DIR) + "/vantile-sim";
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    Run run;
    if (spawned != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        run.err = "cannot start " + program;
        return run;
    }
    // Both pipes are drained together so a chatty stderr cannot block the child while we wait on stdout.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buf[4096];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

void TempDeviceRoot::writePreferences(const Value::Dictionary& keys) const {
    const auto file = preferencesFolder() / "com.Zorvanic.VantilePrefs.plist";
    std::filesystem::create_directories(file.parent_path());
    if (!platform::writePropertyListFile(file, Value(keys)))
        throw std::runtime_error("cannot write " + file.string());
}

const Value* at(const Value& root, std::string_view path) {
    const Value* v = &root;
    while (v && !path.empty()) {
        const auto slash = path.find('/');
        v = v->find(path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return v;
}

std::vector<std::string> stringList(const Value* array) {
    std::vector<std::string> out;
    if (!array || !array->asArray()) return out;
    for (const Value& v : *array->asArray())
        if (const std::string* s = v.asString()) out.push_back(*s);
    return out;
}

}  // namespace simtest
