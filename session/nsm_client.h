// The program's link to a session manager: one UDP socket from which it
// announces itself, receives the server's control messages and answers
// them (the server tells its clients apart by their return address). When
// the server's address is on this machine the socket listens on the
// loopback address only; control messages from any address but the
// server's are refused, and datagrams that do not parse are dropped.
// Main thread only.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/monitor_feed.h"
#include "session/nsm_message.h"

namespace cadenzo {

class NsmClient {
public:
    // The client for the server at `url` (the NSM_URL variable: osc.udp://host:port/),
    // or nothing with the reason in `error` when the address is not usable.
    static std::unique_ptr<NsmClient> Connect(const std::string& url, std::string& error);
    ~NsmClient();
    NsmClient(const NsmClient&) = delete;
    NsmClient& operator=(const NsmClient&) = delete;

    // The socket, for a watch on its readability.
    int Socket() const { return socket_; }
    // Whether the socket listens on the loopback address only.
    bool Loopback() const { return loopback_; }

    // Sends a datagram to the server; false when it could not be sent.
    bool Send(const std::vector<uint8_t>& datagram);

    // The next datagram, waiting up to `timeout` for one: a message the
    // program takes, or the reason it was refused in `refused`. Nothing
    // when none came in time.
    struct Received {
        std::optional<NsmMessage> message;
        SessionRefusal refused = SessionRefusal::Unknown;
    };
    std::optional<Received> Receive(std::chrono::milliseconds timeout);

    // Waits up to `timeout` for a message of the command `wanted` (for the
    // announce's reply, its error too); what is refused on the way is added
    // to `refused`, and other messages are passed over.
    std::optional<NsmMessage> Await(NsmCommand wanted, std::chrono::milliseconds timeout,
                                    std::vector<SessionRefusal>& refused);

private:
    NsmClient(int socket, const sockaddr_in& server, bool loopback);

    int socket_;
    sockaddr_in server_;
    bool loopback_;
};

// A session the program takes part in: the link, and the server's open.
struct JoinedSession {
    std::unique_ptr<NsmClient> client;
    NsmMessage open;
};

// Announces the program (as `application`, started as `executable`) to
// the server at `url` and waits for its open. Nothing, with the reason in
// `note`, when there is no session to take part in: the address is not
// usable, or the server refused or did not answer in time. What was
// refused on the way is added to `refused`.
std::optional<JoinedSession> JoinSession(const std::string& url, const std::string& application,
                                         const std::string& executable, std::string& note,
                                         std::vector<SessionRefusal>& refused);

}  // namespace cadenzo
