#include "midi/jack/port_metadata.h"

#include <string>

#include <jack/metadata.h>

namespace cadenzo {

namespace {

constexpr const char* kIntType = "http://www.w3.org/2001/XMLSchema#int";

void Describe(jack_client_t* client, jack_port_t* port, const char* key, const std::string& value, const char* type) {
    // Best effort: a server that keeps no metadata refuses, and the port
    // is shown by its real name.
    static_cast<void>(jack_set_property(client, jack_port_uuid(port), key, value.c_str(), type));
}

}  // namespace

void DescribePorts(jack_client_t* client, const std::array<jack_port_t*, kPortNames.size()>& ports) {
    for (size_t i = 0; i < ports.size(); ++i) {
        if (ports[i] == nullptr) continue;
        Describe(client, ports[i], JACK_METADATA_PRETTY_NAME, std::string(kPortPrettyNames[i]), nullptr);
        Describe(client, ports[i], JACK_METADATA_ORDER, std::to_string(i + 1), kIntType);
        Describe(client, ports[i], JACK_METADATA_PORT_GROUP, i < kInputPortCount ? "Inputs" : "Outputs", nullptr);
    }
}

}  // namespace cadenzo
