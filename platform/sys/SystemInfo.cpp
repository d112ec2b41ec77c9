#include "platform/sys/SystemInfo.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

extern char** environ;

namespace sys {

namespace {

std::string readFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string withSlash(std::string s) {
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

// Undoes the octal escapes of /proc/self/mountinfo ("\040" for a blank).
std::string unescapeOctal(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() + 0 && std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 2])) && std::isdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Undoes the "\x20" escapes of udev's link names.
std::string unescapeHex(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() + 0 && s[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct MountEntry {
    unsigned major = 0, minor = 0;
    std::string mountPoint, options, fsType, source, superOptions;
};

std::vector<MountEntry> readMountInfo() {
    std::vector<MountEntry> out;
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string id, parent, devs, root, mp, opts, tok;
        if (!(ls >> id >> parent >> devs >> root >> mp >> opts)) continue;
        while (ls >> tok && tok != "-") {
        }
        MountEntry e;
        if (!(ls >> e.fsType >> e.source)) continue;
        ls >> e.superOptions;
        if (std::sscanf(devs.c_str(), "%u:%u", &e.major, &e.minor) != 2) continue;
        e.mountPoint = unescapeOctal(mp);
        e.options = opts;
        e.source = unescapeOctal(e.source);
        out.push_back(std::move(e));
    }
    return out;
}

bool isPrefixPath(const std::string& mount, const std::string& path) {
    if (mount == "/") return true;
    return path.compare(0, mount.size(), mount) == 0 && (path.size() == mount.size() || path[mount.size()] == '/');
}

int driveTypeOf(const std::string& fsType, unsigned devMajor, unsigned devMinor) {
    static const char* remote[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "fuse.sshfs",
                                   "sshfs", "davfs", "ceph", "glusterfs", "lustre", "virtiofs"};
    for (const char* r : remote)
        if (fsType == r) return DriveRemote;
    if (fsType == "iso9660" || fsType == "udf") return DriveCDRom;
    if (fsType == "tmpfs" || fsType == "ramfs") return DriveRamDisk;
    const std::string dev = "/sys/dev/block/" + std::to_string(devMajor) + ":" + std::to_string(devMinor);
    std::string removable = readFirstLine(dev + "/removable");
    if (removable.empty()) removable = readFirstLine(dev + "/../removable");
    if (removable == "1") return DriveRemovable;
    return DriveFixed;
}

std::uint32_t logicalSectorSize(unsigned devMajor, unsigned devMinor) {
    const std::string dev = "/sys/dev/block/" + std::to_string(devMajor) + ":" + std::to_string(devMinor);
    std::string s = readFirstLine(dev + "/queue/logical_block_size");
    if (s.empty()) s = readFirstLine(dev + "/../queue/logical_block_size");
    const long v = s.empty() ? 0 : std::strtol(s.c_str(), nullptr, 10);
    return v > 0 ? static_cast<std::uint32_t>(v) : 512u;
}

std::string volumeLabelOf(const std::string& source) {
    std::error_code ec;
    if (source.empty() || source[0] != '/') return "";
    const auto dev = std::filesystem::canonical(source, ec);
    if (ec) return "";
    for (const auto& entry : std::filesystem::directory_iterator("/dev/disk/by-label", ec)) {
        std::error_code ec2;
        if (std::filesystem::canonical(entry.path(), ec2) == dev && !ec2)
            return unescapeHex(entry.path().filename().string());
    }
    return "";
}

// ---- X server access through the client library, loaded when first needed ------------
struct XLib {
    using Display = void;
    void* handle = nullptr;
    Display* (*OpenDisplay)(const char*) = nullptr;
    int (*CloseDisplay)(Display*) = nullptr;
    int (*Flush)(Display*) = nullptr;
    int (*GetScreenSaver)(Display*, int*, int*, int*, int*) = nullptr;
    int (*GetAutoRepeatRate)(Display*, unsigned, unsigned*, unsigned*) = nullptr;
    int (*SetAutoRepeatRate)(Display*, unsigned, unsigned, unsigned) = nullptr;
    unsigned long (*InternAtom)(Display*, const char*, int) = nullptr;
    int (*GetNamedIndicator)(Display*, unsigned long, int*, int*, void*, int*) = nullptr;
    int (*LockModifiers)(Display*, unsigned, unsigned, unsigned) = nullptr;
    unsigned (*KeysymToModifiers)(Display*, unsigned long) = nullptr;

    static constexpr unsigned UseCoreKbd = 0x0100;

    bool load() {
        handle = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (!handle) return false;
        auto sym = [&](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(handle, name));
            return fn != nullptr;
        };
        return sym(OpenDisplay, "XOpenDisplay") && sym(CloseDisplay, "XCloseDisplay") && sym(Flush, "XFlush") &&
               sym(GetScreenSaver, "XGetScreenSaver") && sym(GetAutoRepeatRate, "XkbGetAutoRepeatRate") &&
               sym(SetAutoRepeatRate, "XkbSetAutoRepeatRate") && sym(InternAtom, "XInternAtom") &&
               sym(GetNamedIndicator, "XkbGetNamedIndicator") && sym(LockModifiers, "XkbLockModifiers") &&
               sym(KeysymToModifiers, "XkbKeysymToModifiers");
    }
};

XLib* xlib() {
    static XLib lib;
    static bool ok = [] {
        const char* d = std::getenv("DISPLAY");
        return d && *d && lib.load();
    }();
    return ok ? &lib : nullptr;
}

// One short connection per query: the facts can change between calls.
class XConnection {
public:
    XConnection() : lib_(xlib()), dpy_(lib_ ? lib_->OpenDisplay(nullptr) : nullptr) {}
    ~XConnection() {
        if (dpy_) lib_->CloseDisplay(dpy_);
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    explicit operator bool() const { return dpy_ != nullptr; }
    XLib* lib() const { return lib_; }
    void* dpy() const { return dpy_; }

private:
    XLib* lib_;
    void* dpy_;
};

const char* lockIndicatorName(LockKey key) {
    switch (key) {
    case LockKey::Num: return "Num Lock";
    case LockKey::Caps: return "Caps Lock";
    case LockKey::Scroll: return "Scroll Lock";
    }
    return "";
}

QScreen* primaryScreen() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app ? QGuiApplication::primaryScreen() : nullptr;
}

struct LanguageEntry {
    const char* locale;
    int id;
    const char* name;
};

constexpr LanguageEntry kLanguages[] = {
    {"de_DE", 0x0407, "German (Germany)"},
    {"de_AT", 0x0C07, "German (Austria)"},
    {"de_CH", 0x0807, "German (Switzerland)"},
    {"de_LU", 0x1007, "German (Luxembourg)"},
    {"de_LI", 0x1407, "German (Liechtenstein)"},
    {"en_US", 0x0409, "English (United States)"},
    {"en_GB", 0x0809, "English (United Kingdom)"},
    {"en_AU", 0x0C09, "English (Australia)"},
    {"en_CA", 0x1009, "English (Canada)"},
    {"en_NZ", 0x1409, "English (New Zealand)"},
    {"en_IE", 0x1809, "English (Ireland)"},
    {"fr_FR", 0x040C, "French (France)"},
    {"fr_BE", 0x080C, "French (Belgium)"},
    {"fr_CA", 0x0C0C, "French (Canada)"},
    {"fr_CH", 0x100C, "French (Switzerland)"},
    {"it_IT", 0x0410, "Italian (Italy)"},
    {"it_CH", 0x0810, "Italian (Switzerland)"},
    {"es_ES", 0x0C0A, "Spanish (Spain)"},
    {"nl_NL", 0x0413, "Dutch (Netherlands)"},
    {"nl_BE", 0x0813, "Dutch (Belgium)"},
    {"pt_BR", 0x0416, "Portuguese (Brazil)"},
    {"pt_PT", 0x0816, "Portuguese (Portugal)"},
    {"pl_PL", 0x0415, "Polish (Poland)"},
    {"cs_CZ", 0x0405, "Czech (Czech Republic)"},
    {"da_DK", 0x0406, "Danish (Denmark)"},
    {"sv_SE", 0x041D, "Swedish (Sweden)"},
    {"nb_NO", 0x0414, "Norwegian Bokmal (Norway)"},
    {"fi_FI", 0x040B, "Finnish (Finland)"},
    {"hu_HU", 0x040E, "Hungarian (Hungary)"},
    {"ru_RU", 0x0419, "Russian (Russia)"},
    {"ja_JP", 0x0411, "Japanese (Japan)"},
};

}  // namespace

