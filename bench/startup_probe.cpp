// startup_probe: how long the program takes from being started to its first
// paint, and how much memory it holds by then, against a bare Qt window
// (bench_bare_window) started the same way, alternately, on the X display in
// $DISPLAY.
//
//   startup_probe [--pairs N] [--warmup N] [--settle MS] [--timeout MS]
//                 [--bare PATH] [--shots DIR] [--child-output] [--] PROGRAM [ARGS...]
//
// Each start is a fresh process in its own process group. The probe watches
// the root window (SubstructureNotify) for the first window that a process of
// that group maps, and times the first DAMAGE report on it: the first time
// the program draws into it. Mapping a Qt window reports no damage: with
// DAMAGE on a window half a second before it was mapped, the first report
// still came 10-20 ms after the map, and the window then held the whole first
// frame (--shots shows it). The first report is Qt's backing store reaching
// the window. Peak memory is VmHWM of the window's process, read after the
// first paint and a short settle; then the whole group is killed and reaped,
// and the probe waits until the X server has destroyed the window before the
// next start.
//
// Needs a display without a window manager (Xvfb): a reparenting manager
// would map its frame, not the program's window.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using SteadyClock = std::chrono::steady_clock;

double msBetween(SteadyClock::time_point from, SteadyClock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Options {
    int pairs = 15;
    int warmup = 1;
    int settleMs = 300;
    int timeoutMs = 10000;
    std::string bare;
    std::string shots;
    bool childOutput = false;
    std::vector<std::string> program;
};

struct Subject {
    std::string name;
    std::vector<std::string> argv;
};

struct Sample {
    double mapMs = 0;
    double paintMs = 0;
    long peakKb = 0;
    std::string title;
    int width = 0;
    int height = 0;
    xcb_rectangle_t firstDamage{};
};

// The group of the child being measured, for the signal handler: a child in
// its own group does not get the terminal's Ctrl-C, so the probe passes it on.
volatile sig_atomic_t g_childGroup = 0;

void onSignal(int sig)
{
    if (g_childGroup > 0) kill(-pid_t(g_childGroup), SIGKILL);
    _exit(128 + sig);
}

std::string baseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ownFolder()
{
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, size_t(n));
    return path.substr(0, path.rfind('/'));
}

// Field 5 of /proc/PID/stat, the process group; 0 when the process is gone.
pid_t processGroup(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(f, stat);
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    char state = 0;
    int ppid = 0, pgrp = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %d %d", &state, &ppid, &pgrp) != 3) return 0;
    return pgrp;
}

