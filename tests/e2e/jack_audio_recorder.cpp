#include "e2e/jack_audio_recorder.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace cadenzo::test {

namespace {
constexpr size_t kRingBytes = 1 << 23;  // about twenty seconds at 48 kHz
constexpr size_t kChunk = 256;  // samples taken from the ring at a time
}  // namespace

JackAudioRecorder::JackAudioRecorder(const std::string& name) {
    client_ = jack_client_open(name.c_str(), JackNoStartServer, nullptr);
    if (!client_) return;
    inputs_[0] = jack_port_register(client_, "left", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    inputs_[1] = jack_port_register(client_, "right", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    ring_ = jack_ringbuffer_create(kRingBytes);
    jack_set_process_callback(client_, &JackAudioRecorder::Process, this);
    jack_activate(client_);
}

JackAudioRecorder::~JackAudioRecorder() {
    if (client_) jack_client_close(client_);
    if (ring_) jack_ringbuffer_free(ring_);
}

bool JackAudioRecorder::Connect(const std::string& source, size_t input) {
    return jack_connect(client_, source.c_str(), jack_port_name(inputs_.at(input))) == 0;
}

std::optional<double> JackAudioRecorder::Level(std::chrono::milliseconds duration) {
    // What arrived before now is not part of the recording.
    jack_ringbuffer_read_advance(ring_, jack_ringbuffer_read_space(ring_));
    return NextLevel(duration);
}

std::optional<double> JackAudioRecorder::NextLevel(std::chrono::milliseconds duration) {
    const size_t wanted = jack_get_sample_rate(client_) * static_cast<size_t>(duration.count()) / 1000 *
                          inputs_.size();
    const auto deadline = std::chrono::steady_clock::now() + 4 * duration + std::chrono::seconds(2);
    double sumOfSquares = 0;
    size_t samples = 0;
    while (samples < wanted) {
        std::array<float, kChunk> chunk;
        const size_t want = std::min(kChunk, wanted - samples) * sizeof(float);
        const size_t got = jack_ringbuffer_read(ring_, reinterpret_cast<char*>(chunk.data()), want) / sizeof(float);
        for (size_t i = 0; i < got; ++i) sumOfSquares += double{chunk[i]} * chunk[i];
        samples += got;
        if (got > 0) continue;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double rms = std::sqrt(sumOfSquares / static_cast<double>(samples));
    return rms > 0 ? std::max(20 * std::log10(rms), kDigitalSilenceDb) : kDigitalSilenceDb;
}

int JackAudioRecorder::Process(jack_nframes_t frames, void* arg) {
    auto& self = *static_cast<JackAudioRecorder*>(arg);
    const size_t bytes = frames * self.inputs_.size() * sizeof(float);
    if (jack_ringbuffer_write_space(self.ring_) < bytes) return 0;  // the test is not listening
    std::array<const float*, 2> buffers{};
    for (size_t i = 0; i < buffers.size(); ++i)
        buffers[i] = static_cast<const float*>(jack_port_get_buffer(self.inputs_[i], frames));
    for (jack_nframes_t f = 0; f < frames; ++f)
        for (const float* buffer : buffers)
            jack_ringbuffer_write(self.ring_, reinterpret_cast<const char*>(&buffer[f]), sizeof(float));
    return 0;
}

}  // namespace cadenzo::test