// ---- Memory ----------------------------------------------------------------------------
MemoryStatus GetMemoryStatus() {
    MemoryStatus m;
    std::uint64_t memTotal = 0, memAvail = 0, memFree = 0, swapTotal = 0, swapFree = 0;
    bool haveAvail = false;
    {
        std::ifstream in("/proc/meminfo");
        std::string key;
        std::uint64_t kb = 0;
        std::string unit;
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream ls(line);
            if (!(ls >> key >> kb)) continue;
            const std::uint64_t bytes = kb * 1024;
            if (key == "MemTotal:") memTotal = bytes;
            else if (key == "MemAvailable:") memAvail = bytes, haveAvail = true;
            else if (key == "MemFree:") memFree = bytes;
            else if (key == "SwapTotal:") swapTotal = bytes;
            else if (key == "SwapFree:") swapFree = bytes;
        }
    }
    if (!haveAvail) memAvail = memFree;
    m.TotalPhys = memTotal;
    m.AvailPhys = memAvail;
    m.MemoryLoad = memTotal ? static_cast<std::uint32_t>((memTotal - std::min(memAvail, memTotal)) * 100 / memTotal) : 0;
    m.TotalPageFile = memTotal + swapTotal;
    m.AvailPageFile = memAvail + swapFree;
    // The address space: the process's limit, else the 47-bit user space of x86-64.
    struct rlimit rl;
    std::uint64_t space = 0x7FFFFFFFF000ULL;
    if (::getrlimit(RLIMIT_AS, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY) space = rl.rlim_cur;
    std::uint64_t used = 0;
    {
        std::ifstream in("/proc/self/status");
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("VmSize:", 0) == 0) used = std::strtoull(line.c_str() + 7, nullptr, 10) * 1024;
    }
    m.TotalVirtual = space;
    m.AvailVirtual = space > used ? space - used : 0;
    m.AvailExtendedVirtual = 0;
    return m;
}