// VmHWM (peak resident set) in kB, or -1.
long peakResidentKb(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

class Probe {
public:
    ~Probe()
    {
        if (conn_) xcb_disconnect(conn_);
    }

    bool connect(std::string& error)
    {
        int screenNumber = 0;
        conn_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(conn_)) {
            error = "cannot open the X display \"" + std::string(getenv("DISPLAY") ? getenv("DISPLAY") : "") +
                    "\"; run the probe under xvfb-run";
            return false;
        }
        const xcb_setup_t* setup = xcb_get_setup(conn_);
        auto it = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
        root_ = it.data->root;
        lsbFirst_ = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
        for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
            if (f.data->depth == it.data->root_depth) rootBitsPerPixel_ = f.data->bits_per_pixel;

        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(conn_, &xcb_damage_id);
        if (!damage || !damage->present) {
            error = "the X server has no DAMAGE extension";
            return false;
        }
        damageEventBase_ = damage->first_event;
        // The server answers DAMAGE requests only from a client that has told it its version.
        free(xcb_damage_query_version_reply(conn_, xcb_damage_query_version(conn_, 1, 1), nullptr));

        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &mask);
        pidAtom_ = atom("_NET_WM_PID");
        nameAtom_ = atom("_NET_WM_NAME");
        utf8Atom_ = atom("UTF8_STRING");
        xcb_flush(conn_);
        return true;
    }

    // Starts argv, waits for its first paint and the settle, reads its peak
    // memory, then ends it. `shotPrefix` non-empty: saves the window as it
    // is when mapped, at the first paint and after the settle.
    std::optional<Sample> measure(const Subject& subject, const Options& options, const std::string& shotPrefix,
                                  std::string& error)
    {
        damages_.clear();
        tracked_ = XCB_NONE;
        trackedDestroyed_ = false;
        painted_ = false;
        sample_ = Sample{};
        shotPrefix_ = shotPrefix;

        start_ = SteadyClock::now();
        child_ = spawn(subject.argv, options.childOutput, error);
        if (child_ <= 0) return std::nullopt;
        g_childGroup = child_;

        const auto deadline = start_ + std::chrono::milliseconds(options.timeoutMs);
        bool ok = true;
        int status = 0;
        while (!painted_) {
            if (!pump(20)) {
                error = "lost the connection to the X server";
                ok = false;
                break;
            }
            if (painted_) break;
            if (waitpid(child_, &status, WNOHANG) == child_) {
                error = subject.name + " ended (" + describeStatus(status) + ") before it painted a window";
                child_ = 0;
                ok = false;
                break;
            }
            if (SteadyClock::now() > deadline) {
                error = subject.name +
                        (tracked_ == XCB_NONE ? " mapped no window" : " mapped a window but never painted it") +
                        " within " + std::to_string(options.timeoutMs) +
                        " ms (a leftover of an earlier start, a window manager, or a program that failed to start?)";
                ok = false;
                break;
            }
        }

        if (ok) {
            const auto settleEnd = SteadyClock::now() + std::chrono::milliseconds(options.settleMs);
            while (SteadyClock::now() < settleEnd) pump(int(std::max(1.0, msBetween(SteadyClock::now(), settleEnd))));
            sample_.peakKb = peakResidentKb(owner_);
            sample_.title = windowTitle(tracked_);
            if (!shotPrefix_.empty()) saveShot(tracked_, shotPrefix_ + "-settled.ppm");
            if (sample_.peakKb < 0) {
                error = "cannot read the peak memory of process " + std::to_string(owner_);
                ok = false;
            }
        }
        end();
        if (!ok) return std::nullopt;
        return sample_;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        auto* reply = xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : XCB_NONE;
        free(reply);
        return a;
    }

    std::string property(xcb_window_t w, xcb_atom_t prop, xcb_atom_t type)
    {
        auto* reply = xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, prop, type, 0, 1024), nullptr);
        std::string value;
        if (reply && reply->type != XCB_NONE)
            value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                         size_t(xcb_get_property_value_length(reply)));
        free(reply);
        return value;
    }

    pid_t windowPid(xcb_window_t w)
    {
        const std::string v = property(w, pidAtom_, XCB_ATOM_CARDINAL);
        if (v.size() < 4) return 0;
        uint32_t pid = 0;
        memcpy(&pid, v.data(), 4);
        return pid_t(pid);
    }

    std::string windowTitle(xcb_window_t w)
    {
        std::string t = property(w, nameAtom_, utf8Atom_);
        return t.empty() ? property(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING) : t;
    }

    static std::string describeStatus(int status)
    {
        if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
        if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
        return "status " + std::to_string(status);
    }

    static pid_t spawn(const std::vector<std::string>& argv, bool childOutput, std::string& error)
    {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!childOutput) {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
        pid_t pid = 0;
        const int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        if (rc != 0) {
            error = "cannot start " + argv[0] + ": " + strerror(rc);
            return 0;
        }
        return pid;
    }

    // Kills the child's whole group, reaps it and waits until the server has
    // destroyed its window, so that the next start finds the display as the
    // first one did.
    void end()
    {
        if (child_ > 0) {
            kill(-child_, SIGKILL);
            int status = 0;
            while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {}
            child_ = 0;
        }
        g_childGroup = 0;
        const auto deadline = SteadyClock::now() + std::chrono::seconds(3);
        while (tracked_ != XCB_NONE && !trackedDestroyed_ && SteadyClock::now() < deadline)
            if (!pump(20)) break;
        // The server frees all of a client's windows at once: after one round
        // trip, every DestroyNotify of the killed program has been read, and
        // none can be taken for a window of the next start (ids are reused).
        free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
        while (xcb_generic_event_t* ev = xcb_poll_for_event(conn_)) {
            handle(ev, SteadyClock::now());
            free(ev);
        }
        if (tracked_ != XCB_NONE && !trackedDestroyed_)
            std::fprintf(stderr, "startup_probe: warning: window 0x%x still exists 3 s after its program was killed\n",
                         tracked_);
    }

    // Handles the events that are waiting, or waits up to timeoutMs for one.
    bool pump(int timeoutMs)
    {
        bool any = false;
        while (xcb_generic_event_t* ev = xcb_poll_for_event(conn_)) {
            handle(ev, SteadyClock::now());
            free(ev);
            any = true;
        }
        if (xcb_connection_has_error(conn_)) return false;
        if (any) return true;
        pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
        poll(&p, 1, timeoutMs);
        return true;
    }

    void handle(xcb_generic_event_t* ev, SteadyClock::time_point at)
    {
        const uint8_t type = ev->response_type & 0x7f;
        if (type == 0) return; // an error, e.g. DAMAGE refused on an InputOnly window: not a window we time
        if (type == XCB_CREATE_NOTIFY) {
            // The damage object goes on as soon as the window exists, before it
            // can be mapped and drawn into: nothing of the first paint is missed.
            auto* e = reinterpret_cast<xcb_create_notify_event_t*>(ev);
            if (e->parent == root_) watchDamage(e->window);
        } else if (type == XCB_MAP_NOTIFY) {
            auto* e = reinterpret_cast<xcb_map_notify_event_t*>(ev);
            if (e->event == root_ && tracked_ == XCB_NONE) considerMapped(e->window, at);
        } else if (type == XCB_DESTROY_NOTIFY) {
            auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(ev);
            damages_.erase(e->window);
            if (e->window == tracked_) trackedDestroyed_ = true;
        } else if (type == damageEventBase_ + XCB_DAMAGE_NOTIFY) {
            auto* e = reinterpret_cast<xcb_damage_notify_event_t*>(ev);
            if (e->drawable == tracked_ && !painted_) {
                painted_ = true;
                sample_.paintMs = msBetween(start_, at);
                sample_.firstDamage = e->area;
                if (!shotPrefix_.empty()) saveShot(tracked_, shotPrefix_ + "-paint.ppm");
            }
        }
    }

    void watchDamage(xcb_window_t w)
    {
        if (damages_.count(w)) return;
        const xcb_damage_damage_t d = xcb_generate_id(conn_);
        xcb_damage_create(conn_, d, w, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(conn_);
        damages_[w] = d;
    }

    void considerMapped(xcb_window_t w, SteadyClock::time_point at)
    {
        const pid_t pid = windowPid(w);
        if (pid <= 0 || (pid != child_ && processGroup(pid) != child_)) return;
        tracked_ = w;
        owner_ = pid;
        sample_.mapMs = msBetween(start_, at);
        watchDamage(w); // already there unless the window was created before the probe looked
        auto* geo = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
        if (geo) {
            sample_.width = geo->width;
            sample_.height = geo->height;
        }
        free(geo);
        if (!shotPrefix_.empty()) saveShot(w, shotPrefix_ + "-map.ppm");
    }

    // The window's contents as a PPM file (24-bit colour, 32 bits a pixel).
    void saveShot(xcb_window_t w, const std::string& path)
    {
        if (rootBitsPerPixel_ != 32 || !lsbFirst_ || sample_.width == 0) {
            std::fprintf(stderr, "startup_probe: cannot save %s on this display's pixel format\n", path.c_str());
            return;
        }
        const int width = sample_.width, height = sample_.height;
        auto* img = xcb_get_image_reply(
            conn_, xcb_get_image(conn_, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, uint16_t(width), uint16_t(height), ~0u),
            nullptr);
        if (!img) return;
        const uint8_t* data = xcb_get_image_data(img);
        if (xcb_get_image_data_length(img) >= width * height * 4) {
            if (FILE* f = std::fopen(path.c_str(), "wb")) {
                std::fprintf(f, "P6\n%d %d\n255\n", width, height);
                std::vector<uint8_t> row(size_t(width) * 3);
                for (int y = 0; y < height; ++y) {
                    const uint8_t* src = data + size_t(y) * width * 4;
                    for (int x = 0; x < width; ++x) {
                        row[size_t(x) * 3 + 0] = src[x * 4 + 2];
                        row[size_t(x) * 3 + 1] = src[x * 4 + 1];
                        row[size_t(x) * 3 + 2] = src[x * 4 + 0];
                    }
                    std::fwrite(row.data(), 1, row.size(), f);
                }
                std::fclose(f);
            }
        }
        free(img);
    }

    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    bool lsbFirst_ = true;
    int rootBitsPerPixel_ = 0;
    uint8_t damageEventBase_ = 0;
    xcb_atom_t pidAtom_ = XCB_NONE, nameAtom_ = XCB_NONE, utf8Atom_ = XCB_NONE;

    std::map<xcb_window_t, xcb_damage_damage_t> damages_;
    SteadyClock::time_point start_;
    pid_t child_ = 0;
    pid_t owner_ = 0;
    xcb_window_t tracked_ = XCB_NONE;
    bool trackedDestroyed_ = false;
    bool painted_ = false;
    Sample sample_;
    std::string shotPrefix_;
};

