// Notes through the whole program on a private JACK server of its own (dummy
// driver, 48 kHz) at periods 64, 256 and 1024, with sixteen layers taking
// each note, beside a bare forwarder in this process that sends each note on
// from its MIDI input callback (the program's own JACK back end, so at the
// input's frame), measured in the same run. Prints, for each, the latency in
// frames from the note leaving the player to the last of its copies
// arriving: min, p1, median, p99, max, the spread (p99 - p1), and how many
// came later than one period. At period 1024 it then plays portamento slides
// (36 steps of a millisecond each) and prints how far apart the steps
// arrive: the share 0.5 to 1.5 ms apart, and the median. At every period it
// also plays the slides while notes go to fifteen other layers, printing
// both; with an X display, the notes again while the window is kept busy
// by arrow keys pressed 50 times a second; and at period 64 how much of a
// core the program takes idle, window shown, beside a bare forwarder and a
// plain JACK pass-through, each a process of its own.
//
// Given the path of another build of the program (an older commit's, say),
// measures that one too, after the built one and on the same server, each
// beside the forwarder measured in the same pass, so that "before" and
// "after" come from one run.
//
// The program shows the messages of In1 in its monitor. With an X display
// (DISPLAY set and QT_QPA_PLATFORM other than "offscreen", as under
// `xvfb-run -a env QT_QPA_PLATFORM=xcb`) its window opens there and the bench
// presses F3 in it through XTest, so the monitor pane is shown and takes a
// line for every note; otherwise the window is offscreen and the pane stays
// hidden.
//
//   jack_roundtrip_bench [NOTES [NOTES_PER_SECOND [OTHER_BUILD]]]   (defaults 10000, 1000, at each period)
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bank/mix_bank.h"
#include "bank/options_file.h"
#include "midi/jack/jack_backend.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

constexpr jack_nframes_t kRate = 48000;
constexpr std::array<jack_nframes_t, 3> kPeriods{64, 256, 1024};
constexpr jack_nframes_t kGlidePeriod = 1024;
constexpr int kLayers = 16;
// The portamento pass: a key every 200 ms, each after the first starting a
// slide up or back down; every pitch bend's arrival is kept.
constexpr jack_nframes_t kGlideKeyInterval = kRate / 5;
constexpr uint32_t kGlideKeys = 41;
constexpr size_t kMaxBends = 8192;
constexpr uint32_t kMaxNotes = 127 * 128;  // note and velocity number a note-on
// The window-busy pass: arrow keys, right and left in turn, at 50 Hz.
constexpr int kBusyKeyMs = 20;
constexpr unsigned long kRight = 0xFF53;
constexpr unsigned long kLeft = 0xFF51;
// The idle figure: at this period, over this long, once the window settled.
constexpr jack_nframes_t kIdlePeriod = 64;
constexpr int kIdleSeconds = 15;

// What one pass of a program plays.
enum class Pass {
    Notes,           // notes through sixteen layers
    Busy,            // the same, with keys pressed in the window meanwhile
    Glide,           // portamento slides alone
    GlideWithNotes,  // slides on one layer, notes through the fifteen others
    Idle,            // nothing: the time the program takes
};

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A process started with execvp in `dir` with its output silenced, stopped
// with SIGTERM and waited for.
class Child {
public:
    explicit Child(std::vector<std::string> argv, const fs::path& dir = {}) {
        pid_ = ::fork();
        if (pid_ != 0) return;
        if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(127);
        if (!::freopen("/dev/null", "w", stdout) || !::freopen("/dev/null", "w", stderr)) ::_exit(127);
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ~Child() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }

private:
    pid_t pid_;
};

// The processor time a process has taken so far, in seconds.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// One measured path: where its notes leave and arrive, and when.
struct Path {
    jack_port_t* out = nullptr;
    jack_port_t* in = nullptr;
    std::vector<jack_nframes_t> sent = std::vector<jack_nframes_t>(kMaxNotes);
    std::vector<jack_nframes_t> lastArrival = std::vector<jack_nframes_t>(kMaxNotes);
    std::vector<uint8_t> copies = std::vector<uint8_t>(kMaxNotes);

