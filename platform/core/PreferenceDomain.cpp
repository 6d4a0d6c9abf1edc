#include "platform/core/PreferenceDomain.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/PropertyList.h"
#include "platform/core/TurnObservers.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view kPreferencesFolder = "/var/mobile/Library/Preferences";

struct Counters {
    std::atomic<std::size_t> refused{0}, failed{0}, kept{0}, refusedFiles{0};
};
Counters& counters() {
    static Counters c;
    return c;
}

// Rounds start at 1 so that a domain that has never been stat'ed (round 0) never counts as checked.
std::atomic<std::uint64_t>& checkRound() {
    static std::atomic<std::uint64_t> round{1};
    return round;
}

struct DomainRegistry {
    std::mutex mutex;
    std::map<std::filesystem::path, std::shared_ptr<PreferenceDomain>> domains;
    bool observing = false;
};
DomainRegistry& domainRegistry() {
    static DomainRegistry r;
    return r;
}

std::shared_ptr<PreferenceDomain> domainForPath(const std::filesystem::path& file) {
    auto& r = domainRegistry();
    std::lock_guard lock(r.mutex);
    if (!r.observing) {
        // The check is cheap when nothing changed (one stat per observed domain), so it simply runs at every
        // turn rather than depending on a file-change notification that could be missed or coalesced.
        addTurnObserver([] { checkPreferenceChanges(); });
        r.observing = true;
    }
    auto& slot = r.domains[file];
    if (!slot) slot = std::make_shared<PreferenceDomain>(file);
    return slot;
}

// An exclusive flock(2) on the lock file for the lifetime of the object. The descriptor is opened afresh for each
// write: flock belongs to the open file description, which a forked child would otherwise share with its parent.
// `path` has been resolved inside the device root; a link put there since, or anything but a regular file, is
// refused rather than written (the counter goes into the file's first bytes).
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path) {
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (m_fd < 0) {
            if (errno == ELOOP) ++counters().refusedFiles;
            return;
        }
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ++counters().refusedFiles;
            release();
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                release();
                return;
            }
        }
    }
    ~FileLock() { release(); }  // closing releases the lock
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return m_fd >= 0; }
    std::uint64_t counter() const {
        std::uint64_t v = 0;
        if (::pread(m_fd, &v, sizeof v, 0) != sizeof v) return 0;
        return v;
    }
    void bump() const {
        const std::uint64_t v = counter() + 1;
        (void)!::pwrite(m_fd, &v, sizeof v, 0);
    }

private:
    void release() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
};

struct FileRead {
    Value::Dictionary dict;
    PreferenceDomain::FileState state = PreferenceDomain::FileState::Missing;
};

// Reads the backing file, unless following its links leads out of `root`, or it is no regular file or too large:
// such a file is counted and reads as damaged, so that the first write moves it aside.
FileRead readDomainFile(const std::filesystem::path& root, const std::filesystem::path& file) {
    FileRead r;
    const auto resolved = resolveBelow(root, file);
    if (!resolved) {
        ++counters().refusedFiles;
        r.state = PreferenceDomain::FileState::Unreadable;
        return r;
    }
    auto contents = loadPropertyListFile(*resolved);
    if (contents.failure == PlistFileFailure::Missing) return r;
    if (contents.failure == PlistFileFailure::NotRegularFile || contents.failure == PlistFileFailure::TooLarge)
        ++counters().refusedFiles;
    if (contents.value && contents.value->isDictionary()) {
        r.dict = std::move(*contents.value->asDictionary());
        r.state = PreferenceDomain::FileState::Readable;
    } else {
        r.state = PreferenceDomain::FileState::Unreadable;
    }
    return r;
}

bool keepCorruptFile(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    target += ".corrupt";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(target, ec)); ++n) {
        target = file;
        target += ".corrupt." + std::to_string(n);
    }
    if (::rename(file.c_str(), target.c_str()) != 0) return false;
    ++counters().kept;
    return true;
}

