// How a note travels, from a key pressed on the keyboard at In1 to the
// synthesiser at SynthOut. Each input plays into its own callback, named
// beside the MIDI service (Services::inputs, engine/system_state.h).
//
// Under JACK, all on the process thread while the engine lock is free:
//   midi/jack/jack_client.cpp       JackClient::Process: the cycle's port buffers
//   midi/jack/process_cycle.cpp     RunCycle: the inputs' events in frame order; each
//                                   played in a send placement at its frame
//   midi/jack/input_bindings.h      the callback In1 is bound to
//   engine/input_callbacks.cpp      In1Callback: held keys noted, the input queue
//   engine/dispatcher.cpp           PlayOrWake, DispatchPending, ProcessInputEntry
//   engine/note_routing.cpp         NoteOnRouting: the layers that take the note
//   engine/layers.h, layer_notes.h  each layer's note, transposed, on its channel
//   midi/short_message.h            the message packed
//   engine/output.cpp               SendToSynth
//   midi/port_state.h, output_slot.cpp   the SynthOut port and its open handle
//   midi/jack/jack_ports.h          JackOutput::Send: at the frame the send
//                                   placement holds (midi/send_placement.h)
//   midi/jack/output_queue.cpp      WriteAt, in frame order
//   midi/jack/jack_port_buffer.h    JACK's own output buffer
// Where the engine lock is taken, In1Callback only queues the note and wakes
// the MIDI engine thread (engine/engine_thread.cpp), which plays it from
// engine/dispatcher.cpp on with the event's moment: JackOutput::Send queues
// it for the next cycle, which writes it at the same frame one period later.
//
// Under ALSA, all on the sequencer input thread while the engine lock is free:
//   midi/alsa/sequencer_input.cpp   the poll loop reads the event
//   midi/alsa/input_delivery.cpp    the started port's callback
//   midi/alsa/sequencer_event.cpp   the event decoded into short messages
//   engine/input_callbacks.cpp ... engine/output.cpp, midi/output_slot.cpp   as above
//   midi/alsa/alsa_backend.cpp      AlsaOutput::Send
//   midi/alsa/paced_output.cpp      at once while the receiver has room (else queued
//                                   for the sender thread, midi/alsa/output_sender.cpp)
//   midi/alsa/sequencer_event.cpp   encoded and written directly on the playing handle
// Where the engine lock is taken, the MIDI engine thread plays it as above.
//
// The input dispatcher. Whoever calls it holds the engine lock: the input
// callback that queued an entry while the engine was free, the MIDI engine
// thread when the input wake has woken it, the window thread before a key
// command and after each event it handled (so input that came first is
// played first, and input that came meanwhile is played at once).
#pragma once

#include <cstdint>

#include "engine/system_state.h"

namespace cadenzo {

// The hand-off of queued input to the dispatcher, as the monitor shows it.
inline constexpr uint32_t kHandOffMessage = 0x400;

// Any thread: a message of the program (an event of the message loop, or the
// hand-off), noted while the monitor watches the program's messages.
void NoteProgramMessage(SystemState& s, uint32_t messageId);

// Every entry queued so far, in the order queued, unless the dispatch is
// held (entries pushed meanwhile are taken in the same pass). While an
// output's buffer is more than three quarters full the rest stays queued
// and the engine thread takes it on a cycle later (InputState::Paced).
void DispatchPending(SystemState& s);

// The hand-off of queued input: the message noted, then DispatchPending.
void HandOff(SystemState& s);

// The input callbacks, once an entry is queued: when the dispatch is not
// held and the engine lock is free, the hand-off runs here and now, on the
// callback's own thread; otherwise the input wake calls the engine thread.
// Never waits for the lock.
void PlayOrWake(SystemState& s);

// Interprets one input queue entry (port tag in bits 24..31).
void ProcessInputEntry(SystemState& s, uint32_t entry);

}  // namespace cadenzo