    void Clear() {
        std::fill(sent.begin(), sent.end(), 0);
        std::fill(lastArrival.begin(), lastArrival.end(), 0);
        std::fill(copies.begin(), copies.end(), 0);
    }
};

// The player: while a pass is on, plays note k at frame start + k * interval
// on both paths and stamps every note-on that comes back. Everything is made
// before the process callback runs. Between passes the callback touches
// nothing but its output buffers: from Stop's return to Begin's end the
// stamps, the start and the next note's number are the main thread's.
struct Player {
    jack_client_t* client = nullptr;
    Path program, forwarder;
    std::atomic<bool> on{false};
    std::atomic<uint32_t> cycles{0};
    jack_nframes_t start = 0;
    jack_nframes_t interval = kRate / 1000;
    uint32_t notes = 0;
    uint32_t next = 0;      // the next portamento key
    uint32_t nextNote = 0;
    bool glide = false;         // the pass plays portamento keys on the program
    bool glideNotes = false;    // and notes on the second channel meanwhile
    std::vector<jack_nframes_t> bends = std::vector<jack_nframes_t>(kMaxBends);
    size_t bendCount = 0;

    void Begin(bool glidePass, bool withNotes) {
        program.Clear();
        forwarder.Clear();
        next = 0;
        nextNote = 0;
        glide = glidePass;
        glideNotes = withNotes;
        bendCount = 0;
        start = jack_frame_time(client) + kRate / 2;
        on.store(true);
    }

    // Ends the pass, returning once the callback has finished a whole cycle
    // that began after `on` was cleared (false if none comes within a second).
    bool Stop() {
        on.store(false);
        const uint32_t seen = cycles.load();
        for (int i = 0; i < 1000; ++i) {
            if (cycles.load() - seen >= 2) return true;
            Sleep(1);
        }
        return false;
    }

    static int Process(jack_nframes_t frames, void* arg) {
        auto& self = *static_cast<Player*>(arg);
        for (Path* path : {&self.program, &self.forwarder})
            jack_midi_clear_buffer(jack_port_get_buffer(path->out, frames));
        if (self.on.load()) self.Play(frames);
        self.cycles.fetch_add(1);
        return 0;
    }

    void Play(jack_nframes_t frames) {
        const jack_nframes_t now = jack_last_frame_time(client);
        for (Path* path : {&program, &forwarder}) {
            void* in = jack_port_get_buffer(path->in, frames);
            const jack_nframes_t events = jack_midi_get_event_count(in);
            for (jack_nframes_t e = 0; e < events; ++e) {
                jack_midi_event_t event;
                if (jack_midi_event_get(&event, in, e) != 0 || event.size != 3) continue;
                if ((event.buffer[0] & 0xF0) == 0xE0 && path == &program && bendCount < kMaxBends)
                    bends[bendCount++] = now + event.time;
                if ((event.buffer[0] & 0xF0) != 0x90 || event.buffer[2] == 0) continue;
                const uint32_t k = (event.buffer[2] - 1u) * 128u + event.buffer[1];
                if (k >= kMaxNotes) continue;
                path->lastArrival[k] = now + event.time;
                ++path->copies[k];
            }
        }
        const jack_nframes_t end = now + frames;
        if (!glide) {
            PlayNotes(now, frames, end, 0x90);
            return;
        }
        // Keys and notes in time order: a buffer takes its events in order only.
        for (;;) {
            const jack_nframes_t key = next < kGlideKeys ? start + next * kGlideKeyInterval : end;
            const jack_nframes_t note = glideNotes && nextNote < notes ? start + nextNote * interval : end;
            if (key >= end && note >= end) return;
            if (key <= note)
                PlayGlideKeys(now, frames, key + 1);
            else
                PlayNotes(now, frames, note + 1, 0x91);
        }
    }

