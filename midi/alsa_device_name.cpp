#include "midi/alsa_device_name.h"

#include <algorithm>
#include <cctype>

namespace cadenzo {

namespace {

bool Number(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

std::string AlsaDeviceName(const std::string& listed) {
    const size_t space = listed.rfind(' ');
    if (space == std::string::npos || space == 0) return listed;
    const std::string_view address = std::string_view(listed).substr(space + 1);
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos || !Number(address.substr(0, colon)) || !Number(address.substr(colon + 1)))
        return listed;
    return listed.substr(0, space);
}

}  // namespace cadenzo
