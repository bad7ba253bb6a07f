// A UDP socket on the loopback address, standing for a session manager (or
// a stranger) in tests of the program's session socket. Test thread only.
#pragma once

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace cadenzo::test {

class UdpPeer {
public:
    UdpPeer() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in own{};
        own.sin_family = AF_INET;
        own.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<const sockaddr*>(&own), sizeof own);
        socklen_t size = sizeof address_;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address_), &size);
    }
    ~UdpPeer() { close(fd_); }
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    std::string Url() const { return "osc.udp://localhost:" + std::to_string(ntohs(address_.sin_port)) + "/"; }
    // The next datagram, waiting up to `timeout` (empty when none came);
    // its sender becomes the one Reply answers.
    std::vector<uint8_t> Receive(std::chrono::milliseconds timeout = std::chrono::seconds(1)) {
        pollfd watch{fd_, POLLIN, 0};
        if (poll(&watch, 1, static_cast<int>(timeout.count())) <= 0) return {};
        std::vector<uint8_t> got(4096);
        socklen_t size = sizeof from_;
        const ssize_t n = recvfrom(fd_, got.data(), got.size(), 0, reinterpret_cast<sockaddr*>(&from_), &size);
        got.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return got;
    }
    void Reply(const std::vector<uint8_t>& datagram) { SendTo(datagram, from_); }
    void SendTo(const std::vector<uint8_t>& datagram, const sockaddr_in& to) {
        sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    const sockaddr_in& LastSender() const { return from_; }

private:
    int fd_;
    sockaddr_in address_{};
    sockaddr_in from_{};
};

// The path a datagram begins with.
inline std::string PathOf(const std::vector<uint8_t>& datagram) {
    return std::string(datagram.begin(), datagram.end()).c_str();
}

}  // namespace cadenzo::test