    // Note k at frame start + k * interval, on both paths, those due before `until`.
    void PlayNotes(jack_nframes_t now, jack_nframes_t frames, jack_nframes_t until, jack_midi_data_t status) {
        while (nextNote < notes) {
            const jack_nframes_t due = start + nextNote * interval;
            if (due >= until) break;
            const jack_nframes_t offset = due > now ? due - now : 0;
            const jack_midi_data_t note[3] = {status, static_cast<jack_midi_data_t>(nextNote % 128),
                                              static_cast<jack_midi_data_t>(nextNote / 128 + 1)};
            for (Path* path : {&program, &forwarder}) {
                jack_midi_event_write(jack_port_get_buffer(path->out, frames), offset, note, sizeof note);
                path->sent[nextNote] = now + offset;
            }
            ++nextNote;
        }
    }

    // Key 0 holds note 60; then each key starts a slide: a note-on of 64 up,
    // its note-off back down to 60. Those due before `until`.
    void PlayGlideKeys(jack_nframes_t now, jack_nframes_t frames, jack_nframes_t until) {
        while (next < kGlideKeys) {
            const jack_nframes_t due = start + next * kGlideKeyInterval;
            if (due >= until) break;
            const bool up = next % 2 == 1;
            const jack_midi_data_t key[3] = {static_cast<jack_midi_data_t>(next == 0 || up ? 0x90 : 0x80),
                                             static_cast<jack_midi_data_t>(next == 0 ? 60 : 64), 100};
            jack_midi_event_write(jack_port_get_buffer(program.out, frames), due > now ? due - now : 0, key, sizeof key);
            ++next;
        }
    }
};

// Key presses on the X display the program's window opens on, through
// libX11 and libXtst loaded at run time (only their run-time libraries are
// on the machine, not their headers).
class XKeys {
public:
    XKeys() {
        x11_ = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        xtst_ = ::dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!x11_ || !xtst_) {
            why_ = !x11_ ? "libX11.so.6 did not load" : "libXtst.so.6 did not load";
            return;
        }
        const bool found = Load(x11_, "XOpenDisplay", openDisplay_) && Load(x11_, "XCloseDisplay", closeDisplay_) &&
                           Load(x11_, "XDefaultScreen", defaultScreen_) &&
                           Load(x11_, "XDisplayWidth", displayWidth_) &&
                           Load(x11_, "XDisplayHeight", displayHeight_) &&
                           Load(x11_, "XKeysymToKeycode", keysymToKeycode_) && Load(x11_, "XSync", sync_) &&
                           Load(xtst_, "XTestQueryExtension", queryExtension_) &&
                           Load(xtst_, "XTestFakeMotionEvent", fakeMotion_) &&
                           Load(xtst_, "XTestFakeKeyEvent", fakeKey_);
        if (!found) {
            why_ = "a function is missing from libX11 or libXtst";
            return;
        }
        display_ = openDisplay_(nullptr);
        if (!display_) {
            why_ = "the X display did not open";
            return;
        }
        int event = 0, error = 0, major = 0, minor = 0;
        if (!queryExtension_(display_, &event, &error, &major, &minor)) why_ = "the X server has no XTest";
    }
    ~XKeys() {
        if (display_) closeDisplay_(display_);
        if (xtst_) ::dlclose(xtst_);
        if (x11_) ::dlclose(x11_);
    }
    XKeys(const XKeys&) = delete;
    XKeys& operator=(const XKeys&) = delete;

    // Empty when keys can be pressed; otherwise why they cannot.
    const std::string& Unusable() const { return why_; }

    // Presses and releases the key where the pointer is.
    bool Press(unsigned long keysym) {
        if (!why_.empty()) return false;
        const unsigned char key = keysymToKeycode_(display_, keysym);
        if (key == 0 || !fakeKey_(display_, key, 1, 0) || !fakeKey_(display_, key, 0, 0)) return false;
        sync_(display_, 0);
        return true;
    }

    // Puts the pointer in the middle of the screen, where the window is
    // centred (with no window manager the focus follows the pointer), and
    // presses and releases the key there.
    bool PressInMiddle(unsigned long keysym) {
        if (!why_.empty()) return false;
        const int screen = defaultScreen_(display_);
        if (!fakeMotion_(display_, screen, displayWidth_(display_, screen) / 2, displayHeight_(display_, screen) / 2,
                         0))
            return false;
        sync_(display_, 0);
        Sleep(100);
        return Press(keysym);
    }