// ---- Drives ------------------------------------------------------------------------------
std::string DriveRoot(char letter) { return letter == 'C' || letter == 'c' ? "/" : ""; }

VolumeInfo GetVolumeInfo(const std::string& path) {
    VolumeInfo v;
    struct stat st;
    struct statvfs vfs;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || ::statvfs(path.c_str(), &vfs) != 0) return v;
    std::error_code ec;
    std::string real = std::filesystem::weakly_canonical(path, ec).string();
    if (ec || real.empty()) real = path;
    const unsigned maj = major(st.st_dev), mnr = minor(st.st_dev);
    const MountEntry* best = nullptr;
    const auto mounts = readMountInfo();
    for (const auto& e : mounts)
        if (e.major == maj && e.minor == mnr && isPrefixPath(e.mountPoint, real) &&
            (!best || e.mountPoint.size() >= best->mountPoint.size()))
            best = &e;
    v.DiskSize = static_cast<std::int64_t>(vfs.f_blocks) * static_cast<std::int64_t>(vfs.f_frsize);
    v.DiskFree = static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
    v.BytesPerSector = logicalSectorSize(maj, mnr);
    v.SectorsPerCluster = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(vfs.f_frsize / v.BytesPerSector));
    v.MaximumLength = static_cast<std::uint32_t>(vfs.f_namemax);
    v.SerialNumber = static_cast<std::uint32_t>(vfs.f_fsid);
    if (best) {
        v.FileSystem = best->fsType;
        v.MountPoint = best->mountPoint;
        v.MountOptions = best->options + (best->superOptions.empty() ? "" : "," + best->superOptions);
        v.VolumeLabel = volumeLabelOf(best->source);
        v.DriveType = driveTypeOf(best->fsType, maj, mnr);
    } else {
        v.DriveType = DriveUnknown;
    }
    return v;
}

// ---- Processor ---------------------------------------------------------------------------
int ProcessorCount() {
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

int ProcessorTypeCode() {
#if defined(__x86_64__)
    return 8664;
#else
    return 0;
#endif
}

bool CpuIdAvailable() {
#if defined(__x86_64__)
    // Flip the ID bit (21) of the flags register and see whether the flip holds.
    std::uint64_t before = 0, after = 0;
    asm volatile(
        "pushfq\n\t"
        "pop %0\n\t"
        "mov %0, %1\n\t"
        "xor $0x200000, %1\n\t"
        "push %1\n\t"
        "popfq\n\t"
        "pushfq\n\t"
        "pop %1\n\t"
        "push %0\n\t"
        "popfq\n\t"
        : "=&r"(before), "=&r"(after)
        :
        : "cc", "memory");
    return ((before ^ after) & 0x200000) != 0;
#else
    return false;
#endif
}

bool CpuId(std::uint32_t leaf, std::uint32_t& eax, std::uint32_t& ebx, std::uint32_t& ecx, std::uint32_t& edx) {
    eax = ebx = ecx = edx = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (!CpuIdAvailable()) return false;
    const unsigned maxLeaf = __get_cpuid_max(leaf & 0x80000000u, nullptr);
    if (maxLeaf == 0 || leaf > maxLeaf) return false;
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(leaf, 0, a, b, c, d);
    eax = a, ebx = b, ecx = c, edx = d;
    return true;
#else
    (void)leaf;
    return false;
#endif
}

std::uint64_t ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return 0;
#endif
}

