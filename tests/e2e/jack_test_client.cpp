#include "e2e/jack_test_client.h"

#include <cerrno>

#include <jack/metadata.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <thread>

#include "midi/midi_backend.h"

namespace cadenzo::test {

namespace {
constexpr size_t kRingBytes = 1 << 18;
// In a source's ring, a word whose low byte is 0 (never a status) starts an
// event of several messages: its next byte is the length, then come its
// bytes padded to whole words; or, with the length byte kAtFrame, its high
// half is the frame the message in the next word goes out at.
constexpr uint32_t kAtFrame = 0xFF;
}  // namespace

JackTestClient::JackTestClient(const std::string& name, const std::vector<std::string>& sources,
                               const std::vector<std::string>& sinks)
    : joinedAt_(sinks.size()) {
    for (std::atomic<int64_t>& at : joinedAt_) at.store(-1);
    client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
    if (!client_) return;
    for (const std::string& s : sources) {
        Port p;
        p.port = jack_port_register(client_, s.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        p.ring = jack_ringbuffer_create(kRingBytes);
        p.frames = jack_ringbuffer_create(kRingBytes);
        sources_.push_back(p);
    }
    for (const std::string& s : sinks) {
        Port p;
        p.port = jack_port_register(client_, s.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        p.ring = jack_ringbuffer_create(kRingBytes);
        sinks_.push_back(p);
    }
    jack_set_process_callback(client_, &JackTestClient::Process, this);
    jack_set_xrun_callback(client_, &JackTestClient::OnXrun, this);
    jack_activate(client_);
}

JackTestClient::~JackTestClient() {
    if (client_) jack_client_close(client_);
    for (Port& p : sources_) {
        jack_ringbuffer_free(p.ring);
        jack_ringbuffer_free(p.frames);
    }
    for (Port& p : sinks_) jack_ringbuffer_free(p.ring);
}

std::string JackTestClient::SourceName(size_t i) const { return jack_port_name(sources_.at(i).port); }
bool JackTestClient::SetSourceAlias(size_t i, const std::string& alias) {
    return jack_port_set_alias(sources_.at(i).port, alias.c_str()) == 0;
}

std::string JackTestClient::SinkName(size_t i) const { return jack_port_name(sinks_.at(i).port); }

bool JackTestClient::WaitConnected(const Port& p, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (jack_port_connected(p.port) > 0) {
            // Let one more cycle pass so the new graph is in force on both sides.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool JackTestClient::PortExists(const std::string& fullName) const {
    return jack_port_by_name(client_, fullName.c_str()) != nullptr;
}

bool JackTestClient::WaitForPort(const std::string& fullName, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!PortExists(fullName)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool JackTestClient::PortJoined(const std::string& fullName) const {
    const jack_port_t* port = jack_port_by_name(client_, fullName.c_str());
    if (port == nullptr) return false;
    const char** links = jack_port_get_all_connections(client_, port);
    jack_free(links);
    return links != nullptr;
}

bool JackTestClient::Connect(const std::string& source, const std::string& destination) {
    const int result = jack_connect(client_, source.c_str(), destination.c_str());
    return result == 0 || result == EEXIST;
}

bool JackTestClient::SetPeriod(uint32_t frames) { return jack_set_buffer_size(client_, frames) == 0; }

std::string JackTestClient::PortProperty(const std::string& fullName, const char* key) const {
    const jack_port_t* port = jack_port_by_name(client_, fullName.c_str());
    char* value = nullptr;
    char* type = nullptr;
    if (port == nullptr || jack_get_property(jack_port_uuid(port), key, &value, &type) != 0) return "";
    std::string text = value;
    jack_free(value);
    jack_free(type);
    return text;
}

std::vector<std::string> JackTestClient::MidiSources() const {
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    for (const char** p = ports; p && *p; ++p) names.emplace_back(*p);
    jack_free(ports);
    return names;
}

void JackTestClient::Send(size_t source, uint32_t message) {
    jack_ringbuffer_write(sources_.at(source).ring, reinterpret_cast<const char*>(&message), sizeof message);
}

void JackTestClient::SendAll(size_t source, const std::vector<uint32_t>& messages) {
    jack_ringbuffer_write(sources_.at(source).ring, reinterpret_cast<const char*>(messages.data()),
                          sizeof(uint32_t) * messages.size());
}

void JackTestClient::SendAt(size_t source, uint32_t message, uint32_t frame) {
    const std::array<uint32_t, 2> words{kAtFrame << 8 | frame << 16, message};
    jack_ringbuffer_write(sources_.at(source).ring, reinterpret_cast<const char*>(words.data()), sizeof words);
}

std::vector<uint32_t> JackTestClient::SentFrames(size_t source) {
    std::vector<uint32_t> frames;
    uint32_t frame = 0;
    while (jack_ringbuffer_read(sources_.at(source).frames, reinterpret_cast<char*>(&frame), sizeof frame) ==
           sizeof frame)
        frames.push_back(frame);
    return frames;
}

void JackTestClient::SendEvent(size_t source, const std::vector<uint8_t>& bytes) {
    std::array<uint32_t, 4> words{static_cast<uint32_t>(bytes.size()) << 8};
    for (size_t i = 0; i < bytes.size() && i < 12; ++i) words[1 + i / 4] |= uint32_t{bytes[i]} << (8 * (i % 4));
    jack_ringbuffer_write(sources_.at(source).ring, reinterpret_cast<const char*>(words.data()),
                          sizeof(uint32_t) * (1 + (bytes.size() + 3) / 4));
}

std::vector<uint32_t> JackTestClient::Receive(size_t sink, size_t count, std::chrono::milliseconds timeout) {
    std::vector<uint32_t> words;
    for (const Timed& t : ReceiveTimed(sink, count, timeout)) words.push_back(t.message);
    return words;
}

std::vector<JackTestClient::Timed> JackTestClient::ReceiveTimed(size_t sink, size_t count,
                                                                std::chrono::milliseconds timeout) {
    Port& p = sinks_.at(sink);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Timed timed{};
        while (jack_ringbuffer_read_space(p.ring) >= sizeof timed) {
            jack_ringbuffer_read(p.ring, reinterpret_cast<char*>(&timed), sizeof timed);
            p.received.push_back(timed);
        }
        if (p.received.size() >= count || std::chrono::steady_clock::now() > deadline) return p.received;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

int JackTestClient::OnXrun(void* self) {
    ++static_cast<JackTestClient*>(self)->xruns_;
    return 0;
}

int JackTestClient::Process(jack_nframes_t frames, void* arg) {
    auto& self = *static_cast<JackTestClient*>(arg);
    WriteSources(self, frames);
    ReadSinks(self, frames);
    return 0;
}

void JackTestClient::WriteSources(JackTestClient& self, jack_nframes_t frames) {
    const jack_nframes_t cycleStart = jack_last_frame_time(self.client_);
    for (Port& p : self.sources_) {
        void* buffer = jack_port_get_buffer(p.port, frames);
        jack_midi_clear_buffer(buffer);
        bool wrote = false;
        uint32_t word = 0;
        while (jack_ringbuffer_read_space(p.ring) >= sizeof word) {
            jack_ringbuffer_peek(p.ring, reinterpret_cast<char*>(&word), sizeof word);
            if ((word & 0xFF) == 0 && ((word >> 8) & 0xFF) == kAtFrame) {  // alone in a cycle, at its frame
                if (wrote) break;
                std::array<uint32_t, 2> timed{};
                jack_ringbuffer_read(p.ring, reinterpret_cast<char*>(timed.data()), sizeof timed);
                const jack_nframes_t frame = std::min<jack_nframes_t>(timed[0] >> 16, frames - 1);
                const int length = ShortMessageDataBytes(static_cast<uint8_t>(timed[1])) + 1;
                jack_midi_data_t* data = jack_midi_event_reserve(buffer, frame, static_cast<size_t>(length));
                if (!data) break;
                for (int i = 0; i < length; ++i) data[i] = static_cast<jack_midi_data_t>(timed[1] >> (8 * i));
                const uint32_t sentAt = cycleStart + frame;
                jack_ringbuffer_write(p.frames, reinterpret_cast<const char*>(&sentAt), sizeof sentAt);
                break;
            }
            jack_ringbuffer_read_advance(p.ring, sizeof word);
            wrote = true;
            if ((word & 0xFF) == 0) {  // an event of several messages
                const size_t length = (word >> 8) & 0xFF;
                std::array<uint32_t, 3> payload{};
                jack_ringbuffer_read(p.ring, reinterpret_cast<char*>(payload.data()), sizeof(uint32_t) * ((length + 3) / 4));
                jack_midi_data_t* data = jack_midi_event_reserve(buffer, 0, length);
                if (!data) break;
                for (size_t i = 0; i < length; ++i) data[i] = static_cast<jack_midi_data_t>(payload[i / 4] >> (8 * (i % 4)));
                continue;
            }
            const int length = ShortMessageDataBytes(static_cast<uint8_t>(word)) + 1;
            jack_midi_data_t* data = jack_midi_event_reserve(buffer, 0, static_cast<size_t>(length));
            if (!data) break;
            for (int i = 0; i < length; ++i) data[i] = static_cast<jack_midi_data_t>(word >> (8 * i));
        }
    }
}

void JackTestClient::ReadSinks(JackTestClient& self, jack_nframes_t frames) {
    const jack_nframes_t cycleStart = jack_last_frame_time(self.client_);
    for (size_t sink = 0; sink < self.sinks_.size(); ++sink) {
        Port& p = self.sinks_[sink];
        const bool joined = jack_port_connected(p.port) > 0;
        if (joined != p.joined) self.joinedAt_[sink].store(joined ? int64_t{cycleStart} : -1);
        p.joined = joined;
        void* buffer = jack_port_get_buffer(p.port, frames);
        const jack_nframes_t events = jack_midi_get_event_count(buffer);
        for (jack_nframes_t e = 0; e < events; ++e) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, e) != 0 || event.size == 0 || event.size > 3) continue;
            Timed timed{0, cycleStart + event.time};
            for (size_t i = 0; i < event.size; ++i) timed.message |= uint32_t{event.buffer[i]} << (8 * i);
            jack_ringbuffer_write(p.ring, reinterpret_cast<const char*>(&timed), sizeof timed);
        }
    }
}

std::vector<uint32_t> NotesOnly(const std::vector<uint32_t>& messages) {
    std::vector<uint32_t> notes;
    for (uint32_t m : messages)
        if ((m & 0xE0) == 0x80) notes.push_back(m);
    return notes;
}

uint32_t DeviceNumber(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 1; i < names.size(); ++i)
        if (names[i] == name) return static_cast<uint32_t>(i);
    return 0;
}

}  // namespace cadenzo::test
