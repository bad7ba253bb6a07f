// The messages of the session manager's protocol that the program reads and
// writes, as plain records: one received datagram is parsed into a
// NsmMessage, and what the program sends is built as the datagram's bytes.
// Plain functions, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cadenzo {

enum class NsmCommand {
    AnnounceReply,   // the server took the announce: the program is under a session now
    AnnounceError,   // the server refused it
    Open,            // folder, display name, client id
    Save,
    ShowGui,
    HideGui,
    SessionLoaded,
    OtherReply,      // a /reply or /error to something else the program sent
};

struct NsmMessage {
    NsmCommand command = NsmCommand::OtherReply;
    std::string path;         // Open: the folder; replies: the path replied to
    std::string displayName;  // Open
    std::string clientId;     // Open
    std::string text;         // replies and errors: the server's message
    int32_t code = 0;         // errors
};

enum class NsmParse {
    Accepted,   // `message` holds it
    Malformed,  // not an OSC message, truncated, or arguments of the wrong types
    Unknown,    // a well-formed message the program has no use for
};

// Parses one datagram. Never reads past `size`.
NsmParse ParseNsmMessage(const uint8_t* data, size_t size, NsmMessage& message);

// The error codes the program answers with.
inline constexpr int32_t kNsmErrGeneral = -1;
inline constexpr int32_t kNsmErrBadProject = -9;
inline constexpr int32_t kNsmErrCreateFailed = -10;

// The datagrams the program sends.
std::vector<uint8_t> BuildAnnounce(const std::string& application, const std::string& capabilities,
                                   const std::string& executable, int32_t pid);
std::vector<uint8_t> BuildReply(const std::string& repliedPath, const std::string& message);
std::vector<uint8_t> BuildError(const std::string& repliedPath, int32_t code, const std::string& message);
// A message without arguments ("/nsm/client/is_dirty", "/nsm/client/gui_is_shown").
std::vector<uint8_t> BuildNotice(const std::string& path);

}  // namespace cadenzo
