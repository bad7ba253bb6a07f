// The whole program under a real session manager (nsmd, built from the
// sources beside the repository) on a real JACK server, driven as a session
// front end drives it: OSC messages from the test's own socket.
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>
#include <jack/metadata.h>
#include <lo/lo.h>

#include "bank/mix_bank.h"
#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The server, built once per run; empty when it cannot be built here.
std::string BuiltServer() {
    const std::string command = std::string(NSMD_BUILD) + " " + NSMD_OUT + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? (fs::path(NSMD_OUT) / "nsmd").string() : "";
}

// The test's end of the server: a front end's socket, its replies kept.
class Driver {
public:
    explicit Driver(const std::string& url)
        : server_(lo_server_new(nullptr, nullptr)), nsmd_(lo_address_new_from_url(url.c_str())) {
        lo_server_add_method(server_, nullptr, nullptr, &Driver::Heard, this);
    }
    ~Driver() {
        lo_address_free(nsmd_);
        lo_server_free(server_);
    }
    // Sends `path` (with one string, where given).
    void Send(const std::string& path, const std::string& argument = "") {
        if (argument.empty())
            lo_send_from(nsmd_, server_, LO_TT_IMMEDIATE, path.c_str(), "");
        else
            lo_send_from(nsmd_, server_, LO_TT_IMMEDIATE, path.c_str(), "s", argument.c_str());
    }
    // Sends it and waits for the server's reply to it; false on an error or
    // no answer.
    bool Command(const std::string& path, const std::string& argument = "", std::chrono::seconds timeout = 20s) {
        Send(path, argument);
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            lo_server_recv_noblock(server_, 50);
            if (answers_.contains(path)) return std::exchange(answers_, {})[path];
        }
        return false;
    }

private:
    static int Heard(const char* path, const char* types, lo_arg** argv, int argc, lo_message, void* self) {
        const std::string_view kind = path;
        if ((kind == "/reply" || kind == "/error") && argc > 0 && types[0] == 's')
            static_cast<Driver*>(self)->answers_[&argv[0]->s] = kind == "/reply";
        return 0;
    }

    lo_server server_;
    lo_address nsmd_;
    std::map<std::string, bool> answers_;
};

class Session : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = BuiltServer(); }

    void SetUp() override {
        if (server_.empty()) GTEST_SKIP() << "nsmd could not be built from " << NSMD_BUILD << ": no session tests";
        ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)";
        // The program on JACK whatever this machine has, started under the
        // name the session keeps.
        // The server starts programs only from the PATH.
        const fs::path starter = tools.Path() / kStarter;
        // The address sanitizer takes the renamed process for one whose
        // runtime was loaded late; its link order is right all the same.
        std::ofstream(starter) << "#!/bin/bash\nexport ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}"
                                  "verify_asan_link_order=0\"\nexec -a " << kStarter << ' ' << CADENZO_BINARY << " --midi jack \"$@\"\n";
        fs::permissions(starter, fs::perms::owner_all);
        const char* path = std::getenv("PATH");
        // Its address line would wait in the output's buffer otherwise.
        nsmd.Start({.argv = {"/usr/bin/stdbuf", "-oL", server_, "--session-root", root.Path().string()},
                    .setEnv = {"QT_QPA_PLATFORM=offscreen", "PATH=" + tools.Path().string() + ":" + (path ? path : "")},
                    .out = tools.Path() / "out",
                    .err = tools.Path() / "err"});
        ASSERT_TRUE(test::WaitUntil([&] { return Url().find('/') != std::string::npos; }, 10s));
        driver = std::make_unique<Driver>(Url());
    }
    void TearDown() override {
        if (driver) driver->Command("/nsm/server/quit", "", 1s);
    }

    std::string Url() const {
        const std::string out = test::ReadText(tools.Path() / "out");
        const size_t at = out.find("NSM_URL=");
        return at == std::string::npos ? "" : out.substr(at + 8, out.find('\n', at) - at - 8);
    }
    std::string ServerLog() const { return test::ReadText(tools.Path() / "err"); }
    // The JACK client names of the program's instances now on the server.
    std::vector<std::string> Instances() const {
        std::vector<std::string> ids;
        for (const std::string& port : peer.MidiSources())
            if (port.starts_with("Cadenzo.") && port.ends_with(":SynthOut")) ids.push_back(port.substr(0, port.find(':')));
        return ids;
    }
    bool Add() { return driver->Command("/nsm/server/add", kStarter); }
    // Waits until the server's log has said `what` `count` times.
    bool Logged(const std::string& what, size_t count = 1) const {
        return test::WaitUntil([&] {
            const std::string log = ServerLog();
            size_t seen = 0;
            for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++seen;
            return seen >= count;
        });
    }
    // Waits until `count` instances have answered their opening (the server
    // would take an answer that comes during its save for the save's).
    bool Opened(size_t count) const { return Logged("replied with: Opened.", count); }

    test::TempFolder root;   // the sessions
    test::TempFolder tools;  // the server's output, the program's starter
    test::ChildProcess nsmd;
    std::unique_ptr<Driver> driver;
    test::JackTestClient peer{"player", {"keys"}, {"synth"}};
    static constexpr const char* kStarter = "cadenzo-jack";
    static std::string server_;
};
std::string Session::server_;

constexpr const char* kFiles[] = {"def.cdb", "Ostinata.opt", "Ostinata.ports", "Cadenzo.settings"};

