// What a patchbay shows for the program's JACK ports: a pretty name
// ("Input 1", "Synth Out"), the order of the six ports, and a group each
// ("Inputs", "Outputs"). The ports' real names stay as they are, since
// sessions store connections by them. Main thread or the watch thread, once
// the ports are registered; a server without metadata simply shows the
// real names.
#pragma once

#include <array>
#include <string_view>

#include <jack/jack.h>

#include "midi/port_names.h"

namespace cadenzo {

// Per port, in kPortNames' order.
inline constexpr std::array<std::string_view, kPortNames.size()> kPortPrettyNames{
    "Input 1", "Input 2", "Input 3", "Synth Out", "Thru Out", "Control Out"};

void DescribePorts(jack_client_t* client, const std::array<jack_port_t*, kPortNames.size()>& ports);

}  // namespace cadenzo