private:
    template <typename F>
    static bool Load(void* library, const char* name, F& function) {
        function = reinterpret_cast<F>(::dlsym(library, name));
        return function != nullptr;
    }

    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    void* display_ = nullptr;  // Display*
    std::string why_;
    void* (*openDisplay_)(const char*) = nullptr;
    int (*closeDisplay_)(void*) = nullptr;
    int (*defaultScreen_)(void*) = nullptr;
    int (*displayWidth_)(void*, int) = nullptr;
    int (*displayHeight_)(void*, int) = nullptr;
    unsigned char (*keysymToKeycode_)(void*, unsigned long) = nullptr;
    int (*sync_)(void*, int) = nullptr;
    int (*queryExtension_)(void*, int*, int*, int*, int*) = nullptr;
    int (*fakeMotion_)(void*, int, int, int, unsigned long) = nullptr;
    int (*fakeKey_)(void*, unsigned int, int, unsigned long) = nullptr;
};

constexpr unsigned long kF3 = 0xFFC0;

// The bare forwarder: the program's own MIDI back end with one input and one
// output, every message sent on from the input callback itself (so at the
// input's own frame), meeting the same JACK graph as the program minus the
// engine and the window.
class Forwarder {
public:
    bool Open(const std::string& from, const std::string& to) {
        const uint32_t in = DeviceIndex(midi_.InputNames(), from);
        const uint32_t out = DeviceIndex(midi_.OutputNames(), to);
        return midi_.OpenOutput(out, "SynthOut", output_) == kMidiOk &&
               midi_.OpenInput(in, "In1", &Forwarder::Deliver, this, input_) == kMidiOk &&
               midi_.StartInput(*input_) == kMidiOk;
    }
    ~Forwarder() {
        // A bench that ends reports nothing of its ports' closing.
        if (input_) static_cast<void>(midi_.CloseInput(input_));
        if (output_) static_cast<void>(midi_.CloseOutput(output_));
    }

private:
    static uint32_t DeviceIndex(const std::vector<std::string>& names, const std::string& name) {
        return static_cast<uint32_t>(std::find(names.begin(), names.end(), name) - names.begin());
    }
    static void Deliver(void* self, uint16_t, ShortMessage m) { static_cast<Forwarder*>(self)->output_->Send(m); }

    JackBackend midi_;
    std::unique_ptr<MidiInputPort> input_;
    std::unique_ptr<MidiOutputPort> output_;
};

jack_client_t* OpenClient(const char* name) {
    for (int i = 0; i < 100; ++i) {
        if (jack_client_t* client = jack_client_open(name, JackNoStartServer, nullptr)) return client;
        Sleep(100);
    }
    return nullptr;
}

jack_port_t* MidiPort(jack_client_t* client, const char* name, unsigned long flags) {
    return jack_port_register(client, name, JACK_DEFAULT_MIDI_TYPE, flags, 0);
}

bool WaitConnected(jack_port_t* port) {
    for (int i = 0; i < 1000 && jack_port_connected(port) == 0; ++i) Sleep(10);
    return jack_port_connected(port) > 0;
}

uint32_t DeviceNumber(const std::vector<std::string>& names, const std::string& name) {
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? 0 : static_cast<uint32_t>(at - names.begin()) + 1;
}

template <typename T>
void WriteImage(const fs::path& path, const T& record) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(&record), sizeof record);
}