int ProcessPriority() {
    errno = 0;
    return ::getpriority(PRIO_PROCESS, 0);
}

int ThreadPriority() {
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
}

// ---- Operating system -------------------------------------------------------------------
KernelVersion GetKernelVersion() {
    KernelVersion k;
    struct utsname u;
    if (::uname(&u) == 0) std::sscanf(u.release, "%d.%d.%d", &k.Major, &k.Minor, &k.Patch);
    return k;
}

std::string KernelName() {
    struct utsname u;
    return ::uname(&u) == 0 ? std::string(u.sysname) : std::string();
}

std::string OsPrettyName() {
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
            std::string v = line.substr(12);
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return v;
        }
    }
    return "";
}

// ---- User, host, files -------------------------------------------------------------------
std::optional<std::string> UserName() {
    struct passwd pw;
    struct passwd* res = nullptr;
    std::vector<char> buf(16384);
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &res) == 0 && res && res->pw_name)
        return std::string(res->pw_name);
    if (const char* u = std::getenv("USER"); u && *u) return std::string(u);
    return std::nullopt;
}

std::optional<std::string> HostName() {
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return std::nullopt;
    return std::string(buf);
}

std::string TempPath() {
    const char* t = std::getenv("TMPDIR");
    return withSlash(t && *t ? t : "/tmp");
}

std::string CurrentDirectory() {
    std::error_code ec;
    const auto p = std::filesystem::current_path(ec);
    return ec ? std::string() : withSlash(p.string());
}

std::vector<std::string> EnvironmentStrings() {
    std::vector<std::string> out;
    for (char** e = environ; e && *e; ++e) out.emplace_back(*e);
    return out;
}

// ---- Time zone and language -------------------------------------------------------------
TimeZoneInfo GetTimeZoneInfo(std::int64_t t) {
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    ::tzset();
    TimeZoneInfo z;
    const time_t now = static_cast<time_t>(t);
    struct tm lt;
    ::localtime_r(&now, &lt);
    z.DaylightNow = lt.tm_isdst > 0;
    // The standard and daylight offsets of the year: January and July cover both hemispheres.
    struct tm probe = lt;
    long stdOff = lt.tm_gmtoff, dstOff = lt.tm_gmtoff;
    std::string stdName = lt.tm_zone ? lt.tm_zone : "", dstName;
    bool haveStd = lt.tm_isdst <= 0, haveDst = lt.tm_isdst > 0;
    if (haveDst) dstName = stdName;
    for (int mon : {0, 6}) {
        probe = {};
        probe.tm_year = lt.tm_year;
        probe.tm_mon = mon;
        probe.tm_mday = 1;
        probe.tm_hour = 12;
        probe.tm_isdst = -1;
        const time_t pt = ::mktime(&probe);
        struct tm pl;
        ::localtime_r(&pt, &pl);
        if (pl.tm_isdst > 0 && !haveDst) {
            dstOff = pl.tm_gmtoff;
            dstName = pl.tm_zone ? pl.tm_zone : "";
            haveDst = true;
        } else if (pl.tm_isdst <= 0 && !haveStd) {
            stdOff = pl.tm_gmtoff;
            stdName = pl.tm_zone ? pl.tm_zone : "";
            haveStd = true;
        }
    }
    if (lt.tm_isdst > 0 && !haveStd) stdOff = lt.tm_gmtoff;
    z.Bias = static_cast<int>(-stdOff / 60);
    z.DaylightBias = haveDst ? static_cast<int>(-(dstOff - stdOff) / 60) : 0;
    z.StandardName = stdName;
    z.DaylightName = dstName;
    return z;
}

TimeZoneInfo GetTimeZoneInfo() { return GetTimeZoneInfo(static_cast<std::int64_t>(::time(nullptr))); }

std::optional<int> LanguageId() {
    const char* lang = std::getenv("LANG");
    if (!lang || !*lang) return std::nullopt;
    std::string l(lang);
    l = l.substr(0, l.find_first_of(".@"));
    for (const auto& e : kLanguages)
        if (l == e.locale) return e.id;
    // A language without its country: the language's first (main) entry.
    const std::string prim = l.substr(0, l.find('_'));
    for (const auto& e : kLanguages)
        if (std::string(e.locale).substr(0, 2) == prim && prim.size() == 2) return e.id;
    return std::nullopt;
}

