// A JACK client for end-to-end tests that listens to a stereo pair: its
// inputs "left" and "right" are connected to another client's outputs, and
// the test asks how loud the next stretch of sound is. The process thread only copies samples
// into a lock-free ring.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include <jack/jack.h>
#include <jack/ringbuffer.h>

namespace cadenzo::test {

// Levels in dB of full scale: below the first a player hears nothing; the
// second is what a stretch of zero samples measures.
inline constexpr double kSilenceDb = -90.0;
inline constexpr double kDigitalSilenceDb = -200.0;

class JackAudioRecorder {
public:
    explicit JackAudioRecorder(const std::string& name);
    ~JackAudioRecorder();
    JackAudioRecorder(const JackAudioRecorder&) = delete;
    JackAudioRecorder& operator=(const JackAudioRecorder&) = delete;

    bool Ok() const { return client_ != nullptr; }
    // Connects the audio output `source` ("client:port") to input i (0 left, 1 right).
    bool Connect(const std::string& source, size_t input);

    // Records `duration` of sound from now on and returns its level: the
    // RMS over both inputs, in dB of full scale.
    // Nothing when the sound stopped arriving.
    std::optional<double> Level(std::chrono::milliseconds duration);
    // The same for the `duration` of sound that follows the last one
    // recorded, in the server's time: a loaded machine that wakes the test
    // late moves no stretch of sound.
    std::optional<double> NextLevel(std::chrono::milliseconds duration);

private:
    static int Process(jack_nframes_t frames, void* self);

    jack_client_t* client_ = nullptr;
    std::array<jack_port_t*, 2> inputs_{};
    jack_ringbuffer_t* ring_ = nullptr;  // interleaved float frames
};

}  // namespace cadenzo::test
