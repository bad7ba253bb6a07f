#include "session/nsm_message.h"

#include <cstring>
#include <memory>
#include <string_view>

#include <lo/lo.h>

namespace cadenzo {

namespace {

struct MessageFree {
    void operator()(lo_message m) const { lo_message_free(m); }
};
using Message = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

// The server's control messages without arguments.
struct Notice {
    std::string_view path;
    NsmCommand command;
};
constexpr Notice kNotices[] = {
    {"/nsm/client/save", NsmCommand::Save},
    {"/nsm/client/show_optional_gui", NsmCommand::ShowGui},
    {"/nsm/client/hide_optional_gui", NsmCommand::HideGui},
    {"/nsm/client/session_is_loaded", NsmCommand::SessionLoaded},
};

constexpr std::string_view kAnnouncePath = "/nsm/server/announce";

// The arguments lie at four-byte steps in the datagram, where liblo's
// eight-byte argument union may not be read as such: read their bytes.
std::string Text(const lo_arg* argument) { return reinterpret_cast<const char*>(argument); }
int32_t Integer(const lo_arg* argument) {
    int32_t value = 0;
    std::memcpy(&value, argument, sizeof value);
    return value;
}

NsmParse Typed(std::string_view types, std::string_view wanted) {
    return types == wanted ? NsmParse::Accepted : NsmParse::Malformed;
}

NsmParse Reply(std::string_view types, lo_arg** argv, NsmMessage& message) {
    // "/reply s:path s:message ...": the announce's reply has two strings more.
    if (types.empty() || types.find_first_not_of('s') != std::string_view::npos) return NsmParse::Malformed;
    message.path = Text(argv[0]);
    const bool announce = message.path == kAnnouncePath;
    if (announce && types.size() < 2) return NsmParse::Malformed;
    message.command = announce ? NsmCommand::AnnounceReply : NsmCommand::OtherReply;
    if (types.size() > 1) message.text = Text(argv[1]);
    return NsmParse::Accepted;
}

NsmParse Error(std::string_view types, lo_arg** argv, NsmMessage& message) {
    if (Typed(types, "sis") != NsmParse::Accepted) return NsmParse::Malformed;
    message.path = Text(argv[0]);
    message.code = Integer(argv[1]);
    message.text = Text(argv[2]);
    message.command = message.path == kAnnouncePath ? NsmCommand::AnnounceError : NsmCommand::OtherReply;
    return NsmParse::Accepted;
}

NsmParse Open(std::string_view types, lo_arg** argv, NsmMessage& message) {
    if (Typed(types, "sss") != NsmParse::Accepted) return NsmParse::Malformed;
    message.command = NsmCommand::Open;
    message.path = Text(argv[0]);
    message.displayName = Text(argv[1]);
    message.clientId = Text(argv[2]);
    return NsmParse::Accepted;
}

std::vector<uint8_t> Serialise(lo_message m, const std::string& path) {
    std::vector<uint8_t> bytes(lo_message_length(m, path.c_str()));
    size_t size = bytes.size();
    lo_message_serialise(m, path.c_str(), bytes.data(), &size);
    lo_message_free(m);
    bytes.resize(size);
    return bytes;
}

}  // namespace

NsmParse ParseNsmMessage(const uint8_t* data, size_t size, NsmMessage& message) {
    message = NsmMessage{};
    // liblo reads the buffer only, but takes it without const.
    std::vector<uint8_t> copy(data, data + size);
    int result = 0;
    const Message m(copy.empty() ? nullptr : lo_message_deserialise(copy.data(), copy.size(), &result));
    if (!m) return NsmParse::Malformed;
    // The path is the datagram's first string, checked by the parse.
    const std::string_view path(reinterpret_cast<const char*>(copy.data()));
    const char* rawTypes = lo_message_get_types(m.get());
    const std::string_view types = rawTypes ? rawTypes : "";
    lo_arg** argv = lo_message_get_argv(m.get());
    if (path == "/reply") return Reply(types, argv, message);
    if (path == "/error") return Error(types, argv, message);
    if (path == "/nsm/client/open") return Open(types, argv, message);
    for (const Notice& notice : kNotices) {
        if (path != notice.path) continue;
        message.command = notice.command;
        return Typed(types, "");
    }
    return NsmParse::Unknown;
}

std::vector<uint8_t> BuildAnnounce(const std::string& application, const std::string& capabilities,
                                   const std::string& executable, int32_t pid) {
    lo_message m = lo_message_new();
    lo_message_add_string(m, application.c_str());
    lo_message_add_string(m, capabilities.c_str());
    lo_message_add_string(m, executable.c_str());
    lo_message_add_int32(m, 1);  // the protocol's version, 1.1
    lo_message_add_int32(m, 1);
    lo_message_add_int32(m, pid);
    return Serialise(m, std::string(kAnnouncePath));
}

std::vector<uint8_t> BuildReply(const std::string& repliedPath, const std::string& message) {
    lo_message m = lo_message_new();
    lo_message_add_string(m, repliedPath.c_str());
    lo_message_add_string(m, message.c_str());
    return Serialise(m, "/reply");
}

std::vector<uint8_t> BuildError(const std::string& repliedPath, int32_t code, const std::string& message) {
    lo_message m = lo_message_new();
    lo_message_add_string(m, repliedPath.c_str());
    lo_message_add_int32(m, code);
    lo_message_add_string(m, message.c_str());
    return Serialise(m, "/error");
}

std::vector<uint8_t> BuildNotice(const std::string& path) { return Serialise(lo_message_new(), path); }

}  // namespace cadenzo
