#include "session/nsm_client.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <lo/lo.h>

namespace cadenzo {

namespace {

// The largest datagram read; a longer one is cut and so fails to parse.
constexpr size_t kDatagramSize = 65536;

std::string Owned(char* text) {
    std::string owned = text ? text : "";
    std::free(text);
    return owned;
}

bool Loopback(const in_addr& address) { return (ntohl(address.s_addr) >> 24) == 127; }

// Whether `address` is one of this machine's own.
bool OwnAddress(const in_addr& address) {
    if (Loopback(address)) return true;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool own = false;
    for (const ifaddrs* a = list; a != nullptr && !own; a = a->ifa_next)
        own = a->ifa_addr != nullptr && a->ifa_addr->sa_family == AF_INET &&
              reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr == address.s_addr;
    freeifaddrs(list);
    return own;
}

std::optional<in_addr> Resolve(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return address;
}

}  // namespace

std::unique_ptr<NsmClient> NsmClient::Connect(const std::string& url, std::string& error) {
    if (lo_url_get_protocol_id(url.c_str()) != LO_UDP) {
        error = "the session manager's address \"" + url + "\" is not an OSC address over UDP";
        return nullptr;
    }
    const std::string host = Owned(lo_url_get_hostname(url.c_str()));
    const std::string portText = Owned(lo_url_get_port(url.c_str()));
    char* end = nullptr;
    const long port = std::strtol(portText.c_str(), &end, 10);
    const std::optional<in_addr> address = Resolve(host);
    if (portText.empty() || *end != '\0' || port <= 0 || port > 65535 || !address) {
        error = "the session manager's address \"" + url + "\" names no reachable host and port";
        return nullptr;
    }
    const bool local = OwnAddress(*address);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<uint16_t>(port));
    server.sin_addr.s_addr = local ? htonl(INADDR_LOOPBACK) : address->s_addr;
    sockaddr_in own{};
    own.sin_family = AF_INET;
    own.sin_addr.s_addr = htonl(local ? INADDR_LOOPBACK : INADDR_ANY);
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&own), sizeof own) != 0) {
        error = std::string("cannot open a socket for the session manager: ") + std::strerror(errno);
        if (fd >= 0) close(fd);
        return nullptr;
    }
    return std::unique_ptr<NsmClient>(new NsmClient(fd, server, local));
}

NsmClient::NsmClient(int socket, const sockaddr_in& server, bool loopback)
    : socket_(socket), server_(server), loopback_(loopback) {}

NsmClient::~NsmClient() { close(socket_); }

bool NsmClient::Send(const std::vector<uint8_t>& datagram) {
    return sendto(socket_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&server_),
                  sizeof server_) == static_cast<ssize_t>(datagram.size());
}

std::optional<NsmClient::Received> NsmClient::Receive(std::chrono::milliseconds timeout) {
    pollfd watch{socket_, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(timeout.count())) <= 0) return std::nullopt;
    std::vector<uint8_t> datagram(kDatagramSize);
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    const ssize_t got =
        recvfrom(socket_, datagram.data(), datagram.size(), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (got < 0) return std::nullopt;
    Received received;
    if (fromSize != sizeof from || from.sin_family != AF_INET || from.sin_port != server_.sin_port ||
        from.sin_addr.s_addr != server_.sin_addr.s_addr) {
        received.refused = SessionRefusal::Foreign;
        return received;
    }
    if (static_cast<size_t>(got) > datagram.size()) {
        received.refused = SessionRefusal::Malformed;
        return received;
    }
    NsmMessage message;
    switch (ParseNsmMessage(datagram.data(), static_cast<size_t>(got), message)) {
    case NsmParse::Accepted:
        received.message = std::move(message);
        break;
    case NsmParse::Malformed:
        received.refused = SessionRefusal::Malformed;
        break;
    case NsmParse::Unknown:
        received.refused = SessionRefusal::Unknown;
        break;
    }
    return received;
}

std::optional<NsmMessage> NsmClient::Await(NsmCommand wanted, std::chrono::milliseconds timeout,
                                           std::vector<SessionRefusal>& refused) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (auto left = timeout; left.count() > 0;
         left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())) {
        const std::optional<Received> received = Receive(left);
        if (!received) break;
        if (!received->message) {
            refused.push_back(received->refused);
            continue;
        }
        const NsmCommand command = received->message->command;
        if (command == wanted || (wanted == NsmCommand::AnnounceReply && command == NsmCommand::AnnounceError))
            return received->message;
    }
    return std::nullopt;
}

std::optional<JoinedSession> JoinSession(const std::string& url, const std::string& application,
                                         const std::string& executable, std::string& note,
                                         std::vector<SessionRefusal>& refused) {
    // How long the server may take to answer the announce, and then to open.
    constexpr std::chrono::seconds kAnswerTime{5};
    constexpr std::chrono::seconds kOpenTime{10};
    JoinedSession joined;
    joined.client = NsmClient::Connect(url, note);
    if (!joined.client) return std::nullopt;
    if (!joined.client->Send(BuildAnnounce(application, ":dirty:optional-gui:", executable, static_cast<int32_t>(getpid())))) {
        note = "the session manager at " + url + " cannot be reached";
        return std::nullopt;
    }
    const std::optional<NsmMessage> answer = joined.client->Await(NsmCommand::AnnounceReply, kAnswerTime, refused);
    if (!answer || answer->command == NsmCommand::AnnounceError) {
        note = answer ? "the session manager refused the program: " + answer->text
                      : "the session manager at " + url + " did not answer";
        return std::nullopt;
    }
    std::optional<NsmMessage> open = joined.client->Await(NsmCommand::Open, kOpenTime, refused);
    if (!open) {
        note = "the session manager did not open a session for the program";
        return std::nullopt;
    }
    joined.open = std::move(*open);
    return joined;
}

}  // namespace cadenzo
