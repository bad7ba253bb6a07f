// A datagram on the session manager's socket, as the program parses it: the
// fuzzer's bytes are the datagram. A reply or error taken from it, built
// again as the program builds its own and parsed back, says the same.
#include <cstdio>
#include <vector>

#include "fuzz/fuzz_folder.h"
#include "session/nsm_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    // Exactly the datagram's bytes, so that a read past them is caught.
    const std::vector<uint8_t> datagram(data, data + size);
    NsmMessage message;
    if (ParseNsmMessage(datagram.data(), datagram.size(), message) != NsmParse::Accepted) return 0;
    const bool reply = message.command == NsmCommand::AnnounceReply || message.command == NsmCommand::OtherReply;
    if (!reply || message.path.find('\0') != std::string::npos) return 0;
    const std::vector<uint8_t> again = message.code != 0 || message.command == NsmCommand::AnnounceError
                                           ? BuildError(message.path, message.code, message.text)
                                           : BuildReply(message.path, message.text);
    NsmMessage back;
    Require(ParseNsmMessage(again.data(), again.size(), back) == NsmParse::Accepted, "a built reply does not parse");
    Require(back.path == message.path && back.text == message.text && back.code == message.code,
            "a reply built again says something else");
    return 0;
}
