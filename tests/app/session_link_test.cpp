// The program's end of a session as the server sees it: the answer to the
// open, an edit made with the keys reported as unsaved changes, and the
// server's save writing the session's files (all of what the setup
// dialog's save writes) and reporting them saved.
#include <QApplication>
#include <QTest>

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "app/session_link.h"
#include "bank/ports_file.h"
#include "engine/system_state.h"
#include "support/fake_timer.h"
#include "support/recorders.h"
#include "support/temp_dir.h"
#include "support/udp_peer.h"
#include "ui/widgets/main_form.h"

namespace cadenzo {
namespace {

class Link : public test::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        InitBankDefaults(state.Bank);
        LoadMix(state.Bank, 0);
        state.Io.dialogs = &dialogs;
        state.Io.display = &form;
        std::string error;
        client = NsmClient::Connect(server.Url(), error);
        ASSERT_TRUE(client) << error;
        client->Send(BuildNotice("/hello"));  // the server learns the client's address
        server.Receive();
    }
    // What the program sends next, the window's events running meanwhile.
    std::string Next() {
        for (int i = 0; i < 300; ++i) {
            QApplication::processEvents();
            const std::vector<uint8_t> got = server.Receive(std::chrono::milliseconds(10));
            if (!got.empty()) return test::PathOf(got) + (got.size() > 24 && test::PathOf(got) == "/reply"
                                                               ? " " + test::PathOf({got.begin() + 12, got.end()})
                                                               : "");
        }
        return "nothing";
    }

    test::UdpPeer server;
    std::unique_ptr<NsmClient> client;
    SystemState state;
    test::FakeTimer timer;
    test::RecordingDialogs shown;
    CollectingDialogs dialogs{shown};
    TMainForm form{state, timer, dialogs};
};

TEST_F(Link, AnEditIsReportedAsUnsavedAndTheServersSaveWritesTheFolder) {
    SessionLink link(state, *client, dialogs);
    dialogs.Collect();
    link.AnswerOpen(true, &form);
    EXPECT_EQ(Next(), "/reply /nsm/client/open");
    EXPECT_EQ(Next(), "/nsm/client/gui_is_hidden");

    state.Ports.RememberedDevices[0] = "Keys";  // In1 follows the second of two keyboards of that name
    state.Ports.RememberedOrders[0] = 2;
    QTest::keyClick(&form, Qt::Key_A);          // a scale step in the working mix
    QTest::keyClick(&form, Qt::Key_Backspace);  // stored into the bank
    EXPECT_EQ(Next(), "/nsm/client/is_dirty");

    server.Reply(BuildNotice("/nsm/client/save"));
    EXPECT_EQ(Next(), "/reply /nsm/client/save");
    EXPECT_EQ(Next(), "/nsm/client/is_clean");
    for (const char* file : {"def.cdb", "Ostinata.opt", "Ostinata.ports", "Cadenzo.settings"})
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    std::ostringstream report;
    PortOrders orders{};
    EXPECT_EQ(ReadPortsFile(report, &orders)[0], "Keys");
    EXPECT_EQ(orders[0], 2u) << "which of the namesakes In1 follows is saved too";
    EXPECT_TRUE(shown.boxes.empty());
}

}  // namespace
}  // namespace cadenzo