TEST_F(Session, SavesIntoTheClientsFolderUnderItsIdAndPlaysFromThatFolderWhenOpenedAgain) {
    ASSERT_TRUE(driver->Command("/nsm/server/new", "gig"));
    ASSERT_TRUE(Add()) << ServerLog();
    ASSERT_TRUE(Opened(1)) << ServerLog();
    ASSERT_EQ(Instances().size(), 1u);
    const std::string id = Instances()[0];
    EXPECT_EQ(peer.PortProperty(id + ":In1", JACK_METADATA_PRETTY_NAME), "Input 1");
    EXPECT_EQ(peer.PortProperty(id + ":SynthOut", JACK_METADATA_PRETTY_NAME), "Synth Out");
    EXPECT_EQ(peer.PortProperty(id + ":ControlOut", JACK_METADATA_ORDER), "6");
    // The server hides the window and shows it again; the program stays.
    ASSERT_TRUE(Logged("Client sends gui shown"));
    driver->Send("/nsm/gui/client/hide_optional_gui", id.substr(id.find('.') + 1));
    EXPECT_TRUE(Logged("Client sends gui hidden"));
    driver->Send("/nsm/gui/client/show_optional_gui", id.substr(id.find('.') + 1));
    EXPECT_TRUE(Logged("Client sends gui shown", 2));
    EXPECT_EQ(Instances().size(), 1u);

    ASSERT_TRUE(driver->Command("/nsm/server/save"));
    const fs::path folder = root.Path() / "gig" / id;
    for (const char* file : kFiles) EXPECT_TRUE(fs::exists(folder / file)) << file;
    ASSERT_TRUE(driver->Command("/nsm/server/close"));
    EXPECT_TRUE(test::WaitUntil([&] { return Instances().empty(); }, 5s)) << "the program is still there";

    // While the session is closed, the folder gets a bank that plays an
    // octave up and a ports file wired to the player.
    auto bank = std::make_unique<BankState>();
    InitBankDefaults(*bank);
    bank->Bank.Slots[0].Channels[0].In1Channel = 17;
    bank->Bank.Slots[0].Channels[0].Trs = 76;
    std::ofstream(folder / "def.cdb", std::ios::binary)
        .write(reinterpret_cast<const char*>(&bank->Bank), sizeof bank->Bank);
    std::ofstream(folder / "Ostinata.ports") << "In1=" << peer.SourceName(0) << "\nSynthOut=" << peer.SinkName(0)
                                             << '\n';
    ASSERT_TRUE(driver->Command("/nsm/server/open", "gig"));
    ASSERT_TRUE(peer.WaitSourceConnected(0, 15s));
    ASSERT_TRUE(peer.WaitSinkConnected(0, 15s));
    EXPECT_EQ(Instances(), std::vector<std::string>{id});
    std::this_thread::sleep_for(300ms);  // the start-up transmission
    peer.Send(0, 0x643C90);
    const std::vector<uint32_t> heard = peer.Receive(0, 200, 3s);
    EXPECT_NE(std::find(heard.begin(), heard.end(), 0x644890u), heard.end()) << "the folder's bank does not play";
}

TEST_F(Session, TwoInstancesAreTwoClientsWithFoldersOfTheirOwn) {
    ASSERT_TRUE(driver->Command("/nsm/server/new", "duo"));
    ASSERT_TRUE(Add()) << ServerLog();
    ASSERT_TRUE(Add()) << ServerLog();
    ASSERT_TRUE(Opened(2)) << ServerLog();
    ASSERT_EQ(Instances().size(), 2u);
    ASSERT_TRUE(driver->Command("/nsm/server/save"));
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(root.Path() / "duo"))
        if (entry.is_directory()) folders.push_back(entry.path().filename());
    std::sort(folders.begin(), folders.end());
    std::vector<std::string> ids = Instances();
    std::sort(ids.begin(), ids.end());
    ASSERT_EQ(folders, std::vector<fs::path>(ids.begin(), ids.end()));
    for (const fs::path& folder : folders)
        for (const char* file : kFiles) EXPECT_TRUE(fs::exists(root.Path() / "duo" / folder / file)) << folder / file;
}

TEST_F(Session, ACorruptBankIsAnErrorToTheServerAndIsKept) {
    ASSERT_TRUE(driver->Command("/nsm/server/new", "broken"));
    ASSERT_TRUE(Add()) << ServerLog();
    ASSERT_TRUE(Opened(1)) << ServerLog();
    const fs::path folder = root.Path() / "broken" / Instances().at(0);
    ASSERT_TRUE(driver->Command("/nsm/server/close"));
    ASSERT_TRUE(test::WaitUntil([&] { return Instances().empty(); }, 5s));
    std::ofstream(folder / "def.cdb") << "not a bank";

    ASSERT_TRUE(driver->Command("/nsm/server/open", "broken"));
    EXPECT_TRUE(test::WaitUntil([&] { return ServerLog().find("replied with error") != std::string::npos; }, 15s))
        << ServerLog();
    // No box waits: the program plays on, and a save keeps the file it could not read.
    ASSERT_TRUE(test::WaitUntil([&] { return Instances().size() == 1; }));
    driver->Command("/nsm/server/save");
    EXPECT_EQ(test::ReadText(folder / "def.cdb"), "not a bank");
    EXPECT_TRUE(fs::exists(folder / "Ostinata.opt"));
}

}  // namespace
}  // namespace cadenzo
