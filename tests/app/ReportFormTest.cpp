// The problem report form: what it shows when it opens, the order of its checks, and reports
// sent to a mail server on loopback, with the form kept open when the mail does not go out.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "FakeSmtpServer.h"
#include "app/CBugReportDlg.h"
#include "controls/controls.h"
#include "os/Registry.h"
#include "os/SystemInfo.h"
#include "resources/AppResource.h"

namespace {

using apptest::BoxRecorder;
using apptest::FakeSmtpServer;
using brambolt::test::ModalAnswers;

std::string Text(HWND hDlg, int nId) {
  char sz[1024] = {};
  ::GetDlgItemText(hDlg, nId, sz, sizeof sz);
  return sz;
}

void Command(HWND hDlg, int nId) {
  ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

struct FormSession {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Report Test"};
  BoxRecorder boxes;
  FormSession() {
    brambolt::ResetRegistryForTesting();
    InitCommonControls();
    app.SetRegistryKey("Report Test");
  }
};

// What the form reports of the machine: the real system, then the program's version.
std::string Environment() { return brambolt::DescribeSystem() + "\r\nVisual Brambolt 3.3.0.1219"; }

// Fills the fields a user types.
void Fill(HWND h, const char* name, const char* email, const char* synopsis, const char* description) {
  ::SetDlgItemText(h, IDC_BUG_NAME, name);
  ::SetDlgItemText(h, IDC_BUG_EMAIL, email);
  ::SetDlgItemText(h, IDC_BUG_SYNOPSIS, synopsis);
  ::SetDlgItemText(h, IDC_BUG_DESCRIPTION, description);
}

TEST(BugReportDlg, OpensWithVersionEnvironmentListsAndTheRememberedSender) {
  FormSession form;
  form.app.WriteProfileString("Problem report", "Name", "Ann Lee");
  form.app.WriteProfileString("Problem report", "E-mail", "ann@example.org");
  ModalAnswers answers;
  std::vector<std::string> seen;
  LRESULT types = 0, priorities = 0, typeSelection = 0;
  answers.When(nullptr, "Technical Support", [&](HWND h) {
    for (int id : {IDC_BUG_NAME, IDC_BUG_EMAIL, IDC_BUG_VERSION, IDC_BUG_ENVIRONMENT, IDC_BUG_PRIORITY,
                   IDC_BUG_STATUS, IDC_BUG_FAQ_LINK})
      seen.push_back(Text(h, id));
    types = ::SendDlgItemMessage(h, IDC_BUG_TYPE, CB_GETCOUNT, 0, 0);
    priorities = ::SendDlgItemMessage(h, IDC_BUG_PRIORITY, CB_GETCOUNT, 0, 0);
    typeSelection = ::SendDlgItemMessage(h, IDC_BUG_TYPE, CB_GETCURSEL, 0, 0);
    Command(h, IDCANCEL);
  });
  CBugReportDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(seen, (std::vector<std::string>{"Ann Lee", "ann@example.org", "Visual Brambolt Build 12/19/2001 V3.3.0.1219",
                                            Environment(), "Low",
                                            "Status: ", "The Brambolt FAQ may already have the answer to your question."}));
  EXPECT_EQ(types, 4);
  EXPECT_EQ(priorities, 3);
  EXPECT_EQ(typeSelection, CB_ERR);
  EXPECT_STREQ(dlg.m_ctlFaqLink.GetURL(), dlg.m_strWebSite);
  EXPECT_EQ(dlg.m_ctlFaqLink.GetHoverColor(), RGB(51, 101, 255));
}

TEST(BugReportDlg, ChecksNameEmailSynopsisAndDescriptionInOrderAfterTrimming) {
  struct Case {
    const char *name, *email, *synopsis, *description;
    UINT message;
    int focus;
  } cases[] = {
      {"   ", "ann@example.org", "s", "d", IDS_BUG_NEED_NAME, IDC_BUG_NAME},
      {"Ann", " a@b. ", "s", "d", IDS_BUG_NEED_EMAIL, IDC_BUG_EMAIL},
      {"Ann", "ann.example.org", "", "", IDS_BUG_NEED_EMAIL, IDC_BUG_EMAIL},
      {"Ann", "ann@example", "s", "d", IDS_BUG_NEED_EMAIL, IDC_BUG_EMAIL},
      {"Ann", "a@b.c", " \t ", "d", IDS_BUG_NEED_SYNOPSIS, IDC_BUG_SYNOPSIS},
      {"Ann", "a@b.c", "s", "  ", IDS_BUG_NEED_DESCRIPTION, IDC_BUG_DESCRIPTION},
  };
  for (const Case& c : cases) {
    FormSession form;
    ModalAnswers answers;
    HWND focus = nullptr, expected = nullptr;
    answers.When(nullptr, "Technical Support", [&](HWND h) {
      Fill(h, c.name, c.email, c.synopsis, c.description);
      Command(h, IDOK);
      focus = ::GetFocus();
      expected = ::GetDlgItem(h, c.focus);
      Command(h, IDCANCEL);
    });
    CBugReportDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    CString message;
    message.LoadString(c.message);
    ASSERT_EQ(BoxRecorder::Boxes().size(), 1u) << c.name << "/" << c.email;
    EXPECT_EQ(BoxRecorder::Boxes()[0].text, std::string(message));
    EXPECT_EQ(BoxRecorder::Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(focus, expected) << c.message;
    // Cancel writes nothing to the profile.
    EXPECT_STREQ(form.app.GetProfileString("Problem report", "Name", "none"), "none");
  }
}

void MailTo(CBugReportDlg& dlg, const FakeSmtpServer& server) {
  dlg.m_strMailServer = "127.0.0.1";
  dlg.m_nMailPort = server.Port();
}

// Fills the form with a short question and clicks Send.
void SendQuestion(HWND h) {
  Fill(h, "Ann", "ann@example.org", "Question", "How?");
  Command(h, IDOK);
}

TEST(BugReportDlg, ASentReportReachesTheServerWithSubjectReplyToAndBodyAndClosesTheForm) {
  FormSession form;
  FakeSmtpServer server(FakeSmtpServer::Options{});
  ModalAnswers answers;
  std::string status;
  CBugReportDlg dlg;
  dlg.m_strMailServer = "127.0.0.1";
  dlg.m_nMailPort = server.Port();
  dlg.m_strSupportAddress = "support@example.org";
  answers.When(nullptr, "Technical Support", [&](HWND h) {
    Fill(h, " Ann Lee ", "ann@example.org", "Crash on save", "It crashes.\r\n.\r\nReally.");
    ::SetDlgItemText(h, IDC_BUG_REPEAT, "Save twice.");
    ::SendDlgItemMessage(h, IDC_BUG_TYPE, CB_SETCURSEL, 1, 0);
    ::SendDlgItemMessage(h, IDC_BUG_PRIORITY, CB_SETCURSEL, 2, 0);
    Command(h, IDOK);
    status = Text(h, IDC_BUG_STATUS);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDOK)));
    EXPECT_TRUE(apptest::PumpUntil([&] { return !dlg.IsSending(); }));
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(status, "Status: System is connecting the server!");
  ASSERT_EQ(BoxRecorder::Boxes().size(), 1u);
  EXPECT_EQ(BoxRecorder::Boxes()[0].text, "Thank you for submitting a problem report!");
  EXPECT_STREQ(form.app.GetProfileString("Problem report", "Name"), "Ann Lee");
  EXPECT_STREQ(form.app.GetProfileString("Problem report", "E-mail"), "ann@example.org");
  ASSERT_EQ(server.Messages().size(), 1u);
  const std::string data = server.Messages()[0];
  const std::string header = data.substr(0, data.find("\r\n\r\n") + 2);
  for (const char* field : {"From: Ann Lee <support@example.org>\r\n", "To: support@example.org\r\n",
                            "Subject: Software bug: Crash on save\r\n", "Reply-To: Ann Lee <ann@example.org>\r\n",
                            "Content-type: text/plain; charset=US-ASCII\r\n"})
    EXPECT_NE(header.find(field), std::string::npos) << field;
  EXPECT_EQ(header.find("Cc:"), std::string::npos);
  EXPECT_EQ(data.substr(data.find("\r\n\r\n") + 4),
            "Type: Software bug\r\nPriority: High\r\n\r\nVersion:\r\nVisual Brambolt Build 12/19/2001 V3.3.0.1219\r\n\r\n"
            "Environment:\r\n" + Environment() + "\r\n\r\n"
            "Description:\r\nIt crashes.\r\n.\r\nReally.\r\n\r\nHow to Repeat:\r\nSave twice.\r\n");
  const std::vector<std::string> commands = server.Commands();
  EXPECT_EQ(commands.front().substr(0, 5), "HELO ");
}

// The sender is remembered in UTF-8, and the form opened under another locale shows the name as
// typed, in that locale's code page.
TEST(BugReportDlg, TheRememberedSenderKeepsItsNameUnderAnotherLocale) {
  FormSession form;
  FakeSmtpServer server(FakeSmtpServer::Options{});
  ModalAnswers answers;
  {
    brambolt::ScopedLocale locale("de_DE.UTF-8");
    CBugReportDlg dlg;
    MailTo(dlg, server);
    answers.When(nullptr, "Technical Support", [&](HWND h) {
      Fill(h, "Jos\xE9 M\xFCller", "jm@example.org", "Question", "How?");  // José Müller
      Command(h, IDOK);
      EXPECT_TRUE(apptest::PumpUntil([&] { return !dlg.IsSending(); }));
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
  }
  EXPECT_STREQ(form.app.GetProfileString("Problem report", "Name"), "Jos\xC3\xA9 M\xC3\xBCller");
  brambolt::ScopedLocale locale("zh_CN.UTF-8");
  std::string shown;
  answers.When(nullptr, "Technical Support", [&](HWND h) {
    shown = Text(h, IDC_BUG_NAME);
    Command(h, IDCANCEL);
  });
  CBugReportDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(shown, "Jos\xA8\xA6 M\xA8\xB9ller");  // the GBK bytes of é and ü
}

TEST(BugReportDlg, AFailedSendKeepsTheFormOpenWithTheErrorAndRemembersTheSender) {
  struct Case {
    const char* misbehave;
    bool requireAuth;
    const char* status;
    const char* box;  // the warning shown besides, if any
  } cases[] = {
      {"hello", false, "Status: System connects the server error::10054", nullptr},
      {"greeting", false, "Status: System connects the server error::10060", nullptr},
      {"", true, "Status: Cann't send the message,Error:530 5.7.0 Authentication required", nullptr},
      // The report went out whole and no answer came: it may have arrived, and the user is told.
      {"silent after data", false, "Status: Cann't send the message,Error:the server did not answer within 60 seconds",
       "The whole report was handed over to the mail server, but no answer came that it was taken (the server did "
       "not answer within 60 seconds).\n\nThe report may already have arrived: sending it again may make a "
       "duplicate."},
  };
  for (const Case& c : cases) {
    FormSession form;
    FakeSmtpServer::Options options;
    options.misbehave = c.misbehave;
    options.requireAuth = c.requireAuth;
    FakeSmtpServer server(options);
    ModalAnswers answers;
    std::string status;
    bool sendEnabled = false;
    bool statusShowsWhole = false;
    CBugReportDlg dlg;
    MailTo(dlg, server);
    answers.When(nullptr, "Technical Support", [&](HWND h) {
      SendQuestion(h);
      // A silent server is waited for on the virtual clock, which moves only here.
      EXPECT_TRUE(apptest::PumpUntil([&] { return !dlg.IsSending(); }, [&] {
        if (server.Accepted()) brambolt::VirtualClock::Advance(20000);
      }));
      status = Text(h, IDC_BUG_STATUS);
      sendEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE;
      // The reason is read whole on the status line, wrapped as the line wraps its words.
      const HWND hStatus = ::GetDlgItem(h, IDC_BUG_STATUS);
      RECT client{};
      ::GetClientRect(hStatus, &client);
      RECT needed = client;
      const HDC dc = ::GetDC(hStatus);
      const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessage(hStatus, WM_GETFONT, 0, 0)));
      ::DrawText(dc, status.c_str(), -1, &needed, DT_WORDBREAK | DT_CALCRECT);
      ::SelectObject(dc, old);
      ::ReleaseDC(hStatus, dc);
      statusShowsWhole = needed.bottom <= client.bottom && needed.right <= client.right;
      Command(h, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.status;
    EXPECT_EQ(status, c.status);
    EXPECT_TRUE(statusShowsWhole) << c.status;
    EXPECT_TRUE(sendEnabled);
    if (c.box == nullptr) {
      EXPECT_TRUE(BoxRecorder::Boxes().empty());
    } else {
      ASSERT_EQ(BoxRecorder::Boxes().size(), 1u);
      EXPECT_EQ(BoxRecorder::Boxes()[0].text, c.box);
      EXPECT_EQ(server.Messages().size(), 1u);
    }
    EXPECT_STREQ(form.app.GetProfileString("Problem report", "Name"), "Ann");
    EXPECT_STREQ(dlg.m_strSynopsis, "Question");
  }
}

// Cancel while the report is on its way: before the server has it, nothing went out; once the
// whole report is handed over, the server may keep it, and the user is told before sending again.
TEST(BugReportDlg, CancelWhileSendingStopsTheSendAtOnceAndKeepsTheFormWithItsText) {
  struct Case {
    const char* misbehave;  // where the server falls silent
    const char* status;
    const char* box;  // the warning shown besides, if any
    const char* remembered;  // the sender's name in the profile afterwards
  } cases[] = {
      {"greeting", "Status: Sending cancelled", nullptr, ""},
      {"silent after data", "Status: Cann't send the message,Error:Sending cancelled",
       "The whole report was handed over to the mail server, but no answer came that it was taken (Sending "
       "cancelled).\n\nThe report may already have arrived: sending it again may make a duplicate.",
       "Ann"},
  };
  for (const Case& c : cases) {
    FormSession form;
    FakeSmtpServer::Options options;
    options.misbehave = c.misbehave;
    FakeSmtpServer server(options);
    ModalAnswers answers;
    bool stoppedAtOnce = false, formOpen = false, sendEnabled = false;
    std::string status, synopsis;
    CBugReportDlg dlg;
    MailTo(dlg, server);
    answers.When(nullptr, "Technical Support", [&](HWND h) {
      SendQuestion(h);
      ASSERT_TRUE(apptest::PumpUntil([&] { return server.Accepted(); }));
      if (c.box != nullptr) {
        ASSERT_TRUE(apptest::PumpUntil([&] { return server.Messages().size() == 1; }));
      }
      // The server stays silent and the clock stands still: only Cancel can end the wait.
      Command(h, IDCANCEL);
      stoppedAtOnce = apptest::PumpUntil([&] { return !dlg.IsSending(); });
      if (!stoppedAtOnce)
        apptest::PumpUntil([&] { return !dlg.IsSending(); }, [] { brambolt::VirtualClock::Advance(20000); });
      formOpen = ::IsWindow(h) != FALSE;
      status = Text(h, IDC_BUG_STATUS);
      synopsis = Text(h, IDC_BUG_SYNOPSIS);
      sendEnabled = ::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE;
      Command(h, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.misbehave;
    EXPECT_TRUE(stoppedAtOnce) << c.misbehave;
    EXPECT_TRUE(formOpen) << c.misbehave;
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(synopsis, "Question");
    EXPECT_TRUE(sendEnabled) << c.misbehave;
    if (c.box == nullptr) {
      EXPECT_TRUE(BoxRecorder::Boxes().empty());
    } else {
      ASSERT_EQ(BoxRecorder::Boxes().size(), 1u);
      EXPECT_EQ(BoxRecorder::Boxes()[0].text, c.box);
    }
    // Nothing sent, nothing remembered; a report the server may have, its sender remembered.
    EXPECT_STREQ(form.app.GetProfileString("Problem report", "Name"), c.remembered) << c.misbehave;
  }
}

}  // namespace