// A writer killed between creating its temporary file and renaming it leaves the temporary behind. Every writer of
// the domain holds the lock while its temporary exists, so under the lock any that remain are litter.
void removeStaleTemporaries(const std::filesystem::path& file) {
    // Temporaries are named "<file>.<pid>.<n>.tmp" (PropertyList.cpp); the exact shape keeps another domain whose
    // name begins like this one's ("a" and "a.plist") out of the sweep.
    const std::string prefix = file.filename().string() + ".";
    auto isTemporary = [&](const std::string& name) {
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            return false;
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const auto dot = middle.find('.');
        auto digits = [](std::string_view s) {
            return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
        };
        return dot != std::string::npos && digits(std::string_view(middle).substr(0, dot)) &&
               digits(std::string_view(middle).substr(dot + 1));
    };
    std::error_code ec;
    for (std::filesystem::directory_iterator it(file.parent_path(), ec), end; !ec && it != end; it.increment(ec))
        if (isTemporary(it->path().filename().string())) ::unlink(it->path().c_str());
}

}  // namespace

PreferenceCounters preferenceCounters() {
    auto& c = counters();
    return {c.refused.load(), c.failed.load(), c.kept.load(), c.refusedFiles.load()};
}

void resetPreferenceCounters() {
    auto& c = counters();
    c.refused = 0;
    c.failed = 0;
    c.kept = 0;
    c.refusedFiles = 0;
}

std::size_t checkPreferenceChanges() {
    checkRound().fetch_add(1, std::memory_order_acq_rel);
    std::vector<std::shared_ptr<PreferenceDomain>> all;
    {
        auto& r = domainRegistry();
        std::lock_guard lock(r.mutex);
        for (auto& [path, domain] : r.domains) all.push_back(domain);
    }
    std::size_t changed = 0;
    for (auto& d : all) changed += d->checkForChanges() ? 1 : 0;
    return changed;
}

bool PreferenceDomain::isAcceptableName(std::string_view domain) {
    return !domain.empty() && domain.find('/') == std::string_view::npos &&
           domain.find("..") == std::string_view::npos && domain.find('\0') == std::string_view::npos;
}

std::shared_ptr<PreferenceDomain> PreferenceDomain::named(std::string_view domain) {
    if (!isAcceptableName(domain)) {
        ++counters().refused;
        return nullptr;
    }
    // Every fresh preferences object comes here, and resolving the file under the device root costs more than the
    // read that follows; the answer changes only with the root (domains themselves are never dropped).
    struct NameCache {
        std::mutex mutex;
        std::uint64_t generation = ~std::uint64_t{0};
        std::map<std::string, std::shared_ptr<PreferenceDomain>, std::less<>> domains;
    };
    static NameCache& cache = *new NameCache;
    const std::uint64_t generation = deviceRootGeneration();
    {
        std::lock_guard lock(cache.mutex);
        if (cache.generation == generation)
            if (auto it = cache.domains.find(domain); it != cache.domains.end()) return it->second;
    }
    std::string name(kPreferencesFolder);
    name.append("/").append(domain).append(".plist");
    auto file = devicePath(name);
    if (!file) {
        ++counters().refused;
        return nullptr;
    }
    auto found = domainForPath(*file);
    std::lock_guard lock(cache.mutex);
    if (cache.generation != generation) {
        cache.domains.clear();
        cache.generation = generation;
    }
    cache.domains.emplace(std::string(domain), found);
    return found;
}

std::shared_ptr<PreferenceDomain> PreferenceDomain::forFile(const std::filesystem::path& hostPath) {
    auto folder = devicePath(kPreferencesFolder);
    if (!folder) return nullptr;
    const auto normal = hostPath.lexically_normal();
    if (normal.parent_path() != *folder || normal.extension() != ".plist") return nullptr;
    if (!isAcceptableName(normal.stem().string())) return nullptr;
    return domainForPath(normal);
}

