// The playing path allocates nothing: a counting operator new for this whole
// test program, and the routed messages, the glide ticks, the mix
// transmissions and the JACK process cycle counted between two readings of
// it. The process cycle also takes no lock: a counting pthread_mutex_lock
// (outside the thread checker, which has its own).
#include <atomic>
#include <cstdlib>
#include <dlfcn.h>
#include <new>
#include <pthread.h>
#include <thread>

#include <gtest/gtest.h>

#include "engine/glide.h"
#include "engine/input_callbacks.h"
#include "engine/messages.h"
#include "engine/transmission.h"
#include "midi/alsa/input_delivery.h"
#include "midi/jack/jack_ports.h"
#include "midi/jack/process_cycle.h"
#include "support/fake_cycle_buffer.h"
#include "support/engine_rig.h"
#include "support/recorders.h"
#include "ui/monitor.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

#if defined(__SANITIZE_THREAD__)
#define CADENZO_COUNTS_LOCKS 0
#else
#define CADENZO_COUNTS_LOCKS 1
namespace {
thread_local bool tCountLocks = false;
std::atomic<long> locks{0};
}  // namespace

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static const auto next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (tCountLocks) locks.fetch_add(1, std::memory_order_relaxed);
    return next(mutex);
}
#endif

namespace cadenzo {
namespace {

using namespace test;

class NoAllocation : public ::testing::Test {
protected:
    NoAllocation() {
        rig.s.Io.display = &quiet;
        rig.midi.SetRecording(false);
        for (int c = 0; c < 16; ++c) {
            ChannelRecord& layer = Listen(rig.s.Bank.WorkingMix.Channels[c], 17);
            layer.MD = static_cast<uint8_t>(c % 4);  // every voice mode
            layer.Scl = static_cast<uint8_t>(c % 2);
            layer.Trc = static_cast<uint8_t>(c % 3 == 0);
            layer.AT = static_cast<uint8_t>(c % 5 == 0);
        }
        ToggleMonitor(rig.s);  // the monitor pane shows and watches the input
        rig.s.Options.MonitorSource = kMonitorIn1;
    }
    // Plays a phrase with every kind of message the playing inputs route.
    void PlayPhrase(int k) {
        const int note = 36 + k % 60;
        rig.Play(1, On(k % 16, note, 1 + k % 127));
        rig.Play(2, PackShortMessage(0xB0, static_cast<uint32_t>(k % 16), 1, static_cast<uint32_t>(k % 128)));
        rig.Play(1, Bend(k % 16, (k * 97) % 16384));
        rig.Play(1, PackShortMessage(0xD0, static_cast<uint32_t>(k % 16), static_cast<uint32_t>(k % 128), 0));
        rig.Play(1, PackShortMessage(0xA0, static_cast<uint32_t>(k % 16), static_cast<uint32_t>(note), 9));
        rig.Play(2, Off(k % 16, note));
    }
    long AllocationsDuring(auto work) {
        const long before = allocations.load();
        work();
        return allocations.load() - before;
    }
    SilentDisplay quiet;
    EngineRig rig;
};

TEST_F(NoAllocation, RoutedMessagesGlideTicksAndTransmissions) {
    PlayPhrase(0);  // anything made once, on first use, is made here
    GlideTick(&rig.s);
    TransmitMix(rig.s);
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int k = 0; k < 2000; ++k) PlayPhrase(k);
              }),
              0)
        << "per routed message";
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int k = 0; k < 2000; ++k) GlideTick(&rig.s);
              }),
              0)
        << "per glide tick";
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int p = 0; p < 128; ++p) rig.Play(1, PackShortMessage(0xC0, 0, static_cast<uint32_t>(p), 0));
                  for (int k = 0; k < 100; ++k) TransmitMix(rig.s);
              }),
              0)
        << "per mix change and transmission";

    rig.s.RingAcross.Enabled = 1;  // a held key and the pedal carried across each change
    rig.s.Bank.Bank.Slots[1].Channels[0].In1Channel = 1;
    EXPECT_EQ(AllocationsDuring([&] {
                  rig.Play(1, On(0, 60, 90));
                  rig.Play(1, PackShortMessage(0xB0, 0, 64, 127));
                  for (int p = 0; p < 100; ++p) rig.Play(1, PackShortMessage(0xC0, 0, static_cast<uint32_t>(p % 2), 0));
                  rig.Play(1, Off(0, 60));
                  rig.Play(1, PackShortMessage(0xB0, 0, 64, 0));
              }),
              0)
        << "per mix change that carries notes";

    ParseSetList("5 Opening\n9\n2 Encore\n", rig.s.Songs);
    rig.s.Footswitch.NextController = 80;
    rig.s.Footswitch.PreviousController = 81;
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int k = 0; k < 100; ++k) {
                      const uint32_t controller = k % 8 < 4 ? 80 : 81;
                      rig.Play(2, PackShortMessage(0xB0, 0, controller, 127));
                      rig.Play(2, PackShortMessage(0xB0, 0, controller, 0));
                  }
              }),
              0)
        << "per footswitch step through the set list";
}

