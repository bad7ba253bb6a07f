// Notes through the whole program on a private JACK server of its own (dummy
// driver, 48 kHz, period 64), with sixteen layers taking each note, beside a
// bare forwarder that sends each note on from its MIDI input callback,
// measured in the same run. Prints, for each, the latency in frames from the
// note leaving the player to the last of its copies arriving: min, median,
// p99, max, and how many came later than one period.
//
//   jack_roundtrip_bench [NOTES [NOTES_PER_SECOND]]   (defaults 3000, 1000)
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <jack/jack.h>
#include <jack/midiport.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bank/mix_bank.h"
#include "bank/options_file.h"
#include "midi/rtmidi/rtmidi_backend.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

constexpr jack_nframes_t kRate = 48000;
constexpr jack_nframes_t kPeriod = 64;
constexpr int kLayers = 16;
constexpr uint32_t kMaxNotes = 127 * 128;  // note and velocity number a note-on

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

private:
    pid_t pid_;
};

// One measured path: where its notes leave and arrive, and when.
struct Path {
    jack_port_t* out = nullptr;
    jack_port_t* in = nullptr;
    std::vector<jack_nframes_t> sent = std::vector<jack_nframes_t>(kMaxNotes);
    std::vector<jack_nframes_t> lastArrival = std::vector<jack_nframes_t>(kMaxNotes);
    std::vector<uint8_t> copies = std::vector<uint8_t>(kMaxNotes);
};

// The player: plays note k at frame start + k * interval on both paths and
// stamps every note-on that comes back. Everything is made before the
// process callback runs, which only writes into it.
struct Player {
    jack_client_t* client = nullptr;
    Path program, forwarder;
    std::atomic<bool> playing{false};
    jack_nframes_t start = 0;
    jack_nframes_t interval = kRate / 1000;
    uint32_t notes = 0;
    uint32_t next = 0;

    static int Process(jack_nframes_t frames, void* arg) {
        auto& self = *static_cast<Player*>(arg);
        const jack_nframes_t now = jack_last_frame_time(self.client);
        for (Path* path : {&self.program, &self.forwarder}) {
            void* in = jack_port_get_buffer(path->in, frames);
            const jack_nframes_t events = jack_midi_get_event_count(in);
            for (jack_nframes_t e = 0; e < events; ++e) {
                jack_midi_event_t event;
                if (jack_midi_event_get(&event, in, e) != 0 || event.size != 3 || (event.buffer[0] & 0xF0) != 0x90 ||
                    event.buffer[2] == 0)
                    continue;
                const uint32_t k = (event.buffer[2] - 1u) * 128u + event.buffer[1];
                if (k >= kMaxNotes) continue;
                path->lastArrival[k] = now + event.time;
                ++path->copies[k];
            }
            jack_midi_clear_buffer(jack_port_get_buffer(path->out, frames));
        }
        if (!self.playing.load(std::memory_order_acquire)) return 0;
        while (self.next < self.notes) {
            const jack_nframes_t due = self.start + self.next * self.interval;
            if (due >= now + frames) break;
            const jack_nframes_t offset = due > now ? due - now : 0;
            const jack_midi_data_t note[3] = {0x90, static_cast<jack_midi_data_t>(self.next % 128),
                                              static_cast<jack_midi_data_t>(self.next / 128 + 1)};
            for (Path* path : {&self.program, &self.forwarder}) {
                jack_midi_event_write(jack_port_get_buffer(path->out, frames), offset, note, sizeof note);
                path->sent[self.next] = now + offset;
            }
            ++self.next;
        }
        return 0;
    }
};

// The bare forwarder: the program's own MIDI back end with one input and one
// output, every message sent on from the input callback itself, so it meets
// the same JACK clients and graph as the program minus the window thread.
class Forwarder {
public:
    bool Open(const std::string& from, const std::string& to) {
        const uint32_t in = DeviceIndex(midi_.InputNames(), from);
        const uint32_t out = DeviceIndex(midi_.OutputNames(), to);
        return midi_.OpenOutput(out, "ForwardOut", output_) == kMidiOk &&
               midi_.OpenInput(in, "ForwardIn", &Forwarder::Deliver, this, input_) == kMidiOk &&
               midi_.StartInput(*input_) == kMidiOk;
    }
    ~Forwarder() {
        if (input_) midi_.CloseInput(input_);
        if (output_) midi_.CloseOutput(output_);
    }

private:
    static uint32_t DeviceIndex(const std::vector<std::string>& names, const std::string& name) {
        return static_cast<uint32_t>(std::find(names.begin(), names.end(), name) - names.begin());
    }
    static void Deliver(void* self, uint16_t, ShortMessage m) { static_cast<Forwarder*>(self)->output_->Send(m); }

