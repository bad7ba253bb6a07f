#include "engine/transmission.h"

#include <algorithm>
#include <initializer_list>

#include "engine/bend.h"
#include "engine/grid_cursor.h"
#include "engine/output.h"
#include "engine/pedals.h"
#include "engine/ring_across.h"
#include "services/display.h"

namespace cadenzo {

namespace {

constexpr uint32_t kNoteOn = 0x90;
constexpr uint32_t kController = 0xB0;
constexpr uint8_t kAllNotesOff = 123;
constexpr uint8_t kFirstEqNote = 0;
constexpr uint8_t kFirstEffectNote = 32;
constexpr uint8_t kMasterVolumeNote = 127;

// A stored value as a data byte: a larger byte, only in a file written
// elsewhere, counts as 127 so that no status byte is sent.
uint8_t DataByte(uint8_t value) { return std::min<uint8_t>(value, 127); }

// Control-port parameters are note-ons on channel 0: the note picks the
// parameter, the velocity (0 included) carries its value.
void SendControlNote(SystemState& s, uint8_t note, uint8_t value) {
    SendToControl(s, PackShortMessage(kNoteOn, 0, note, DataByte(value)));
}

void SynthCc(SystemState& s, uint32_t c, uint8_t controller, uint8_t value) {
    SendToSynth(s, PackShortMessage(kController, c, controller, DataByte(value)));
}

void ControlCc(SystemState& s, uint32_t c, uint8_t controller, uint8_t value) {
    SendToControl(s, PackShortMessage(kController, c, controller, DataByte(value)));
}

void SendOutputLevels(SystemState& s, uint32_t c, uint8_t out12, uint8_t out34, uint8_t out56) {
    ControlCc(s, c, 100, out12);
    ControlCc(s, c, 101, out34);
    ControlCc(s, c, 102, out56);
}

// Registered parameter 0, the pitch-bend sensitivity, in whole semitones.
void SendBendSensitivity(SystemState& s, uint32_t c, uint8_t semitones) {
    SynthCc(s, c, 101, 0);
    SynthCc(s, c, 100, 0);
    SynthCc(s, c, 6, semitones);
}

// The thirty equaliser bands, then the five effect levels.
void SendEqAndEffects(SystemState& s, const Mix& mix, const std::array<uint8_t, 5>& effects) {
    uint8_t note = kFirstEqNote;
    for (const auto* eq : {&mix.EQ12, &mix.EQ34, &mix.EQ56})
        for (uint8_t band : *eq) SendControlNote(s, note++, band);
    for (size_t k = 0; k < effects.size(); ++k)
        SendControlNote(s, static_cast<uint8_t>(kFirstEffectNote + k), effects[k]);
}

void SendCentredBend(SystemState& s, uint32_t c) { SendToSynth(s, PackPitchBend(c, kBendCentre)); }

// Copies the named fields of `now` into the shadow when any of them differs;
// true when one did.
bool UpdateShadow(std::array<uint8_t, kShadowBytes>& shadow, const std::array<uint8_t, kShadowBytes>& now,
                  std::initializer_list<ShadowByte> fields) {
    bool changed = false;
    for (ShadowByte f : fields) changed |= shadow[f] != now[f];
    if (changed)
        for (ShadowByte f : fields) shadow[f] = now[f];
    return changed;
}

std::array<uint8_t, kShadowBytes> ShadowOf(const ChannelRecord& r) {
    return {r.In1Channel, r.In2Channel, r.KL, r.KH, r.VL, r.VH, r.Trs, r.AT, r.MD, r.Scl, r.Trc};
}

// The reverb and chorus sends on the synthesiser, where the setting says so.
void SendEffectSendsToSynth(SystemState& s, uint32_t c, uint8_t reverb, uint8_t chorus) {
    if (EffectSendAlsoToSynth(s, 91)) SynthCc(s, c, 91, reverb);
    if (EffectSendAlsoToSynth(s, 93)) SynthCc(s, c, 93, chorus);
}

void SendDrumChannelToControl(SystemState& s, uint32_t c) {
    const OptionsRecord& o = s.Options;
    ControlCc(s, c, 91, o.DrumReverb);
    ControlCc(s, c, 93, o.DrumChorus);
    ControlCc(s, c, 92, o.DrumDelay);
    SendOutputLevels(s, c, o.DrumOut12, o.DrumOut34, o.DrumOut56);
}

// All Notes Off, and the pedals held there up, which would keep the notes.
void CutChannel(SystemState& s, int c) {
    SynthCc(s, static_cast<uint32_t>(c), kAllNotesOff, 0);
    ReleaseHeldPedals(s, c);
}

// Cuts notes and bends where the routing-relevant fields changed, and
// re-centres the wheel term.
void ResetChangedChannel(SystemState& s, int c) {
    const auto ch = static_cast<uint32_t>(c);
    const ChannelRecord& layer = s.Bank.WorkingMix.Channels[c];
    ChannelPerformance& p = s.Performance.Channels[c];
    auto& shadow = s.Transmission.SentShadow[c];
    const auto before = shadow;
    const auto now = ShadowOf(layer);

    // A mono layer forgets its held keys with its notes: a key released
    // outside the new zone would otherwise stay held and be struck again.
    if (UpdateShadow(shadow, now,
                     {ShadowIn1Channel, ShadowIn2Channel, ShadowKL, ShadowKH, ShadowVL, ShadowVH, ShadowTrs})) {
        if (!CarryAcrossChange(s, c, before)) CutChannel(s, c);
        if (layer.MD != 0) p.HeldNoteCount = 0;
    }
    if (UpdateShadow(shadow, now, {ShadowAT, ShadowScl})) {
        SendCentredBend(s, ch);
        SendToSynth(s, PackShortMessage(0xD0, ch, 0, 0));
    }
    if (UpdateShadow(shadow, now, {ShadowMD})) {
        CutChannel(s, c);
        if (layer.MD != 0) {
            p.HeldNoteCount = 0;
        } else {
            UpdateGlide(p, [](GlideSet g) {
                g.GlideCurrent = g.GlideTarget = kBendCentre;
                return g;
            });
        }
        if (layer.MD <= 1) SendCentredBend(s, ch);
    }
    p.WheelBend.store(ScaledWheel(kBendCentre, s.Bank.WorkingMix.BendRange), std::memory_order_relaxed);
    if (UpdateShadow(shadow, now, {ShadowTrc})) {
        CutChannel(s, c);
        if (layer.MD != 0) p.HeldNoteCount = 0;
    }
}

// User controller k carries its value on controller u - 1 when the options
// name one (u = 1..128); 0 sends nothing.
void SendUserControllers(SystemState& s, uint32_t c, const ChannelRecord& layer) {
    const OptionsRecord& o = s.Options;
    const std::array<uint8_t, 4> numbers{o.UserCC1, o.UserCC2, o.UserCC3, o.UserCC4};
    const std::array<uint8_t, 4> values{layer.Us1, layer.Us2, layer.Us3, layer.Us4};
    for (size_t k = 0; k < numbers.size(); ++k)
        if (numbers[k] != 0 && numbers[k] <= 128) SynthCc(s, c, static_cast<uint8_t>(numbers[k] - 1), values[k]);
}

// Which outputs a transmission reaches.
struct Outputs {
    bool synth = true;
    bool control = true;
};

// A layer's effect sends and output levels, on the DSP control port.
void SendLayerToControl(SystemState& s, uint32_t c, const ChannelRecord& layer) {
    ControlCc(s, c, 91, layer.Rev);
    ControlCc(s, c, 93, layer.Chr);
    ControlCc(s, c, 92, layer.Del);
    SendOutputLevels(s, c, layer.Out12, layer.Out34, layer.Out56);
}

// A layer's sound, levels and tuning, on the synthesiser.
void SendLayerToSynth(SystemState& s, uint32_t c, const ChannelRecord& layer) {
    if (s.Options.ChangeBlendsWithBanks != 0) {
        SynthCc(s, c, 0, layer.Lsb);
        SynthCc(s, c, 32, layer.Msb);
    }
    SendToSynth(s, PackShortMessage(0xC0, c, DataByte(layer.PG), 0));
    SynthCc(s, c, 7, layer.Vol);
    SynthCc(s, c, 10, layer.Pan);
    SendEffectSendsToSynth(s, c, layer.Rev, layer.Chr);
    SendUserControllers(s, c, layer);
    // Fine tune, registered parameter 1: 128 is the note's own pitch.
    const bool up = layer.Tun >= 128;
    SynthCc(s, c, 100, 1);
    SynthCc(s, c, 101, 0);
    SynthCc(s, c, 6, up ? 64 : 63);
    SynthCc(s, c, 38, static_cast<uint8_t>(up ? layer.Tun - 128 : layer.Tun));
    SendBendSensitivity(s, c, 16);
}

void TransmitGmMix(SystemState& s, Outputs to) {
    const Mix& gm = s.Bank.Bank.Slots[kGmSlot];
    for (int c = 0; c < kChannels; ++c) {
        const ChannelRecord& r = gm.Channels[c];
        const auto ch = static_cast<uint32_t>(c);
        if (to.control) SendOutputLevels(s, ch, r.Out12, r.Out34, r.Out56);
        if (to.synth) SendBendSensitivity(s, ch, 2);
    }
    if (to.control) SendEqAndEffects(s, gm, s.Options.GmEffectLevels);
}

void TransmitMixTo(SystemState& s, Outputs to) {
    if (s.Bank.GmMode.load(std::memory_order_relaxed)) {
        TransmitGmMix(s, to);
        return;
    }
    const Mix& mix = s.Bank.WorkingMix;
    const OptionsRecord& o = s.Options;
    for (int c = 0; c < kChannels; ++c) {
        const auto ch = static_cast<uint32_t>(c);
        if (o.UseDrumMode != 0 && o.DrumOutChannel == c) {
            if (to.synth) SendEffectSendsToSynth(s, ch, o.DrumReverb, o.DrumChorus);
            if (to.control) SendDrumChannelToControl(s, ch);
            continue;
        }
        if (to.synth) ResetChangedChannel(s, c);
        const ChannelRecord& layer = mix.Channels[c];
        if (layer.In1Channel == 0 && layer.In2Channel == 0) continue;
        if (to.synth) SendLayerToSynth(s, ch, layer);
        if (to.control) SendLayerToControl(s, ch, layer);
    }
    if (to.control) SendEqAndEffects(s, mix, o.EffectLevels);
}

void SendMasterVolumeTo(SystemState& s, Outputs to) {
    const uint8_t volume = s.Transmission.MasterVolume;
    s.Io.display->SetMasterVolume(volume);
    if (to.control) SendControlNote(s, kMasterVolumeNote, volume);
    if (to.synth && ReadShared(s.Transmission.EffectSendsToSynth) != 0) SendToSynth(s, PackMasterVolume(volume));
}

}  // namespace

void SendOutputMix(SystemState& s) {
    SendControlNote(s, 30, s.Options.Mix34Level);
    SendControlNote(s, 31, s.Options.Mix56Level);
}

void TransmitMix(SystemState& s) { TransmitMixTo(s, {}); }

void SendMasterVolume(SystemState& s) { SendMasterVolumeTo(s, {}); }

void ApplyMasterTranspose(SystemState& s) {
    s.Io.display->SetMasterTranspose(s.Performance.MasterTranspose);
    for (uint32_t c = 0; c < kChannels; ++c) SynthCc(s, c, kAllNotesOff, 0);
}

void SendStartUpSet(SystemState& s) {
    SendOutputMix(s);
    TransmitMix(s);
    SendMasterVolume(s);
    ApplyMasterTranspose(s);
}

void ResendStartUpSet(SystemState& s, bool toSynth, bool toControl) {
    if (toControl) SendOutputMix(s);
    if (toSynth) s.Transmission.SentShadow = {};
    TransmitMixTo(s, {toSynth, toControl});
    if (toSynth || toControl) SendMasterVolumeTo(s, {toSynth, toControl});
    if (toSynth) ApplyMasterTranspose(s);
}

void ResetAllChannels(SystemState& s) {
    for (uint8_t c = 0; c < kChannels; ++c) {
        if (s.Bank.WorkingMix.Channels[c].MD != 0) s.Performance.Channels[c].HeldNoteCount = 0;
        // All notes off, then all sounds off, then the rest of the silencing set.
        const auto silencing = SilencingMessages(c);
        SendToSynth(s, silencing[0]);
        SynthCc(s, c, 120, 0);
        for (size_t k = 1; k < silencing.size(); ++k) SendToSynth(s, silencing[k]);
    }
}

}  // namespace cadenzo