// VmHWM counts kibibytes; figures are given in megabytes of 10^6 bytes.
double megabytes(long kib) { return double(kib) * 1024.0 / 1e6; }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

void usage(FILE* out)
{
    std::fprintf(out, "usage: startup_probe [--pairs N] [--warmup N] [--settle MS] [--timeout MS]\n"
                      "                     [--bare PATH] [--shots DIR] [--child-output] [--] PROGRAM [ARGS...]\n"
                      "  --pairs N       measured starts of each program, alternately (default 15)\n"
                      "  --warmup N      pairs started first and not counted (default 1)\n"
                      "  --settle MS     wait after the first paint before reading peak memory (default 300)\n"
                      "  --timeout MS    longest wait for a start's first paint (default 10000)\n"
                      "  --bare PATH     the baseline program (default: bench_bare_window beside the probe)\n"
                      "  --shots DIR     save each window when mapped, at its first paint and after the settle\n"
                      "                  (PPM; the saving slows the starts, so their times do not count)\n"
                      "  --child-output  let the programs write to the terminal\n"
                      "Run on a display without a window manager, e.g.\n"
                      "  xvfb-run -a -s \"-screen 0 1024x768x24\" startup_probe build/demo/ソルメア/solmea\n");
}

bool parse(int argc, char** argv, Options& o)
{
    int i = 1;
    auto number = [&](int& out) {
        if (i + 1 >= argc) return false;
        char* end = nullptr;
        const long v = std::strtol(argv[i + 1], &end, 10);
        if (*end != '\0' || v < 0 || v > 1000000) return false;
        out = int(v);
        i += 2;
        return true;
    };
    while (i < argc) {
        const std::string a = argv[i];
        if (a == "--pairs") {
            if (!number(o.pairs) || o.pairs == 0) return false;
        } else if (a == "--warmup") {
            if (!number(o.warmup)) return false;
        } else if (a == "--settle") {
            if (!number(o.settleMs)) return false;
        } else if (a == "--timeout") {
            if (!number(o.timeoutMs) || o.timeoutMs == 0) return false;
        } else if (a == "--bare" || a == "--shots") {
            if (i + 1 >= argc) return false;
            (a == "--bare" ? o.bare : o.shots) = argv[i + 1];
            i += 2;
        } else if (a == "--child-output") {
            o.childOutput = true;
            ++i;
        } else if (a == "--") {
            ++i;
            break;
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            break;
        }
    }
    for (; i < argc; ++i) o.program.emplace_back(argv[i]);
    return !o.program.empty();
}

