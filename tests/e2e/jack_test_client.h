// A JACK client for end-to-end tests: MIDI sources the program can open as
// input devices and sinks it can open as output devices. Messages to send
// and messages received pass through lock-free ring buffers, so the JACK
// process thread never blocks.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <jack/jack.h>
#include <jack/ringbuffer.h>

namespace cadenzo::test {

class JackTestClient {
public:
    JackTestClient(const std::string& name, const std::vector<std::string>& sources,
                   const std::vector<std::string>& sinks);
    ~JackTestClient();
    JackTestClient(const JackTestClient&) = delete;
    JackTestClient& operator=(const JackTestClient&) = delete;

    bool Ok() const { return client_ != nullptr; }
    // The server's period, in frames.
    uint32_t Period() const { return jack_get_buffer_size(client_); }
    // Full name ("client:port") of a source or sink.
    std::string SourceName(size_t i) const;
    // Gives source i another name the server knows it by, as ALSA's ports
    // have behind system:midi_capture_N.
    bool SetSourceAlias(size_t i, const std::string& alias);
    std::string SinkName(size_t i) const;

    // Waits until source or sink i is connected to some port (a message
    // queued before the connection takes effect goes nowhere).
    bool WaitSourceConnected(size_t i, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        return WaitConnected(sources_.at(i), timeout);
    }
    bool WaitSinkConnected(size_t i, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        return WaitConnected(sinks_.at(i), timeout);
    }

    // The frame time of the first cycle in which sink i's present
    // connection was in force (the server ran that cycle with it), or -1
    // while the server runs it unconnected.
    int64_t SinkJoinedAt(size_t i) const { return joinedAt_.at(i).load(); }

    // Whether a port of that full name exists on the server.
    bool PortExists(const std::string& fullName) const;
    // Waits until it does, or the time is up.
    bool WaitForPort(const std::string& fullName,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(15000)) const;
    // Whether the port of that full name is joined to any other port.
    bool PortJoined(const std::string& fullName) const;
    // The metadata value `key` of the port of that full name ("" without one).
    std::string PortProperty(const std::string& fullName, const char* key) const;
    // Joins two ports as a patchbay does; whether they are joined now.
    bool Connect(const std::string& source, const std::string& destination);
    // Asks the server for another period; whether it took it.
    bool SetPeriod(uint32_t frames);
    // The full names of the server's MIDI sources, in its order.
    std::vector<std::string> MidiSources() const;

    // Queues a short message (status in the low byte) on source i.
    void Send(size_t source, uint32_t message);
    // Queues short messages that go out together in one cycle.
    void SendAll(size_t source, const std::vector<uint32_t>& messages);
    // Queues a short message that goes out alone in a cycle, at `frame`
    // (below the period); SentFrames tells the server's frame time it went at.
    void SendAt(size_t source, uint32_t message, uint32_t frame);
    std::vector<uint32_t> SentFrames(size_t source);
    // Queues one event of up to 12 bytes, as some MIDI services deliver
    // several messages at once.
    void SendEvent(size_t source, const std::vector<uint8_t>& bytes);
    // Waits until sink i has received `count` messages in all, or the time is up.
    std::vector<uint32_t> Receive(size_t sink, size_t count,
                                  std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // The same, each message with the server's frame time it arrived at.
    struct Timed {
        uint32_t message;
        uint32_t frame;
    };
    std::vector<Timed> ReceiveTimed(size_t sink, size_t count,
                                    std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Cycles the server reported late so far.
    int Xruns() const { return xruns_.load(); }

private:
    struct Port;
    bool WaitConnected(const Port& port, std::chrono::milliseconds timeout) const;
    static int Process(jack_nframes_t frames, void* self);
    static int OnXrun(void* self);
    static void WriteSources(JackTestClient& self, jack_nframes_t frames);
    static void ReadSinks(JackTestClient& self, jack_nframes_t frames);

    struct Port {
        jack_port_t* port = nullptr;
        jack_ringbuffer_t* ring = nullptr;    // words to send, or (word, frame time) pairs received
        jack_ringbuffer_t* frames = nullptr;  // a source's frame times of the messages sent at a frame
        std::vector<Timed> received;          // test thread only
        bool joined = false;                  // a sink's, in the last cycle; process thread only
    };
    std::atomic<int> xruns_{0};
    std::vector<std::atomic<int64_t>> joinedAt_;  // by sink

    jack_client_t* client_ = nullptr;
    std::vector<Port> sources_;
    std::vector<Port> sinks_;
};

// The note-ons and note-offs among `messages`.
std::vector<uint32_t> NotesOnly(const std::vector<uint32_t>& messages);

// The position of `name` in a device list whose entry 0 is "no device"
// (so the result is the device number to select), or 0.
uint32_t DeviceNumber(const std::vector<std::string>& names, const std::string& name);

}  // namespace cadenzo::test
