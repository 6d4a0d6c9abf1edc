#pragma once

// Starting a program and waiting for it, as the add-on's utilities call the C library: posix_spawn and waitpid
// with the device's numbers, so the add-on never includes a system header and never starts a process of the
// machine it runs on.
//
// Every call is recorded exactly (path, argument list, whether file actions, attributes or an environment were
// given; the pid and options of each wait) and reported to the effect sink as "spawn" (the arguments joined by
// spaces, the error number as value) or "waitpid" (the pid as detail, the options as value). What a program does
// is the device's: the host that plays it installs a handler that answers each start (an error, or the exit status
// the child will have) and acts on it (killall of the interface's daemons). Without a handler nothing can be
// started: posix_spawn answers ENOENT.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace platform::posix {

using pid_t = int;

// Opaque as the add-on sees them; it only ever passes null.
struct posix_spawn_file_actions_t;
struct posix_spawnattr_t;

// Error numbers and wait options as the device numbers them.
inline constexpr int kENOENT = 2;
inline constexpr int kECHILD = 10;
inline constexpr int kEAGAIN = 35;
inline constexpr int kWNOHANG = 1;
inline constexpr int kWUNTRACED = 2;
inline constexpr int kWEXITED = 4;

// 0 and the child's pid in `*pid` (when pid is not null) on success; an error number (and `*pid` untouched) when
// the program could not be started. `argv` and `envp` are null-terminated lists; a null `argv` is an empty list.
int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions,
                const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]);
// The pid of a started child that had not been waited for yet, with its exit status in `*status` (encoded as the
// C library does: status << 8); -1 for any other pid (no such child, or waited for already), `*status` untouched.
// The device's children end at once, so the wait never blocks.
pid_t waitpid(pid_t pid, int* status, int options);

struct SpawnRecord {
    std::string path;
    std::vector<std::string> arguments;
    bool fileActions = false;
    bool attributes = false;
    bool environment = false;
    int error = 0;  // what posix_spawn answered
    pid_t pid = 0;  // 0 when nothing started
};

struct WaitRecord {
    pid_t pid = 0;
    int options = 0;
    pid_t result = 0;
};

// What the device answers for one start.
struct SpawnAnswer {
    int error = 0;       // non-zero: nothing starts
    int exitStatus = 0;  // what the child ends with
};
// Called on the thread that spawns, after the record was made and before posix_spawn returns; an empty function
// removes the handler.
using SpawnHandler = std::function<SpawnAnswer(const SpawnRecord&)>;
void setSpawnHandler(SpawnHandler handler);

// The calls since the last reset, oldest first.
std::vector<SpawnRecord> spawnRecords();
std::vector<WaitRecord> waitRecords();
// Forgets the records and the children not waited for (the handler stays).
void resetSpawnRecords();

// The arguments joined by single spaces, as a shell would show the command ("killall -9 backboardd").
std::string commandLine(const std::vector<std::string>& arguments);

}  // namespace platform::posix