struct Summary {
    std::vector<double> paintMs;
    std::vector<double> peakMb;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        usage(stdout);
        return 0;
    }
    if (!parse(argc, argv, options)) {
        usage(stderr);
        return 2;
    }
    if (options.bare.empty()) options.bare = ownFolder() + "/bench_bare_window";
    if (access(options.bare.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "startup_probe: no baseline program at %s (--bare PATH)\n", options.bare.c_str());
        return 2;
    }
    // The program needs a sound device; the dummy one is silent and real-time.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, onSignal);

    Probe probe;
    std::string error;
    if (!probe.connect(error)) {
        std::fprintf(stderr, "startup_probe: %s\n", error.c_str());
        return 1;
    }

    const Subject subjects[2] = {{baseName(options.program[0]), options.program}, {"bare window", {options.bare}}};
    Summary summary[2];
    std::optional<Sample> firstSample[2];

    std::printf("startup_probe: %d pairs after %d warm-up, settle %d ms, DISPLAY=%s\n", options.pairs, options.warmup,
                options.settleMs, getenv("DISPLAY") ? getenv("DISPLAY") : "");
    std::printf("  run  %-12s %9s %9s %9s   %s\n", "program", "map ms", "paint ms", "peak MB", "first damage");
    for (int pair = -options.warmup; pair < options.pairs; ++pair) {
        // Alternate which goes first, so that neither always follows the other.
        const int order[2] = {(pair & 1) ? 1 : 0, (pair & 1) ? 0 : 1};
        for (int k : order) {
            const Subject& subject = subjects[k];
            std::string shot;
            if (!options.shots.empty())
                shot = options.shots + "/" + (k == 0 ? std::string("program") : std::string("bare")) + "-" +
                       std::to_string(pair + options.warmup + 1);
            auto sample = probe.measure(subject, options, shot, error);
            if (!sample) {
                std::fprintf(stderr, "startup_probe: %s\n", error.c_str());
                return 1;
            }
            const bool warm = pair < 0;
            std::printf("  %-4s %-12s %9.1f %9.1f %9.1f   %ux%u+%d+%d\n", warm ? "w" : std::to_string(pair + 1).c_str(),
                        subject.name.c_str(), sample->mapMs, sample->paintMs, megabytes(sample->peakKb),
                        sample->firstDamage.width, sample->firstDamage.height, sample->firstDamage.x,
                        sample->firstDamage.y);
            std::fflush(stdout);
            // Every start must show the same first window: a different one (a
            // message box, say) means that start did not come up as the first did.
            if (!firstSample[k]) {
                firstSample[k] = sample;
            } else if (sample->title != firstSample[k]->title || sample->width != firstSample[k]->width ||
                       sample->height != firstSample[k]->height) {
                std::fprintf(stderr,
                             "startup_probe: %s showed \"%s\" %dx%d first, where its first start showed \"%s\" %dx%d\n",
                             subject.name.c_str(), sample->title.c_str(), sample->width, sample->height,
                             firstSample[k]->title.c_str(), firstSample[k]->width, firstSample[k]->height);
                return 1;
            }
            if (warm) continue;
            summary[k].paintMs.push_back(sample->paintMs);
            summary[k].peakMb.push_back(megabytes(sample->peakKb));
        }
    }

    std::printf("\n%-12s %10s %8s %8s %10s %8s %8s\n", "program", "paint ms", "min", "max", "peak MB", "min", "max");
    for (int k = 0; k < 2; ++k) {
        const Summary& s = summary[k];
        std::printf("%-12s %10.1f %8.1f %8.1f %10.1f %8.1f %8.1f\n", subjects[k].name.c_str(), median(s.paintMs),
                    *std::min_element(s.paintMs.begin(), s.paintMs.end()),
                    *std::max_element(s.paintMs.begin(), s.paintMs.end()), median(s.peakMb),
                    *std::min_element(s.peakMb.begin(), s.peakMb.end()),
                    *std::max_element(s.peakMb.begin(), s.peakMb.end()));
    }
    for (int k = 0; k < 2; ++k)
        std::printf("%s: first window %dx%d \"%s\"\n", subjects[k].name.c_str(), firstSample[k]->width,
                    firstSample[k]->height, firstSample[k]->title.c_str());
    std::printf("ratio of medians, %s / bare window: first paint %.2fx, peak memory %.2fx\n", subjects[0].name.c_str(),
                median(summary[0].paintMs) / median(summary[1].paintMs),
                median(summary[0].peakMb) / median(summary[1].peakMb));
    if (!options.shots.empty())
        std::printf("(windows saved in %s: these times include the saving)\n", options.shots.c_str());
    return 0;
}