std::optional<std::string> LanguageName(int id) {
    for (const auto& e : kLanguages)
        if (e.id == id) return std::string(e.name);
    return std::nullopt;
}

// ---- Screen and keyboard ----------------------------------------------------------------
std::optional<int> ScreenWidth() {
    if (QScreen* s = primaryScreen()) return s->size().width();
    return std::nullopt;
}
std::optional<int> ScreenHeight() {
    if (QScreen* s = primaryScreen()) return s->size().height();
    return std::nullopt;
}
std::optional<int> ScreenPixelsPerInch() {
    if (QScreen* s = primaryScreen()) return static_cast<int>(std::lround(s->logicalDotsPerInch()));
    return std::nullopt;
}
std::optional<int> ScreenColorDepth() {
    if (QScreen* s = primaryScreen()) return s->depth();
    return std::nullopt;
}

std::vector<std::string> ScreenFontNames() {
    std::vector<std::string> out;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return out;
    for (const QString& f : QFontDatabase::families()) out.push_back(f.toStdString());
    return out;
}

std::optional<int> ScreenSaverTimeout() {
    XConnection x;
    if (!x) return std::nullopt;
    int timeout = 0, interval = 0, blanking = 0, exposures = 0;
    x.lib()->GetScreenSaver(x.dpy(), &timeout, &interval, &blanking, &exposures);
    return std::max(timeout, 0);
}

std::optional<int> KeyboardDelay() {
    XConnection x;
    unsigned delay = 0, interval = 0;
    if (!x || !x.lib()->GetAutoRepeatRate(x.dpy(), XLib::UseCoreKbd, &delay, &interval)) return std::nullopt;
    return std::clamp(static_cast<int>(std::lround(delay / 250.0)) - 1, 0, 3);
}

std::optional<int> KeyboardSpeed() {
    XConnection x;
    unsigned delay = 0, interval = 0;
    if (!x || !x.lib()->GetAutoRepeatRate(x.dpy(), XLib::UseCoreKbd, &delay, &interval) || interval == 0)
        return std::nullopt;
    const double rate = 1000.0 / interval;  // repetitions per second, 2.5 .. 30 on the scale
    return std::clamp(static_cast<int>(std::lround((rate - 2.5) * 31.0 / 27.5)), 0, 31);
}

bool SetKeyboardRepeat(int delay, int speed) {
    XConnection x;
    if (!x) return false;
    const unsigned delayMs = static_cast<unsigned>((std::clamp(delay, 0, 3) + 1) * 250);
    const double rate = 2.5 + std::clamp(speed, 0, 31) * 27.5 / 31.0;
    const unsigned interval = static_cast<unsigned>(std::lround(1000.0 / rate));
    const bool ok = x.lib()->SetAutoRepeatRate(x.dpy(), XLib::UseCoreKbd, delayMs, interval) != 0;
    x.lib()->Flush(x.dpy());
    return ok;
}

std::optional<bool> LockKeyOn(LockKey key) {
    XConnection x;
    if (!x) return std::nullopt;
    const unsigned long atom = x.lib()->InternAtom(x.dpy(), lockIndicatorName(key), 1);
    if (!atom) return std::nullopt;
    int index = 0, state = 0, real = 0;
    if (!x.lib()->GetNamedIndicator(x.dpy(), atom, &index, &state, nullptr, &real) || !real) return std::nullopt;
    return state != 0;
}

bool SetLockKey(LockKey key, bool on) {
    XConnection x;
    if (!x) return false;
    unsigned mask = 0;
    switch (key) {
    case LockKey::Caps: mask = 1u << 1; break;  // the Lock modifier
    case LockKey::Num: mask = x.lib()->KeysymToModifiers(x.dpy(), 0xff7f); break;
    case LockKey::Scroll: mask = x.lib()->KeysymToModifiers(x.dpy(), 0xff14); break;
    }
    if (mask == 0) return false;
    const bool ok = x.lib()->LockModifiers(x.dpy(), XLib::UseCoreKbd, mask, on ? mask : 0) != 0;
    x.lib()->Flush(x.dpy());
    return ok;
}

// ---- Program version block ---------------------------------------------------------------
const VersionBlock& ProgramVersion() {
    static const VersionBlock v = [] {
        VersionBlock b;
#ifdef FELDOR_VERSION
        std::sscanf(FELDOR_VERSION, "%d.%d.%d.%d", &b.Major, &b.Minor, &b.Release, &b.Build);
        b.ProductVersion = FELDOR_VERSION;
#endif
        b.ProductName = "Feldor";
        return b;
    }();
    return v;
}

}  // namespace sys
