// The session manager's datagrams as the program parses them, and who may
// talk to its socket.
#include <gtest/gtest.h>

#include "session/nsm_client.h"
#include "support/udp_peer.h"

namespace cadenzo {
namespace {

using namespace std::chrono_literals;

// An OSC datagram: the path and its type tag, padded to four bytes, then
// the arguments (strings padded likewise, integers big-endian).
struct Osc {
    std::vector<uint8_t> bytes;
    Osc& Text(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.resize((bytes.size() / 4 + 1) * 4, 0);
        return *this;
    }
    Osc& Int(int32_t v) {
        const uint32_t big = htonl(static_cast<uint32_t>(v));
        bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&big), reinterpret_cast<const uint8_t*>(&big) + 4);
        return *this;
    }
};

struct ParseRow {
    const char* what;
    std::vector<uint8_t> datagram;
    NsmParse parse;
    NsmCommand command;
};

class Parse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(Parse, TakesTheProtocolsMessagesAndDropsTheRest) {
    const ParseRow& row = GetParam();
    NsmMessage message;
    EXPECT_EQ(ParseNsmMessage(row.datagram.data(), row.datagram.size(), message), row.parse) << row.what;
    if (row.parse == NsmParse::Accepted) {
        EXPECT_EQ(message.command, row.command) << row.what;
    }
}

const std::vector<uint8_t> kOpen =
    Osc{}.Text("/nsm/client/open").Text(",sss").Text("/s/Cadenzo.nA").Text("s").Text("Cadenzo.nA").bytes;

INSTANTIATE_TEST_SUITE_P(
    Rows, Parse,
    ::testing::Values(
        ParseRow{"open", kOpen, NsmParse::Accepted, NsmCommand::Open},
        ParseRow{"save", Osc{}.Text("/nsm/client/save").Text(",").bytes, NsmParse::Accepted, NsmCommand::Save},
        ParseRow{"announce reply",
                 Osc{}.Text("/reply").Text(",ssss").Text("/nsm/server/announce").Text("hi").Text("nsm").Text(":").bytes,
                 NsmParse::Accepted, NsmCommand::AnnounceReply},
        ParseRow{"announce error", Osc{}.Text("/error").Text(",sis").Text("/nsm/server/announce").Int(-2).Text("no").bytes,
                 NsmParse::Accepted, NsmCommand::AnnounceError},
        ParseRow{"open of two strings", Osc{}.Text("/nsm/client/open").Text(",ss").Text("/s").Text("s").bytes,
                 NsmParse::Malformed, {}},
        ParseRow{"save with an argument", Osc{}.Text("/nsm/client/save").Text(",i").Int(1).bytes, NsmParse::Malformed, {}},
        ParseRow{"error without its code", Osc{}.Text("/error").Text(",ss").Text("/x").Text("y").bytes,
                 NsmParse::Malformed, {}},
        ParseRow{"open cut short", std::vector<uint8_t>(kOpen.begin(), kOpen.end() - 6), NsmParse::Malformed, {}},
        ParseRow{"a path without its end", {'/', 'n', 's', 'm'}, NsmParse::Malformed, {}},
        ParseRow{"nothing", {}, NsmParse::Malformed, {}},
        ParseRow{"someone else's message", Osc{}.Text("/synth/volume").Text(",i").Int(3).bytes, NsmParse::Unknown, {}}));

TEST(NsmClient, ListensOnLoopbackForALocalServerAndTakesOrdersFromItAlone) {
    test::UdpPeer server;
    test::UdpPeer stranger;
    std::string error;
    const std::unique_ptr<NsmClient> client = NsmClient::Connect(server.Url(), error);
    ASSERT_TRUE(client) << error;
    EXPECT_TRUE(client->Loopback());

    ASSERT_TRUE(client->Send(BuildAnnounce("Cadenzo", ":dirty:", "cadenzo", 1)));
    NsmMessage announce;
    const std::vector<uint8_t> got = server.Receive();
    ASSERT_EQ(ParseNsmMessage(got.data(), got.size(), announce), NsmParse::Unknown) << "a message for the server";
    server.Reply(kOpen);
    EXPECT_EQ(server.LastSender().sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    const auto fromServer = client->Receive(1s);
    ASSERT_TRUE(fromServer && fromServer->message);
    EXPECT_EQ(fromServer->message->clientId, "Cadenzo.nA");

    stranger.SendTo(Osc{}.Text("/nsm/client/save").Text(",").bytes, server.LastSender());
    const auto fromStranger = client->Receive(1s);
    ASSERT_TRUE(fromStranger);
    EXPECT_FALSE(fromStranger->message);
    EXPECT_EQ(fromStranger->refused, SessionRefusal::Foreign);
}

TEST(NsmClient, AnAddressThatIsNotOscOverUdpIsNoSession) {
    std::string error;
    for (const char* url : {"osc.tcp://localhost:1234/", "osc.udp://localhost:0/", "osc.udp://no.such.host.invalid:9/", ""})
        EXPECT_FALSE(NsmClient::Connect(url, error)) << url;
}

}  // namespace
}  // namespace cadenzo