// Settings that put In1 on the player's note source and SynthOut on its
// sink, with the monitor showing In1's messages, and a bank whose first mix
// has every layer take every note of In1 (for the portamento passes: the
// first layer, in mono portamento, takes channel 1; the others nothing, or
// channel 2 when notes are played beside the slides). The devices go by
// their numbers in the lists as they are now, which is how the program
// finds them when the folder has no ports file.
void WriteProgramFolder(const fs::path& dir, const Player& player, Pass pass) {
    const bool glide = pass == Pass::Glide || pass == Pass::GlideWithNotes;
    JackBackend midi;
    OptionsRecord options{};
    ApplyOptionDefaults(options);
    options.MonitorSource = 1;  // In1
    WriteU32(options.In1Device, DeviceNumber(midi.InputNames(), jack_port_name(player.program.out)));
    WriteU32(options.SynthOutDevice, DeviceNumber(midi.OutputNames(), jack_port_name(player.program.in)));
    WriteImage(dir / "Ostinata.opt", options);
    static BankState bank;
    InitBankDefaults(bank);
    for (int c = 0; c < kLayers; ++c) {
        uint8_t& channel = bank.Bank.Slots[0].Channels[c].In1Channel;
        channel = 17;
        if (glide) channel = c == 0 ? 1 : pass == Pass::GlideWithNotes ? 2 : 0;
    }
    bank.Bank.Slots[0].Channels[0].MD = glide ? 3 : 0;
    bank.Bank.Slots[0].PortaSpeed = 35;  // 36 steps a slide
    WriteImage(dir / "def.cdb", bank.Bank);
}

std::string Report(const char* what, const Path& path, uint32_t notes, int copies, jack_nframes_t period) {
    std::vector<jack_nframes_t> latency;
    uint32_t missing = 0;
    for (uint32_t k = 0; k < notes; ++k) {
        if (path.copies[k] < copies) {
            ++missing;
            continue;
        }
        latency.push_back(path.lastArrival[k] - path.sent[k]);
    }
    char line[256];
    if (latency.empty()) {
        std::snprintf(line, sizeof line, "%-26s no note came back\n", what);
        return line;
    }
    std::sort(latency.begin(), latency.end());
    const auto late = std::count_if(latency.begin(), latency.end(), [&](jack_nframes_t f) { return f > period; });
    const jack_nframes_t p1 = latency[latency.size() / 100];
    const jack_nframes_t p99 = latency[latency.size() * 99 / 100];
    std::snprintf(line, sizeof line,
                  "%-26s %u notes: min %u, p1 %u, median %u, p99 %u, max %u frames; spread %u; later than one "
                  "period: %ld; missing: %u\n",
                  what, notes, latency.front(), p1, latency[latency.size() / 2], p99, latency.back(), p99 - p1,
                  static_cast<long>(late), missing);
    return line;
}

// How far apart the steps of each slide arrived (gaps of more than 10 ms lie
// between slides).
std::string GlideReport(const Player& player, jack_nframes_t period) {
    std::vector<double> apart;
    for (size_t i = 1; i < player.bendCount; ++i) {
        const double ms = (player.bends[i] - player.bends[i - 1]) * 1000.0 / kRate;
        if (ms < 10) apart.push_back(ms);
    }
    char line[256];
    if (apart.empty()) {
        std::snprintf(line, sizeof line, "portamento: no steps came back\n");
        return line;
    }
    std::sort(apart.begin(), apart.end());
    const auto near = std::count_if(apart.begin(), apart.end(), [](double ms) { return ms >= 0.5 && ms <= 1.5; });
    std::snprintf(line, sizeof line,
                  "portamento at period %u: %zu steps; 0.5-1.5 ms apart: %.1f %%; median %.3f ms (%.3f .. %.3f)\n",
                  period, apart.size(), 100.0 * static_cast<double>(near) / static_cast<double>(apart.size()),
                  apart[apart.size() / 2], apart.front(), apart.back());
    return line;
}

bool WaitDisconnected(jack_port_t* port) {
    for (int i = 0; i < 1000 && jack_port_connected(port) > 0; ++i) Sleep(10);
    return jack_port_connected(port) == 0;
}