TEST_F(NoAllocation, SequencerEventsDecodedIntoTheInputCallback) {
    InputDelivery delivery;
    delivery.Start(0, &In1Callback, &rig.s);
    const auto play = [&](int k) {
        snd_seq_event_t e{};
        snd_seq_ev_set_noteon(&e, k % 16, 36 + k % 60, 1 + k % 127);
        delivery.Handle(0, e);
        e.type = SND_SEQ_EVENT_NONREGPARAM;  // four controller messages
        e.data.control = {static_cast<unsigned char>(k % 16), {}, static_cast<unsigned>(k), k * 3};
        delivery.Handle(0, e);
        snd_seq_ev_set_noteoff(&e, k % 16, 36 + k % 60, 0);
        delivery.Handle(0, e);
        rig.Dispatch();
    };
    play(0);
    EXPECT_EQ(AllocationsDuring([&] {
                  for (int k = 0; k < 2000; ++k) play(k);
              }),
              0)
        << "per sequencer event";
    delivery.Silence(0);
}

// The process callback's own work, on fake port buffers: the inputs played
// through the real input callback, what they cause written at their frames,
// the glide ticked among them, messages from other threads placed, a buffer
// overflowing into the carry.
TEST_F(NoAllocation, AJackProcessCycle) {
    auto queues = std::make_unique<std::array<OutputQueue, kJackOutputCount>>();
    InputBindings bindings;
    bindings.Bind(0, &In1Callback, &rig.s);
    bindings.Start(0);
    bindings.SetTick({&GlideTick, &rig.s, &GlideResting});  // the glide, ticked in the cycles' frames
    std::unique_ptr<MidiOutputPort> virtualSynth = rig.s.Ports.SynthOut.Detach();
    rig.s.Ports.SynthOut.Attach(std::make_unique<JackOutput>(0, (*queues)[0]), 1);
    std::array<test::FakeCycleBuffer, 3> in;
    std::array<test::FakeCycleBuffer, 3> out;
    in[0].Add(3, {0x90, 60, 100, 0xB0, 1, 64});
    in[0].Add(9, {0xE0, 0, 70, 0xD0, 50});
    in[0].Add(17, {0xF0, 1, 2, 3, 0xF7, 0xC0, 5});  // a mix change sends more than a buffer holds
    in[0].Add(40, {0x80, 60, 0});
    const auto cycle = [&](uint64_t k) {
        for (auto& o : out) o = test::FakeCycleBuffer();
        rig.s.Ports.SynthOut.Send(0x0100E0);  // as from another thread: queued
#if CADENZO_COUNTS_LOCKS
        tCountLocks = true;
#endif
        RunCycle({&in[0], &in[1], &in[2]}, {&out[0], &out[1], &out[2]}, bindings, *queues,
                 {64, 1000 * (k + 1), 1000 * k, 48000});
#if CADENZO_COUNTS_LOCKS
        tCountLocks = false;
#endif
    };
    cycle(0);
    // Another thread sends all the while, as the window and the engine
    // thread do: the cycle never waits for it.
    std::atomic<bool> sending{true};
    std::thread sender([&] {
        while (sending.load(std::memory_order_relaxed)) rig.s.Ports.SynthOut.Send(0x0200E1);
    });
    EXPECT_EQ(AllocationsDuring([&] {
                  for (uint64_t k = 1; k < 500; ++k) cycle(k);
              }),
              0)
        << "per process cycle";
#if CADENZO_COUNTS_LOCKS
    EXPECT_EQ(locks.load(), 0) << "mutexes locked by the process cycle";
#endif
    sending = false;
    sender.join();
    rig.s.Ports.SynthOut.Attach(std::move(virtualSynth), 1);
}

}  // namespace
}  // namespace cadenzo
