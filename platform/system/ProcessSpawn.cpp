#include "platform/system/ProcessSpawn.h"

#include "platform/core/EffectSink.h"

#include <map>
#include <mutex>

namespace platform::posix {

namespace {

struct State {
    std::mutex mutex;
    SpawnHandler handler;
    std::vector<SpawnRecord> spawns;
    std::vector<WaitRecord> waits;
    std::map<pid_t, int> children;  // started, not waited for: pid → exit status
    // The device's pids: low numbers belong to its own daemons.
    pid_t nextPid = 400;
};

State& state() {
    static auto* s = new State();
    return *s;
}

}  // namespace

int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions,
                const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]) {
    SpawnRecord record;
    record.path = path ? path : "";
    for (std::size_t i = 0; argv && argv[i]; ++i) record.arguments.emplace_back(argv[i]);
    record.fileActions = fileActions != nullptr;
    record.attributes = attributes != nullptr;
    record.environment = envp != nullptr;

    State& s = state();
    SpawnHandler handler;
    {
        std::lock_guard lock(s.mutex);
        handler = s.handler;
    }
    // The handler may act on the device (end its interface), so it runs without the lock.
    SpawnAnswer answer = handler ? handler(record) : SpawnAnswer{kENOENT, 0};
    if (record.path.empty() && answer.error == 0) answer.error = kENOENT;
    record.error = answer.error;
    {
        std::lock_guard lock(s.mutex);
        if (answer.error == 0) {
            record.pid = s.nextPid++;
            s.children[record.pid] = answer.exitStatus;
        }
        s.spawns.push_back(record);
    }
    if (answer.error == 0 && pid) *pid = record.pid;
    recordEffect("spawn", commandLine(record.arguments), answer.error);
    return answer.error;
}

pid_t waitpid(pid_t pid, int* status, int options) {
    State& s = state();
    pid_t result = -1;
    {
        std::lock_guard lock(s.mutex);
        if (auto it = s.children.find(pid); it != s.children.end()) {
            if (status) *status = (it->second & 0xFF) << 8;
            s.children.erase(it);
            result = pid;
        }
        s.waits.push_back({pid, options, result});
    }
    recordEffect("waitpid", std::to_string(pid), options);
    return result;
}

void setSpawnHandler(SpawnHandler handler) {
    std::lock_guard lock(state().mutex);
    state().handler = std::move(handler);
}

std::vector<SpawnRecord> spawnRecords() {
    std::lock_guard lock(state().mutex);
    return state().spawns;
}

std::vector<WaitRecord> waitRecords() {
    std::lock_guard lock(state().mutex);
    return state().waits;
}

void resetSpawnRecords() {
    std::lock_guard lock(state().mutex);
    state().spawns.clear();
    state().waits.clear();
    state().children.clear();
}

std::string commandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const auto& a : arguments) line += (line.empty() ? "" : " ") + a;
    return line;
}

}  // namespace platform::posix
