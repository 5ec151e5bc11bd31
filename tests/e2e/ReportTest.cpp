// A user sends a problem report: Help > Technical Support, the form filled in by typing and
// picking, Send; the mail arrives at a mail server on loopback with the user's name to answer, and
// the next opening of the form remembers the sender.
#include <gtest/gtest.h>

#include "../app/FakeSmtpServer.h"
#include "Desk.h"
#include "app/CBugReportDlg.h"
#include "base/CodePage.h"
#include "resources/AppResource.h"

namespace e2e {
namespace {

// Help > Technical Support by keyboard, the form answered by `act`.
void TechnicalSupport(Desk& desk, std::function<void(HWND)> act) {
  desk.Expect("Technical Support", std::move(act));
  desk.Menu('H', "p");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

// What a person types into the form: each description line ends with Enter.
struct Report {
  std::string name, email, synopsis;
  std::vector<std::string> description;
  std::string repeat;
  std::string snapshot;  // the form's picture in the gallery
};

// The form opened from the Help menu, filled in (type "Software bug", priority "High") and sent to
// the loopback server; the status line right after Send is returned. The form closes with the
// thanks once the mail has gone.
std::string SendReport(Desk& desk, const apptest::FakeSmtpServer& server, const Report& report) {
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
    TypeInto(form, IDC_BUG_NAME, report.name);
    TypeInto(form, IDC_BUG_EMAIL, report.email);
    EXPECT_TRUE(desk.Pick(form, IDC_BUG_TYPE, "Software bug"));
    EXPECT_TRUE(desk.Pick(form, IDC_BUG_PRIORITY, "High"));
    TypeInto(form, IDC_BUG_SYNOPSIS, report.synopsis);
    ClickItem(form, IDC_BUG_DESCRIPTION);
    for (size_t i = 0; i < report.description.size(); ++i) {
      if (i > 0) brambolt::test::PressKey(VK_RETURN);
      brambolt::test::TypeText(report.description[i]);
    }
    ClickItem(form, IDC_BUG_REPEAT);
    brambolt::test::TypeText(report.repeat);
    desk.Snapshot(form, report.snapshot);
    EXPECT_TRUE(ClickButton(form, "Send"));
    status = ItemText(form, IDC_BUG_STATUS);
    EXPECT_TRUE(desk.PumpUntil([&] { return !::IsWindow(form) || !::IsWindowVisible(form); })) << desk.Report();
  });
  return status;
}

// The header lines and the body of the one message the server received.
std::pair<std::string, std::string> OnlyMessage(const apptest::FakeSmtpServer& server) {
  const std::vector<std::string> messages = server.Messages();
  EXPECT_EQ(messages.size(), 1u);
  if (messages.empty()) return {};
  const size_t split = messages[0].find("\r\n\r\n");
  EXPECT_NE(split, std::string::npos) << messages[0];
  if (split == std::string::npos) return {};
  return {messages[0].substr(0, split + 2), messages[0].substr(split + 4)};
}

TEST(UsersDay, AProblemReportSentFromTheHelpMenuArrivesAtTheMailServer) {
  apptest::FakeSmtpServer server(apptest::FakeSmtpServer::Options{});
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const std::string status =
      SendReport(desk, server,
                 Report{"Mei Lin", "mei.lin@atelier.example", "Chart misses a class",
                        {"The hierarchy chart has no CLayer.", ".", "It is in the class view."}, "Press F5.", "20-technical-support"});
  EXPECT_EQ(status, "Status: System is connecting the server!");
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_EQ(desk.Boxes()[0].Text().find("Thank you for submitting a problem report!"), 0u) << desk.Report();

  const auto [header, body] = OnlyMessage(server);
  for (const char* field : {"From: Mei Lin <support@brambolt.example>\r\n", "To: support@brambolt.example\r\n",
                            "Reply-To: Mei Lin <mei.lin@atelier.example>\r\n",
                            "Subject: Software bug: Chart misses a class\r\n"})
    EXPECT_NE(header.find(field), std::string::npos) << field << "\n" << header;
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

// A user on a Simplified Chinese system types the name and the problem in Chinese: the name
// reaches the headers as encoded words and the body says its character set.
TEST(UsersDay, AProblemReportTypedInChineseArrivesWithItsCharacterSetDeclared) {
  brambolt::ScopedCodePage gbk(936);
  apptest::FakeSmtpServer server(apptest::FakeSmtpServer::Options{});
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const std::string name = "\xC1\xD6\xC3\xC0";  // the name, in GBK
  const std::string line = "\xCD\xBC\xB1\xED\xC8\xB1\xC9\xD9\xC0\xE0\xA1\xA3";
  SendReport(desk, server, Report{name, "mei.lin@atelier.example", "Chart", {line, "CLayer"}, "F5", "21-technical-support-chinese"});
  const auto [header, body] = OnlyMessage(server);
  for (const char* field : {"From: =?GBK?B?wdbDwA==?= <support@brambolt.example>\r\n",
                            "Reply-To: =?GBK?B?wdbDwA==?= <mei.lin@atelier.example>\r\n",
                            "Content-type: text/plain; charset=GBK\r\n", "Content-Transfer-Encoding: 8bit\r\n"})
    EXPECT_NE(header.find(field), std::string::npos) << field << "\n" << header;
  EXPECT_NE(body.find("Description:\r\n" + line + "\r\nCLayer\r\n"), std::string::npos) << body;
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