    RtMidiBackend midi_;
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
// sink, and a bank whose first mix has every layer take every note of In1.
void WriteProgramFolder(const fs::path& dir, const Player& player) {
    RtMidiBackend midi;
    OptionsRecord options{};
    ApplyOptionDefaults(options);
    WriteU32(options.In1Device, DeviceNumber(midi.InputNames(), jack_port_name(player.program.out)));
    WriteU32(options.SynthOutDevice, DeviceNumber(midi.OutputNames(), jack_port_name(player.program.in)));
    WriteImage(dir / "Ostinata.opt", options);
    static BankState bank;
    InitBankDefaults(bank);
    for (int c = 0; c < kLayers; ++c) bank.Bank.Slots[0].Channels[c].In1Channel = 17;
    WriteImage(dir / "def.cdb", bank.Bank);
}

void Report(const char* what, const Path& path, uint32_t notes, int copies) {
    std::vector<jack_nframes_t> latency;
    uint32_t missing = 0;
    for (uint32_t k = 0; k < notes; ++k) {
        if (path.copies[k] < copies) {
            ++missing;
            continue;
        }
        latency.push_back(path.lastArrival[k] - path.sent[k]);
    }
    if (latency.empty()) {
        std::printf("%-22s no note came back\n", what);
        return;
    }
    std::sort(latency.begin(), latency.end());
    const auto late = std::count_if(latency.begin(), latency.end(), [](jack_nframes_t f) { return f > kPeriod; });
    std::printf("%-22s %u notes: min %u, median %u, p99 %u, max %u frames; later than one period: %ld; missing: %u\n",
                what, notes, latency.front(), latency[latency.size() / 2], latency[latency.size() * 99 / 100],
                latency.back(), static_cast<long>(late), missing);
}

int Run(uint32_t notes, uint32_t perSecond) {
    const std::string server = "cadenzo-bench-" + std::to_string(::getpid());
    ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const Child jackd({"jackd", "--no-realtime", "-S", "-n", server, "-d", "dummy", "-r", std::to_string(kRate), "-p",
                       std::to_string(kPeriod)});

    static Player player;
    player.client = OpenClient("bench");
    if (!player.client) {
        std::fprintf(stderr, "the private JACK server did not start\n");
        return 1;
    }
    player.program = {MidiPort(player.client, "to_program", JackPortIsOutput),
                      MidiPort(player.client, "from_program", JackPortIsInput)};
    player.forwarder = {MidiPort(player.client, "to_forwarder", JackPortIsOutput),
                        MidiPort(player.client, "from_forwarder", JackPortIsInput)};
    player.notes = std::min(notes, kMaxNotes);
    player.interval = kRate / std::max(1u, perSecond);
    jack_set_process_callback(player.client, &Player::Process, &player);
    jack_activate(player.client);
    Forwarder forwarder;
    if (!forwarder.Open(jack_port_name(player.forwarder.out), jack_port_name(player.forwarder.in)) ||
        !WaitConnected(player.forwarder.out) || !WaitConnected(player.forwarder.in)) {
        std::fprintf(stderr, "the forwarder did not connect to the player\n");
        return 1;
    }

    std::string pattern = (fs::temp_directory_path() / "cadenzo-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    const fs::path dir = pattern;
    WriteProgramFolder(dir, player);
    int result = 0;
    {
        const Child program({CADENZO_BINARY}, dir);
        if (!WaitConnected(player.program.out) || !WaitConnected(player.program.in)) {
            std::fprintf(stderr, "the program did not connect to the player\n");
            result = 1;
        } else {
            Sleep(1000);  // the start-up transmission passes
            player.start = jack_frame_time(player.client) + kRate / 2;
            player.playing.store(true, std::memory_order_release);
            Sleep(static_cast<int>(500 + 1000ull * player.notes / std::max(1u, perSecond) + 1000));
            jack_deactivate(player.client);  // the process callback has ended: its stamps can be read
            std::printf("JACK round trip, %u Hz, period %u frames, %u notes/s:\n", kRate, kPeriod, perSecond);
            Report("program (16 layers):", player.program, player.notes, kLayers);
            Report("bare forwarder:", player.forwarder, player.notes, 1);
        }
    }
    jack_client_close(player.client);
    fs::remove_all(dir);
    return result;
}

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
    const uint32_t notes = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 3000;
    const uint32_t perSecond = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 1000;
    return cadenzo::Run(notes, perSecond);
}