// The arrow keys pressed in the window at 50 Hz while it lives.
class BusyWindow {
public:
    explicit BusyWindow(XKeys& keys)
        : thread_([this, &keys] {
              for (bool right = true; !stop_.load(); right = !right) {
                  keys.Press(right ? kRight : kLeft);
                  Sleep(kBusyKeyMs);
              }
          }) {}
    ~BusyWindow() {
        stop_.store(true);
        thread_.join();
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// How much of a core the running program (`program`) takes over kIdleSeconds,
// nothing played, beside two forwarders on the player's forwarder ports,
// each a process of its own measured over the same time: the bare forwarder
// (the program's own JACK back end) and a plain JACK client that copies its
// input to its output in the process callback and does nothing else, as a
// pass-through plug-in in a host does.
std::string IdleReport(const Player& player, pid_t program) {
    const std::string from = jack_port_name(player.forwarder.out), to = jack_port_name(player.forwarder.in);
    const Child forwarder({"/proc/self/exe", "--forward", from, to});
    const Child passThrough({"/proc/self/exe", "--pass-through", from, to});
    Sleep(2000);  // they connect and settle
    const std::array<pid_t, 3> pids{program, forwarder.Pid(), passThrough.Pid()};
    std::array<double, 3> cpu{};
    for (size_t i = 0; i < pids.size(); ++i) cpu[i] = -CpuSeconds(pids[i]);
    Sleep(kIdleSeconds * 1000);
    for (size_t i = 0; i < pids.size(); ++i) cpu[i] = 100 * (cpu[i] + CpuSeconds(pids[i])) / kIdleSeconds;
    char line[256];
    std::snprintf(line, sizeof line,
                  "idle at period %u, window shown, over %d s: program %.2f %% of a core, bare forwarder %.2f %%, "
                  "plain JACK pass-through %.2f %%\n",
                  kIdlePeriod, kIdleSeconds, cpu[0], cpu[1], cpu[2]);
    return line;
}

// What a pass plays for how long, in milliseconds.
uint64_t PlayMs(const Player& player, Pass pass, uint32_t perSecond) {
    if (pass == Pass::Glide || pass == Pass::GlideWithNotes) return 1000ull * kGlideKeys * kGlideKeyInterval / kRate;
    return 1000ull * player.notes / std::max(1u, perSecond);
}

// One program binary measured: started in a fresh folder of its own, played
// to as `pass` says, stopped (and its connections gone) before returning.
// With `keys`, F3 is pressed in its window once it has started. The figures
// are added to `out`.
bool MeasureProgram(Player& player, const std::string& binary, const char* label, XKeys* keys, uint32_t perSecond,
                    jack_nframes_t period, Pass pass, bool& paneShown, std::string& out) {
    std::string pattern = (fs::temp_directory_path() / "cadenzo-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return false;
    const fs::path dir = pattern;
    WriteProgramFolder(dir, player, pass);
    const bool glide = pass == Pass::Glide || pass == Pass::GlideWithNotes;
    bool measured = false;
    {
        const Child program({binary}, dir);
        if (!WaitConnected(player.program.out) || !WaitConnected(player.program.in)) {
            std::fprintf(stderr, "%s did not connect to the player\n", binary.c_str());
        } else {
            Sleep(1000);  // the start-up transmission passes
            if (keys) {
                if (keys->PressInMiddle(kF3)) {
                    Sleep(300);  // the pane opens
                } else {
                    paneShown = false;
                    std::printf("F3 could not be pressed in the window of %s: the monitor pane was not shown\n",
                                binary.c_str());
                }
            }
            if (pass == Pass::Idle) {
                out += IdleReport(player, program.Pid());
                measured = true;
            } else {
                // Notes beside the slides go no longer than the slides.
                const uint32_t notes = player.notes;
                if (glide) player.notes = std::min<uint32_t>(notes, PlayMs(player, pass, perSecond) * perSecond / 1000);
                player.Begin(glide, pass == Pass::GlideWithNotes);
                {
                    std::unique_ptr<BusyWindow> busy;
                    if (pass == Pass::Busy && keys) busy = std::make_unique<BusyWindow>(*keys);
                    Sleep(static_cast<int>(500 + PlayMs(player, pass, perSecond) + 1000));
                }
                if (!player.Stop()) {
                    std::fprintf(stderr, "the JACK server stopped calling the player\n");
                } else {
                    if (glide) out += GlideReport(player, period);
                    if (pass != Pass::Glide) {
                        const int copies = pass == Pass::GlideWithNotes ? kLayers - 1 : kLayers;
                        out += Report(label, player.program, player.notes, copies, period);
                        out += Report("bare forwarder:", player.forwarder, player.notes, 1, period);
                    }
                    measured = true;
                }
                player.notes = notes;
            }
        }
    }
    // The next program must find the lists as this one did.
    if (!WaitDisconnected(player.program.out) || !WaitDisconnected(player.program.in)) {
        std::fprintf(stderr, "%s left its ports connected\n", binary.c_str());
        measured = false;
    }
    fs::remove_all(dir);
    return measured;
}

// Everything measured at one period, on a server of its own; the figures
// are added to `figures`.
bool MeasurePeriod(jack_nframes_t period, uint32_t notes, uint32_t perSecond, const std::string& other, XKeys* keys,
                   bool& paneShown, std::string& figures) {
    const std::string server = "cadenzo-bench-" + std::to_string(::getpid()) + "-" + std::to_string(period);
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    const Child jackd({"jackd", "--no-realtime", "-S", "-n", server, "-d", "dummy", "-r", std::to_string(kRate), "-p",
                       std::to_string(period)});
    auto player = std::make_unique<Player>();
    player->client = OpenClient("bench");
    if (!player->client) {
        std::fprintf(stderr, "the private JACK server did not start\n");
        return false;
    }
    player->program = {MidiPort(player->client, "to_program", JackPortIsOutput),
                       MidiPort(player->client, "from_program", JackPortIsInput)};
    player->forwarder = {MidiPort(player->client, "to_forwarder", JackPortIsOutput),
                         MidiPort(player->client, "from_forwarder", JackPortIsInput)};
    player->notes = std::min(notes, kMaxNotes);
    player->interval = kRate / std::max(1u, perSecond);
    jack_set_process_callback(player->client, &Player::Process, player.get());
    jack_activate(player->client);
    bool ok = true;
    std::string measured;
    {
        Forwarder forwarder;
        if (!forwarder.Open(jack_port_name(player->forwarder.out), jack_port_name(player->forwarder.in)) ||
            !WaitConnected(player->forwarder.out) || !WaitConnected(player->forwarder.in)) {
            std::fprintf(stderr, "the forwarder did not connect to the player\n");
            ok = false;
        } else {
            ok &= MeasureProgram(*player, CADENZO_BINARY, "program (16 layers):", keys, perSecond, period,
                                 Pass::Notes, paneShown, measured);
            if (!other.empty())
                ok &= MeasureProgram(*player, other, "other build (16 layers):", keys, perSecond, period, Pass::Notes,
                                     paneShown, measured);
            if (keys)
                ok &= MeasureProgram(*player, CADENZO_BINARY, "window busy (16 layers):", keys, perSecond, period,
                                     Pass::Busy, paneShown, measured);
            else
                measured += "window busy: not measured (no X display to press keys in)\n";
            if (period == kGlidePeriod)
                ok &= MeasureProgram(*player, CADENZO_BINARY, "", nullptr, perSecond, period, Pass::Glide, paneShown,
                                     measured);
            ok &= MeasureProgram(*player, CADENZO_BINARY, "notes beside (15 layers):", nullptr, perSecond, period,
                                 Pass::GlideWithNotes, paneShown, measured);
            if (period == kIdlePeriod)
                ok &= MeasureProgram(*player, CADENZO_BINARY, "", keys, perSecond, period, Pass::Idle, paneShown,
                                     measured);
        }
    }
    jack_deactivate(player->client);
    jack_client_close(player->client);
    figures += "period " + std::to_string(period) + " frames:\n" + measured;
    return ok;
}

// Forwards from the port `from` to the port `to` until SIGTERM ends the process.
int Forward(const std::string& from, const std::string& to) {
    Forwarder forwarder;
    if (!forwarder.Open(from, to)) return 1;
    for (;;) ::pause();  // SIGTERM ends it
}

// The plain JACK pass-through's ports, and its process callback.
struct PassThrough {
    jack_port_t* in = nullptr;
    jack_port_t* out = nullptr;

    static int Process(jack_nframes_t frames, void* arg) {
        const auto& self = *static_cast<PassThrough*>(arg);
        void* in = jack_port_get_buffer(self.in, frames);
        void* out = jack_port_get_buffer(self.out, frames);
        jack_midi_clear_buffer(out);
        jack_midi_event_t event;
        for (uint32_t e = 0; jack_midi_event_get(&event, in, e) == 0; ++e)
            jack_midi_event_write(out, event.time, event.buffer, event.size);
        return 0;
    }
};

// The same as Forward through a plain JACK client.
int PassOn(const std::string& from, const std::string& to) {
    jack_client_t* client = OpenClient("pass_through");
    if (!client) return 1;
    PassThrough ports{MidiPort(client, "in", JackPortIsInput), MidiPort(client, "out", JackPortIsOutput)};
    jack_set_process_callback(client, &PassThrough::Process, &ports);
    if (jack_activate(client) != 0 || jack_connect(client, from.c_str(), jack_port_name(ports.in)) != 0 ||
        jack_connect(client, jack_port_name(ports.out), to.c_str()) != 0)
        return 1;
    for (;;) ::pause();  // SIGTERM ends it
}

// The machine's load averages (1, 5 and 15 minutes), as uptime shows them.
std::string LoadAverages() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

int Run(uint32_t notes, uint32_t perSecond, const std::string& other) {
    const std::string loadBefore = LoadAverages();
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const char* display = std::getenv("DISPLAY");
    const bool onX = display && *display && std::strcmp(std::getenv("QT_QPA_PLATFORM"), "offscreen") != 0;
    std::unique_ptr<XKeys> keys;
    bool paneShown = onX;
    if (onX) {
        keys = std::make_unique<XKeys>();
        if (!keys->Unusable().empty()) {
            std::printf("%s: the monitor pane was not shown\n", keys->Unusable().c_str());
            keys.reset();
            paneShown = false;
        }
    }
    int result = 0;
    std::string figures;
    for (const jack_nframes_t period : kPeriods)
        if (!MeasurePeriod(period, notes, perSecond, other, keys.get(), paneShown, figures)) result = 1;
    std::printf("JACK round trip, %u Hz, %u notes/s; window %s, monitor pane %s:\n", kRate, perSecond,
                onX ? (std::string("on X display ") + display).c_str() : "offscreen", paneShown ? "shown" : "not shown");
    std::fputs(figures.c_str(), stdout);
    std::printf("load average at the start: %s; at the end: %s\n", loadBefore.c_str(), LoadAverages().c_str());
    return result;
}

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
    // The forwarders of the idle figure, each in a process of its own.
    if (argc == 4 && std::strcmp(argv[1], "--forward") == 0) return cadenzo::Forward(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "--pass-through") == 0) return cadenzo::PassOn(argv[2], argv[3]);
    const uint32_t notes = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 10000;
    const uint32_t perSecond = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 1000;
    std::string other;
    if (argc > 3) {
        std::error_code error;
        other = std::filesystem::absolute(argv[3], error).string();
        if (error || ::access(other.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "%s is not a program that can be run\n", argv[3]);
            return 1;
        }
    }
    return cadenzo::Run(notes, perSecond, other);
}
