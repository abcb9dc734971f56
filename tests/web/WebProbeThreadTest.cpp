// The probe thread as the wizard starts it, built for the test server's fixed address.
#include "ScriptedHttpServer.h"
#include "platform/process.h"
#include "platform/thread.h"
#include "web/WebProbe.h"
#include "wizard/KXWizardDlg.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr uint16_t kProbePort = KX_WEB_PORT; // the address this test build of the probe asks
constexpr uint32_t kShutdownWaitMs = 10000;

TEST(WebProbeThread, SendsOneBareHttp10GetForTheNoticePage) {
    ScriptedHttpServer server(kProbePort);
    server.Respond("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    CKXWizardDlg dialog;

    const kx::ThreadHandle thread = kx::StartThread(WebProbeThread, &dialog);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(kx::WaitThread(thread, kShutdownWaitMs));
    kx::CloseThread(thread);

    // The server keeps listening a while after the header block: nothing may follow it.
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], "GET /kxwizard.html HTTP/1.0\r\n"
                           "Host: 127.0.0.1:" +
                               std::to_string(kProbePort) +
                               "\r\n"
                               "User-Agent: web_probe_thread_test\r\n"
                               "\r\n");
    EXPECT_EQ(kx::AppName(), "web_probe_thread_test");
}

TEST(WebProbeThread, EndsWithZeroWhateverTheAnswer) {
    for (const std::string& response : std::vector<std::string>{
             "HTTP/1.0 200 OK\r\nMERIDOTTA-WARNING: maintenance\r\n\r\n",
             "HTTP/1.0 404 Not Found\r\n\r\n",
             "HTTP/1.0 500 Internal Server Error\r\nContent-Length: 3\r\n\r\nbad",
             "HTTP/1.0 200 OK\r\nX-Filler: " + std::string(8192, 'f') + "\r\n\r\n",
             "not HTTP at all\r\n\r\n",
             "", // closed without a word
         }) {
        ScriptedHttpServer server(kProbePort);
        server.Respond(response);
        CKXWizardDlg dialog;
        EXPECT_EQ(WebProbeThread(&dialog), 0u) << response;
        EXPECT_EQ(server.Requests().size(), 1u) << response;
    }
}

TEST(WebProbeThread, EndsWithZeroWhenTheConnectionIsRefused) {
    CKXWizardDlg dialog; // nothing listens on the probe's port
    EXPECT_EQ(WebProbeThread(&dialog), 0u);
}

TEST(WebProbeThread, SendsNothingWhenTheWindowIsClosingBeforeItStarts) {
    ScriptedHttpServer server(kProbePort);
    server.Respond("HTTP/1.0 200 OK\r\n\r\n");
    CKXWizardDlg dialog;
    dialog.m_bClosing = true;

    const kx::ThreadHandle thread = kx::StartThread(WebProbeThread, &dialog);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(kx::WaitThread(thread, kShutdownWaitMs));
    kx::CloseThread(thread);

    std::this_thread::sleep_for(300ms); // time for a connection to reach the server's count
    EXPECT_EQ(server.Connections(), 0);
}

// The window waits 10 s for a probe whose server never answers, then goes away; the probe
// goes on without touching the freed dialog (AddressSanitizer watches) and ends when its
// request fails.
TEST(WebProbeThread, SilentServerDelaysTheWindowByTheWaitOnly) {
    ScriptedHttpServer server(kProbePort);
    server.AnswerNothing();
    auto dialog = std::make_unique<CKXWizardDlg>();

    const kx::ThreadHandle thread = kx::StartThread(WebProbeThread, dialog.get());
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(server.WaitForRequest(10s));

    dialog->m_bClosing = true;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(kx::WaitThread(thread, kShutdownWaitMs));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    dialog.reset();

    server.Release();
    EXPECT_TRUE(kx::WaitThread(thread, 60000));
    kx::CloseThread(thread);
}

} // namespace
