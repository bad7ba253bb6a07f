// In-process MIDI devices for tests and benchmarks: inputs that can be fed
// from any thread, outputs that record what they receive, failure injection
// for every result code the port manager knows, and devices (or the whole
// service) that can be unplugged and plugged in again.
//
// Device numbers in the test calls below (Feed, Sent, Unplug...) name the
// devices in the order they were built, whether listed or not; the back end's
// own interface numbers them by their place in the last listing, as a real
// MIDI service does.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/midi_backend.h"
#include "midi/port_names.h"

namespace cadenzo {

class VirtualMidiBackend final : public MidiBackend {
public:
    VirtualMidiBackend(std::vector<std::string> inputs, std::vector<std::string> outputs);
    ~VirtualMidiBackend() override;

    // Plays `m` into input device `device` as the MIDI service would deliver
    // it. Any thread. Returns false when the device is not open and started.
    bool Feed(uint32_t device, ShortMessage m, uint16_t kind = kMimData);

    // What output device `device` has received, in order.
    std::vector<ShortMessage> Sent(uint32_t device) const;
    void ClearSent();
    // How many messages output device `device` has received, recorded or not.
    uint64_t SentCount(uint32_t device) const;
    // With recording off, outputs only count what they receive (for
    // benchmarks, where keeping every message would dominate). On by default.
    void SetRecording(bool on);
    // Calls `tap` with every message output device `device` receives, on the
    // sending thread (for latency measurements). Set before the port opens.
    using OutputTap = void (*)(void* user, ShortMessage m);
    void SetOutputTap(uint32_t device, OutputTap tap, void* user);
    // Calls `tap` on the listing thread each time the devices are listed.
    using ListingTap = void (*)(void* user);
    void SetListingTap(ListingTap tap, void* user) {
        listingTap_ = tap;
        listingTapUser_ = user;
    }

    // The next open (input or output) or close returns `result` instead of
    // doing its work; queued in call order.
    void FailNextOpen(MidiResult result);
    void FailNextClose(MidiResult result);
    // The next `n` sends, to any output, are refused and counted in
    // LostMessages() of the port that sent them, as a real service's full
    // queue refuses them.
    void LoseNextSends(uint64_t n) { losses_.toLose.fetch_add(n); }
    uint64_t LostMessages(size_t port) const override {
        return port < losses_.lost.size() ? losses_.lost[port].load() : 0;
    }

    struct SendLosses {
        std::atomic<uint64_t> toLose{0};
        std::array<std::atomic<uint64_t>, kPortNames.size()> lost{};  // per port of the program
        // Whether this send from port `port` is one to lose (and counts it).
        bool Take(size_t port) {
            uint64_t n = toLose.load();
            while (n > 0 && !toLose.compare_exchange_weak(n, n - 1)) {
            }
            if (n == 0) return false;
            if (port < lost.size()) lost[port].fetch_add(1);
            return true;
        }
    };

    // The name the program gave the first port open on a device ("" when
    // closed). Several of its ports may share one device.
    std::string InputPortName(uint32_t device) const;
    std::string OutputPortName(uint32_t device) const;

    // A device leaves the lists, and a port open on it goes dead: it receives
    // and delivers nothing until the program closes it. Plugging it in again
    // lists it under the same name. Each signals DeviceChanges().
    void UnplugInput(uint32_t device);
    void PlugInput(uint32_t device);
    void UnplugOutput(uint32_t device);
    void PlugOutput(uint32_t device);
    // Input device `device` is listed as `name` from now on; a port open on
    // it stays open. Signals DeviceChanges().
    void RenameInput(uint32_t device, const std::string& name);
    // The whole service goes away (every list empty, every open port dead,
    // every open refused) and comes back with the devices it had.
    void StopService();
    void StartService();

    std::vector<std::string> InputNames() override;
    std::vector<std::string> OutputNames() override;
    MidiResult OpenInput(uint32_t device, const std::string& portName, MidiInputCallback callback, void* context,
                       std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult StartInput(MidiInputPort& port) override;
    MidiResult CloseInput(std::unique_ptr<MidiInputPort>& handle) override;
    MidiResult OpenOutput(uint32_t device, const std::string& portName,
                        std::unique_ptr<MidiOutputPort>& handle) override;
    MidiResult CloseOutput(std::unique_ptr<MidiOutputPort>& handle) override;
    std::optional<uint32_t> ListedPlace(const std::string& portName) override;
    // A device named "client:port" is port k of its client where k devices
    // of that client were built before it; other names have no number.
    std::optional<ClientPort> ClientPortOf(bool input, uint32_t device) const override;

    struct Device;
    struct InputDevice;
    struct OutputDevice;

private:
    MidiResult TakeFailure(std::deque<MidiResult>& failures);
    template <class D>
    void SetPresent(std::vector<std::unique_ptr<D>>& devices, uint32_t device, bool present);
    template <class D>
    std::vector<std::string> List(const std::vector<std::unique_ptr<D>>& devices, std::vector<size_t>& listed);
    // Opens the device listed at `device` last time as the program's port
    // `portName`; `ready` does the rest under the device's lock.
    template <class D>
    static std::optional<ClientPort> ClientPortIn(const std::vector<std::unique_ptr<D>>& devices, size_t built);
    template <class D, class Ready>
    MidiResult Claim(const std::vector<std::unique_ptr<D>>& devices, const std::vector<size_t>& listed, uint32_t device,
                   const std::string& portName, Ready ready);

    std::vector<std::unique_ptr<InputDevice>> inputs_;
    std::vector<std::unique_ptr<OutputDevice>> outputs_;
    // Which devices the last listing showed, by place: main thread only.
    std::vector<size_t> listedInputs_;
    std::vector<size_t> listedOutputs_;
    ListingTap listingTap_ = nullptr;
    void* listingTapUser_ = nullptr;
    std::atomic<bool> serviceUp_{true};
    std::atomic<bool> recording_{true};
    SendLosses losses_;
    mutable std::mutex failuresMutex_;
    std::deque<MidiResult> openFailures_;
    std::deque<MidiResult> closeFailures_;
};

}  // namespace cadenzo