PreferenceDomain::PreferenceDomain(std::filesystem::path file)
    : m_file(std::move(file)), m_lockFile(m_file.string() + ".lock"),
      m_root(deviceRoot().value_or(m_file.parent_path())), m_snapshot(std::make_shared<Value::Dictionary>()) {}

PreferenceDomain::~PreferenceDomain() {
    if (m_counterMap) ::munmap(const_cast<void*>(m_counterMap), sizeof(std::uint64_t));
    if (m_counterFd >= 0) ::close(m_counterFd);
}

std::uint64_t PreferenceDomain::writeCounter() {
    if (m_counterMap) return __atomic_load_n(static_cast<const std::uint64_t*>(m_counterMap), __ATOMIC_ACQUIRE);
    if (m_counterFd < 0) {
        // Never a link (a link could show any host file's bytes as the counter) nor a pipe (the open would block);
        // the folder is checked once the file opened, so the common case of no lock file yet costs one open.
        const int fd = ::open(m_lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) return 0;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !resolveBelow(m_root, m_lockFile)) {
            ::close(fd);
            return 0;
        }
        m_counterFd = fd;
    }
    // A shared mapping sees every writer's pwrite at once, as pread does. It is made only once the file holds the
    // whole counter: touching a mapped page past the end of a file faults, and the counter file never shrinks.
    struct stat st {};
    if (::fstat(m_counterFd, &st) == 0 && st.st_size >= static_cast<off_t>(sizeof(std::uint64_t))) {
        void* map = ::mmap(nullptr, sizeof(std::uint64_t), PROT_READ, MAP_SHARED, m_counterFd, 0);
        if (map != MAP_FAILED) {
            m_counterMap = map;
            return __atomic_load_n(static_cast<const std::uint64_t*>(m_counterMap), __ATOMIC_ACQUIRE);
        }
    }
    std::uint64_t v = 0;
    if (::pread(m_counterFd, &v, sizeof v, 0) != sizeof v) return 0;
    return v;
}

PreferenceDomain::Stamp PreferenceDomain::currentStamp() {
    Stamp s;
    // The counter is read before the file: a write landing in between then looks like a change next time, never
    // like no change.
    s.writes = writeCounter();
    struct stat st {};
    if (::stat(m_file.c_str(), &st) != 0) return s;
    s.exists = true;
    s.inode = st.st_ino;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.ctimeNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

bool PreferenceDomain::revalidateLocked(bool force) {
    const std::uint64_t round = checkRound().load(std::memory_order_acquire);
    // Only a mapped counter is trusted to skip the stat: without it a first write by another process could go
    // unseen until the next round.
    if (!force && m_stamp && m_counterMap && m_stampRound == round && writeCounter() == m_stamp->writes)
        return false;
    const Stamp stamp = currentStamp();
    m_stampRound = round;
    if (m_stamp && *m_stamp == stamp) return false;
    // A moved stamp counts as a change without comparing contents: telling observers once too often only makes them
    // re-read values they already hold, while the comparison would cost as much as the parse.
    FileRead read = readDomainFile(m_root, m_file);
    m_stamp = stamp;
    m_state = read.state;
    m_snapshot = std::make_shared<const Value::Dictionary>(std::move(read.dict));
    return true;
}

PreferenceDomain::Snapshot PreferenceDomain::snapshot() {
    bool changed = false;
    Snapshot result;
    {
        std::lock_guard lock(m_mutex);
        changed = revalidateLocked(false);
        result = m_snapshot;
    }
    // A reader that finds another process's change passes it on, so bound variables never lag behind a read.
    if (changed) notify();
    return result;
}

PreferenceDomain::FileState PreferenceDomain::fileState() {
    std::lock_guard lock(m_mutex);
    return m_state;
}

Value PreferenceDomain::value(std::string_view key) {
    const auto snap = snapshot();
    auto it = snap->find(key);
    return it == snap->end() ? Value() : it->second;
}

bool PreferenceDomain::checkForChanges() {
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        // Without observers nobody waits for the change: the next read re-validates anyway.
        if (m_observers.empty()) return false;
        changed = revalidateLocked(true);
    }
    if (changed) notify();
    return changed;
}

