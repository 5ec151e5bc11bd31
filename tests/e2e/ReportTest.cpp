// A user sends a problem report: Help > Technical Support, the form filled in by typing and
// picking, Send; the mail arrives at a mail server on loopback with the user's name to answer, and
// the next opening of the form remembers the sender.
#include <gtest/gtest.h>

#include "../app/FakeSmtpServer.h"
#include "Desk.h"
#include "app/CBugReportDlg.h"
#include "resources/AppResource.h"

namespace e2e {
namespace {

using brambolt::test::kNone;

// Help > Technical Support by keyboard, the form answered by `act`.
void TechnicalSupport(Desk& desk, std::function<void(HWND)> act) {
  desk.Expect("Technical Support", std::move(act));
  desk.Menu('H', "p");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

TEST(UsersDay, AProblemReportSentFromTheHelpMenuArrivesAtTheMailServer) {
  apptest::FakeSmtpServer server(apptest::FakeSmtpServer::Options{});
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();

  std::string status;
  TechnicalSupport(desk, [&](HWND form) {
    // The maker's mail server is the one endpoint a person cannot type in: it is pointed at the
    // loopback server before anything is sent.
    auto* dialog = dynamic_cast<CBugReportDlg*>(CWnd::FromHandlePermanent(form));
    ASSERT_NE(dialog, nullptr);
    dialog->m_strMailServer = "127.0.0.1";
    dialog->m_nMailPort = server.Port();
    dialog->m_strSupportAddress = "support@brambolt.example";

    EXPECT_EQ(ItemText(form, IDC_BUG_STATUS), "Status: ");
    TypeInto(form, IDC_BUG_NAME, "Mei Lin");
    TypeInto(form, IDC_BUG_EMAIL, "mei.lin@atelier.example");
    // The type list starts with nothing chosen: the first walk down its list only reaches its first
    // item, the second walks from there.
    desk.Pick(form, IDC_BUG_TYPE, "Software bug");
    if (ItemText(form, IDC_BUG_TYPE) != "Software bug") {
      EXPECT_TRUE(desk.Pick(form, IDC_BUG_TYPE, "Software bug"));
    }
    EXPECT_TRUE(desk.Pick(form, IDC_BUG_PRIORITY, "High"));
    TypeInto(form, IDC_BUG_SYNOPSIS, "Chart misses a class");
    ClickItem(form, IDC_BUG_DESCRIPTION);
    brambolt::test::TypeText("The hierarchy chart has no CLayer.");
    brambolt::test::PressKey(VK_RETURN);
    brambolt::test::TypeText(".");
    brambolt::test::PressKey(VK_RETURN);
    brambolt::test::TypeText("It is in the class view.");
    ClickItem(form, IDC_BUG_REPEAT);
    brambolt::test::TypeText("Press F5.");
    desk.Snapshot(form, "20-technical-support");
    EXPECT_TRUE(ClickButton(form, "Send"));
    status = ItemText(form, IDC_BUG_STATUS);
    // The mail goes out on a worker; the form closes with the thanks once it has.
    EXPECT_TRUE(desk.PumpUntil([&] { return !::IsWindow(form) || !::IsWindowVisible(form); })) << desk.Report();
  });
  EXPECT_EQ(status, "Status: System is connecting the server!");
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_EQ(desk.Boxes()[0].Text().find("Thank you for submitting a problem report!"), 0u) << desk.Report();

  ASSERT_EQ(server.Messages().size(), 1u);
  const std::string data = server.Messages()[0];
  const size_t split = data.find("\r\n\r\n");
  ASSERT_NE(split, std::string::npos) << data;
  const std::string header = data.substr(0, split + 2);
  for (const char* field : {"From: Mei Lin <support@brambolt.example>\r\n", "To: support@brambolt.example\r\n",
                            "Reply-To: Mei Lin <mei.lin@atelier.example>\r\n",
                            "Subject: Software bug: Chart misses a class\r\n"})
    EXPECT_NE(header.find(field), std::string::npos) << field << "\n" << header;
  const std::string body = data.substr(split + 4);
  EXPECT_EQ(body.find("Type: Software bug\r\nPriority: High\r\n\r\nVersion:\r\nVisual Brambolt Build "), 0u) << body;
  // The lines typed keep their order and CR LF ends; the lone dot is not taken for the end.
  EXPECT_NE(body.find("\r\n\r\nDescription:\r\nThe hierarchy chart has no CLayer.\r\n.\r\nIt is in the class view."
                      "\r\n\r\nHow to Repeat:\r\nPress F5.\r\n"),
            std::string::npos)
      << body;
  const std::vector<std::string> commands = server.Commands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front().rfind("HELO ", 0), 0u);
  EXPECT_NE(std::find(commands.begin(), commands.end(), "RCPT TO:<support@brambolt.example>"), commands.end());

  // The next report starts with the sender filled in; Cancel sends nothing.
  TechnicalSupport(desk, [&](HWND form) {
    EXPECT_EQ(ItemText(form, IDC_BUG_NAME), "Mei Lin");
    EXPECT_EQ(ItemText(form, IDC_BUG_EMAIL), "mei.lin@atelier.example");
    EXPECT_EQ(ItemText(form, IDC_BUG_SYNOPSIS), "");
    EXPECT_TRUE(ClickButton(form, "Cancel"));
  });
  EXPECT_EQ(server.Messages().size(), 1u);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
