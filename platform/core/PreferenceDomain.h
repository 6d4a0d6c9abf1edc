#pragma once

// The store behind every preference call of the process (HBPreferences, CFPreferences, NSUserDefaults and the
// dictionary-file helpers): one object per backing file, so every reader in the process sees every writer at once.
//
// A domain "com.example" is the file /var/mobile/Library/Preferences/com.example.plist below the device root.
// Writes merge: under an exclusive lock on "<file>.lock" the file is read again, the changed keys are applied, and
// the result replaces the file atomically (temporary file, fsync, rename), so two processes writing different keys
// at once both land and a writer killed half-way leaves the old file or the new one. A domain left without keys
// deletes its file. A file that is unreadable, truncated or not a dictionary reads as an empty domain; so does one
// that parsePropertyList() refuses (nesting too deep, values it could not keep exactly), one that is no regular file
// (a pipe would block every reader) or larger than kMaximumPlistFileSize, and one reached through a symbolic link
// that leads out of the device root. The first write moves it aside to "<file>.corrupt" (".corrupt.2", ... when that
// exists) before replacing it. A value the file could not hold exactly (see serializePropertyList()) fails the write,
// which then changes nothing. The preferences folder and the lock file must lead inside the root as well, and the
// lock file be a regular file; otherwise writes fail (and reads find nothing).
//
// Reads come from an in-process copy that is re-validated by one stat(2) of the file (inode, size, modification
// and change times to the nanosecond) and a write counter that every writer bumps in the lock file; the counter
// catches what the stat cannot: two writes within one tick of the file system's clock whose second file reuses the
// first one's inode and size. Nothing is re-read while both agree.
//
// The counter is read through a shared mapping, so it costs no system call and is looked at on every read: a write
// through this store, by any process, is seen by the next read. The stat is only needed for a file changed behind
// the store's back (replaced by hand or by a tool); it is made once per check round (each turn of the main run loop
// starts one, see checkPreferenceChanges()), and the reads in between share it. Such a change is therefore seen
// from the next turn on; on the phone, edits that bypass the preferences daemon are not seen at all until it
// restarts. A domain whose counter cannot be mapped yet (nobody has written it through the store) is stat'ed at
// every read.
//
// Changes written by this process reach the domain's observers before the write call returns; changes written by
// other processes reach them when checkForChanges() runs, which platform::checkPreferenceChanges() does for every
// domain, and which runs at the start of every turn of the main run loop.

#include "platform/core/Value.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What happened to preference calls that could not do their work; inside the add-on failures are silent, so
// tests and the simulator read them here.
struct PreferenceCounters {
    std::size_t refusedDomains = 0;  // calls naming an empty domain, one with "/" or "..", or no device root
    std::size_t failedWrites = 0;    // writes whose file could not be locked, written or removed
    std::size_t corruptFilesKept = 0;  // damaged files moved aside before a write replaced them
    // Backing files (or lock files) left unread: not regular files, larger than the cap, or reached through a
    // symbolic link that leads out of the device root. They read as damaged.
    std::size_t refusedFiles = 0;
};
PreferenceCounters preferenceCounters();
void resetPreferenceCounters();

// Starts a new check round and runs every observed domain's check for changes written by other processes (see
// above). Returns the number of domains that changed.
std::size_t checkPreferenceChanges();

class PreferenceDomain {
public:
    using Snapshot = std::shared_ptr<const Value::Dictionary>;
    enum class FileState { Missing, Readable, Unreadable };

    // The store of a domain name, shared by all callers. Nothing (and the refusal counted) for a name that is
    // empty or contains "/" or "..", and while no device root is set.
    static std::shared_ptr<PreferenceDomain> named(std::string_view domain);
    // The store whose backing file is `hostPath`, when it is one (a "<name>.plist" directly in the device's
    // preferences folder with an acceptable name); nothing otherwise, without counting.
    static std::shared_ptr<PreferenceDomain> forFile(const std::filesystem::path& hostPath);
    // True for an acceptable domain name (see named()).
    static bool isAcceptableName(std::string_view domain);

    PreferenceDomain(const PreferenceDomain&) = delete;
    PreferenceDomain& operator=(const PreferenceDomain&) = delete;
    ~PreferenceDomain();

    const std::filesystem::path& file() const { return m_file; }

    // The stored keys, re-validated against the file first. Never null; empty for a missing or damaged file.
    Snapshot snapshot();
    // Whether the backing file exists and reads as a dictionary, as of the last snapshot, write or check.
    FileState fileState();
    // The stored value, None when absent.
    Value value(std::string_view key);

    // Sets (or, for a None value, removes) keys, merging with what the file holds now. False when the file could
    // not be written; the old file is then untouched and the failure counted. Writing what is already stored
    // touches nothing.
    bool write(const std::map<std::string, Value, std::less<>>& changes);
    // Makes the stored keys exactly `contents` (an empty dictionary deletes the file). False as write().
    bool replace(const Value::Dictionary& contents);

    // Looks at the file; when another process changed what it holds, reloads and tells the observers. True when
    // the stored keys changed. A domain without observers is left alone (its next read re-validates).
    bool checkForChanges();

    // Observers run, on the thread that wrote or checked, after every change of the stored keys.
    using ObserverToken = std::size_t;
    ObserverToken addObserver(std::function<void()> observer);
    void removeObserver(ObserverToken token);

    explicit PreferenceDomain(std::filesystem::path file);

private:
    struct Stamp {
        bool exists = false;
        std::uint64_t inode = 0, size = 0;
        std::int64_t mtimeNs = 0, ctimeNs = 0;
        std::uint64_t writes = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    Stamp currentStamp();
    std::uint64_t writeCounter();
    // Reloads when the stamp moved; true when the keys changed. Unless `force`, the file is only stat'ed once per
    // check round while the write counter stays put. Called with m_mutex held.
    bool revalidateLocked(bool force);
    bool commit(const std::function<bool(Value::Dictionary&)>& change);
    void notify();

    const std::filesystem::path m_file;
    const std::filesystem::path m_lockFile;
    // The device root when the domain was made; every file the domain opens must resolve inside it.
    const std::filesystem::path m_root;
    std::mutex m_mutex;
    Snapshot m_snapshot;
    FileState m_state = FileState::Missing;
    std::optional<Stamp> m_stamp;
    std::uint64_t m_stampRound = 0;  // the check round in which m_stamp was taken
    int m_counterFd = -1;
    // The counter mapped read-only once the lock file holds one, so checking for writes costs no system call.
    const void* m_counterMap = nullptr;
    std::map<ObserverToken, std::function<void()>> m_observers;
    ObserverToken m_nextToken = 1;
};

}  // namespace platform