bool PreferenceDomain::write(const std::map<std::string, Value, std::less<>>& changes) {
    return commit([&](Value::Dictionary& dict) {
        for (const auto& [key, value] : changes) {
            if (value.isNone())
                dict.erase(key);
            else
                dict.insert_or_assign(key, value);
        }
        return true;
    });
}

bool PreferenceDomain::replace(const Value::Dictionary& contents) {
    return commit([&](Value::Dictionary& dict) {
        dict = contents;
        return true;
    });
}

bool PreferenceDomain::commit(const std::function<bool(Value::Dictionary&)>& change) {
    bool changed = false;
    bool ok = true;
    {
        std::lock_guard lock(m_mutex);
        // The folder and the lock file are looked up through their links first: a link planted in the root must
        // not make this process create folders, lock or write anywhere else on the host.
        const auto folder = resolveBelow(m_root, m_file.parent_path());
        std::error_code ec;
        if (folder) std::filesystem::create_directories(*folder, ec);
        const auto lockFile = folder ? resolveBelow(m_root, m_lockFile) : std::nullopt;
        if (!lockFile) ++counters().refusedFiles;
        FileLock fileLock(lockFile.value_or(std::filesystem::path()));
        if (!lockFile || !fileLock.held()) {
            ++counters().failed;
            return false;
        }
        // Under the lock the file is what every other writer left; merging into it, not into our copy, is what
        // keeps their keys.
        FileRead current = readDomainFile(m_root, m_file);
        Value::Dictionary merged = current.dict;
        change(merged);
        const bool same = merged == current.dict;
        if (!same) {
            removeStaleTemporaries(m_file);
            if (current.state == FileState::Unreadable && !keepCorruptFile(m_file)) {
                ++counters().failed;
                return false;
            }
            if (merged.empty()) {
                if (::unlink(m_file.c_str()) != 0 && errno != ENOENT) ok = false;
            } else {
                ok = writePropertyListFile(m_file, Value(merged));
            }
            if (ok) {
                fileLock.bump();
            } else {
                ++counters().failed;
            }
        }
        // The copy is refreshed from what the file now holds (the merge on success, the untouched file on failure),
        // stamped while the lock still keeps other writers out.
        const Stamp stamp = currentStamp();
        changed = !same || !m_stamp || !(*m_stamp == stamp);
        FileRead after;
        if (!ok) {
            after = readDomainFile(m_root, m_file);
        } else {
            after.state = same ? current.state : merged.empty() ? FileState::Missing : FileState::Readable;
            after.dict = std::move(merged);
        }
        m_stamp = stamp;
        m_stampRound = checkRound().load(std::memory_order_acquire);
        m_state = after.state;
        if (changed) m_snapshot = std::make_shared<const Value::Dictionary>(std::move(after.dict));
    }
    if (changed) notify();
    return ok;
}

PreferenceDomain::ObserverToken PreferenceDomain::addObserver(std::function<void()> observer) {
    std::lock_guard lock(m_mutex);
    const ObserverToken token = m_nextToken++;
    m_observers.emplace(token, std::move(observer));
    return token;
}

void PreferenceDomain::removeObserver(ObserverToken token) {
    std::lock_guard lock(m_mutex);
    m_observers.erase(token);
}

void PreferenceDomain::notify() {
    // Copied first: an observer may create or destroy preferences objects, which adds or removes observers.
    std::vector<std::function<void()>> current;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [token, fn] : m_observers) current.push_back(fn);
    }
    for (auto& fn : current) fn();
}

}  // namespace platform
