// The mail message (recipients, body, header) and the SMTP client against a server on loopback:
// each AUTH method, a refused password, a server that closes and one that never answers.
#include <gtest/gtest.h>

#include <thread>

#include "FakeSmtpServer.h"
#include "app/CSMTPConnection.h"
#include "base/Clock.h"
#include "base/CodePage.h"

namespace {

using apptest::FakeSmtpServer;

// The lines of a header block, without the blank line that ends it.
std::vector<std::string> HeaderLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = data.find("\r\n", start)) != std::string::npos && end != start; start = end + 2)
    lines.push_back(data.substr(start, end - start));
  return lines;
}

TEST(SMTPMessage, RecipientListsParseNamesAddressesAndSkipEmptyEntries) {
  CSMTPMessage message;
  EXPECT_TRUE(message.AddMultipleRecipients(" Tim Howes <tim@example.org> ; bare@example.org", CSMTPMessage::TO));
  EXPECT_TRUE(message.AddMultipleRecipients("a@x.org,,b@y.org,", CSMTPMessage::CC));
  ASSERT_EQ(message.GetNumberOfRecipients(CSMTPMessage::TO), 2);
  EXPECT_STREQ(message.GetRecipient(0).m_sFriendlyName, "Tim Howes");
  EXPECT_STREQ(message.GetRecipient(0).m_sEmailAddress, "tim@example.org");
  EXPECT_STREQ(message.GetRecipient(1).GetRegularFormat(), "bare@example.org");
  EXPECT_EQ(message.GetNumberOfRecipients(CSMTPMessage::CC), 2);
  SetLastError(0);
  EXPECT_FALSE(message.AddMultipleRecipients("ok@x.org; Broken <no@end.org", CSMTPMessage::BCC));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(message.GetNumberOfRecipients(CSMTPMessage::BCC), 1);
  // The first ">" of an entry closes its "<": one before it leaves the address unclosed.
  SetLastError(0);
  EXPECT_FALSE(message.AddMultipleRecipients("Bo> Lee <bo@x.org>", CSMTPMessage::BCC));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(message.GetNumberOfRecipients(CSMTPMessage::BCC), 1);
  EXPECT_EQ(message.AddRecipient(CSMTPAddress("x@y.z"), 7), -1);
  EXPECT_EQ(message.GetNumberOfRecipients(7), 0);
}

TEST(SMTPMessage, BodyLinesEndInCrLfAndLeadingPeriodsAreDoubled) {
  CSMTPMessage message;
  message.SetBody(".\nline\r\n..\rend.\n.x");
  EXPECT_STREQ(message.GetBody(), "..\r\nline\r\n...\r\nend.\r\n..x");
}

TEST(SMTPMessage, ZonesCarryTheirSignOnceEvenBelowAnHour) {
  const std::pair<int, const char*> zones[] = {{480, "+0800"}, {330, "+0530"}, {-210, "-0330"},
                                               {-30, "-0030"}, {0, "+0000"},   {-720, "-1200"}};
  for (const auto& [minutes, text] : zones) EXPECT_STREQ(CSMTPMessage::FormatZone(minutes), text);
}

TEST(SMTPMessage, HeaderNamesCcAndReplyToOnlyWhenSetAndMakesFieldsSafe) {
  CSMTPMessage message;
  message.m_From = CSMTPAddress("Support", "support@example.org");
  message.AddRecipient(CSMTPAddress("Bo, \"the\" user\r\nBcc: evil@x.org", "bo@example.org"));
  message.AddRecipient(CSMTPAddress("hidden@example.org"), CSMTPMessage::BCC);
  message.m_sSubject = "Software bug: crash\r\non save";
  struct tm when {};
  when.tm_year = 101, when.tm_mon = 11, when.tm_mday = 18, when.tm_wday = 2;
  when.tm_hour = 14, when.tm_min = 5, when.tm_sec = 9;
  EXPECT_EQ(HeaderLines(std::string(message.FormatHeader(when, 480))),
            (std::vector<std::string>{"From: Support <support@example.org>",
                                      "To: \"Bo, \\\"the\\\" userBcc: evil@x.org\" <bo@example.org>",
                                      "Subject: Software bug: crashon save", "Date: Tue, 18 Dec 2001 14:05:09 +0800",
                                      "X-Mailer: CSMTPConnection v2.00", "MIME-Version: 1.0",
                                      "Content-type: text/plain; charset=US-ASCII"}));
  message.AddRecipient(CSMTPAddress("cc@example.org"), CSMTPMessage::CC);
  message.m_ReplyTo = CSMTPAddress("Bo", "bo@example.org");
  const std::vector<std::string> lines = HeaderLines(std::string(message.FormatHeader(when, 0)));
  EXPECT_EQ(lines[2], "Cc: cc@example.org");
  EXPECT_EQ(lines[6], "Reply-To: Bo <bo@example.org>");
}

TEST(SMTPMessage, TextBeyondAsciiIsEncodedInHeadersAndDeclaredInTheBody) {
  ASSERT_TRUE(brambolt::SetCodePageForTesting(936));
  CSMTPMessage message;
  // "Zhang San" and a subject in GBK.
  message.m_From = CSMTPAddress("\xD5\xC5\xC8\xFD", "zs@example.org");
  message.m_sSubject = "Bug: \xCE\xC4\xBC\xFE";
  message.SetBody("\xC4\xE3\xBA\xC3\n.");
  const std::string header(static_cast<LPCTSTR>(message.FormatHeader(tm{}, 0)));
  EXPECT_NE(header.find("From: =?GBK?B?1cXI/Q==?= <zs@example.org>\r\n"), std::string::npos);
  EXPECT_NE(header.find("Subject: =?GBK?B?QnVnOiDOxLz+?=\r\n"), std::string::npos);
  EXPECT_NE(header.find("Content-type: text/plain; charset=GBK\r\nContent-Transfer-Encoding: 8bit\r\n"),
            std::string::npos);
  // A long text becomes several encoded words, none splitting a character.
  std::string longName;
  for (int i = 0; i < 40; ++i) longName += "\xD5\xC5";
  const CString encoded = CSMTPMessage::EncodeHeaderText(longName.c_str());
  EXPECT_STREQ(encoded.Left(8), "=?GBK?B?");
  EXPECT_EQ(std::string(encoded).find("?=\r\n =?GBK?B?") != std::string::npos, true);
  brambolt::SetCodePageForTesting(1252);
}

TEST(SMTPConnection, CramMd5AnswersTheRfc2195Example) {
  EXPECT_STREQ(CSMTPConnection::CramMD5Answer("tim", "tanstaaftanstaaf",
                                              "PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+"),
               "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw");
}

// What a client run on its own thread (as the problem report runs it) ends with.
struct Outcome {
  BOOL connected = FALSE, sent = FALSE;
  DWORD error = 0;
  CString lastReply;
};

// Connects with the given user (none when null) and sends one message when connected.
Outcome RunClient(int port, const char* user, const char* password) {
  Outcome outcome;
  std::thread client([&] {
    CSMTPConnection connection;
    outcome.connected = connection.Connect("127.0.0.1", port, user, password);
    if (outcome.connected) {
      CSMTPMessage message;
      message.m_From = CSMTPAddress("Report Form", "support@example.org");
      message.m_ReplyTo = CSMTPAddress("Ann Lee", "ann@example.org");
      message.AddMultipleRecipients("Support <support@example.org>");
      message.AddRecipient(CSMTPAddress("copy@example.org"), CSMTPMessage::CC);
      message.AddRecipient(CSMTPAddress("blind@example.org"), CSMTPMessage::BCC);
      message.m_sSubject = "Suggestion: more colours";
      message.SetBody("First line\n.\n..two\nlast");
      outcome.sent = connection.SendMessage(message);
    }
    outcome.error = GetLastError();
    outcome.lastReply = connection.GetLastCommandResponse();
  });
  client.join();
  return outcome;
}

// A client run against a server that may never answer: the client waits on the virtual clock,
// which moves by 20 s only while the server has a connection, every 20 ms for at most ten
// seconds: a slow build (under a sanitizer) may take seconds to make its 16 MB before it waits.
struct Clocked {
  bool ended = false;
  BOOL connected = FALSE, sent = FALSE;
  DWORD error = 0;
  int lastReplyLength = 0;
  ULONGLONG moved = 0;
};

// Connects and, when `send`, mails a message of 16 MB (more than the socket buffers hold).
Clocked RunOnClock(FakeSmtpServer& server, bool send) {
  brambolt::ScopedVirtualClock clock;
  Clocked outcome;
  std::atomic<bool> done{false};
  std::thread client([&] {
    CSMTPConnection connection;
    outcome.connected = connection.Connect("127.0.0.1", server.Port());
    if (outcome.connected && send) {
      CSMTPMessage message;
      message.m_From = CSMTPAddress("support@example.org");
      message.AddRecipient(CSMTPAddress("ann@example.org"));
      message.SetBody(CString('x', 16 * 1024 * 1024));
      outcome.sent = connection.SendMessage(message);
    }
    outcome.error = GetLastError();
    outcome.lastReplyLength = connection.GetLastCommandResponse().GetLength();
    done = true;
  });
  for (int step = 0; !done && step < 500;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (server.Accepted() && !done) {
      brambolt::VirtualClock::Advance(20000);
      outcome.moved += 20000;
      ++step;
    }
  }
  outcome.ended = done;
  // A client still waiting is freed by the server's hang-up.
  server.HangUp();
  client.join();
  return outcome;
}

TEST(SMTPConnection, EachAuthMethodLogsInAndTheServerGetsTheWholeMessage) {
  struct Case {
    bool cram, login, plain;
    std::vector<std::string> authCommands;  // commands between EHLO and MAIL FROM, answers masked
  } cases[] = {
      {true, false, false, {"AUTH CRAM-MD5", "*answer*"}},
      {false, true, false, {"AUTH CRAM-MD5", "AUTH LOGIN", "dGlt", "dGFuc3RhYWZ0YW5zdGFhZg=="}},
      {false, false, true, {"AUTH CRAM-MD5", "AUTH LOGIN", "AUTH PLAIN AHRpbQB0YW5zdGFhZnRhbnN0YWFm"}},
  };
  for (const Case& c : cases) {
    FakeSmtpServer::Options options;
    options.cramMd5 = c.cram, options.login = c.login, options.plain = c.plain, options.requireAuth = true;
    FakeSmtpServer server(options);
    const Outcome outcome = RunClient(server.Port(), "tim", "tanstaaftanstaaf");
    ASSERT_TRUE(outcome.connected) << outcome.error;
    EXPECT_TRUE(outcome.sent) << outcome.lastReply;
    EXPECT_TRUE(server.Authenticated());
    std::vector<std::string> commands = server.Commands();
    ASSERT_GE(commands.size(), 1u + c.authCommands.size());
    EXPECT_EQ(commands[0].substr(0, 5), "EHLO ");
    std::vector<std::string> auth(commands.begin() + 1, commands.begin() + 1 + static_cast<long>(c.authCommands.size()));
    if (c.cram) auth[1] = "*answer*";
    EXPECT_EQ(auth, c.authCommands);
    EXPECT_EQ(std::vector<std::string>(commands.end() - 6, commands.end()),
              (std::vector<std::string>{"MAIL FROM:<support@example.org>", "RCPT TO:<support@example.org>",
                                        "RCPT TO:<copy@example.org>", "RCPT TO:<blind@example.org>", "DATA", "QUIT"}));
    ASSERT_EQ(server.Messages().size(), 1u);
    const std::string data = server.Messages()[0];
    std::vector<std::string> header = HeaderLines(data);
    ASSERT_EQ(header.size(), 9u);
    EXPECT_EQ(header[0], "From: Report Form <support@example.org>");
    EXPECT_EQ(header[1], "To: Support <support@example.org>");
    EXPECT_EQ(header[2], "Cc: copy@example.org");
    EXPECT_EQ(header[3], "Subject: Suggestion: more colours");
    EXPECT_EQ(header[4].substr(0, 6), "Date: ");
    EXPECT_EQ(header[5], "X-Mailer: CSMTPConnection v2.00");
    EXPECT_EQ(header[6], "Reply-To: Ann Lee <ann@example.org>");
    EXPECT_EQ(header[7], "MIME-Version: 1.0");
    EXPECT_EQ(header[8], "Content-type: text/plain; charset=US-ASCII");
    // The server undoes the dot-stuffing: the body arrives as written.
    EXPECT_EQ(data.substr(data.find("\r\n\r\n") + 4), "First line\r\n.\r\n..two\r\nlast\r\n");
  }
}

TEST(SMTPConnection, RefusedPasswordFallsBackToHeloAndTheServerRefusesTheMail) {
  FakeSmtpServer::Options options;
  options.requireAuth = true;
  FakeSmtpServer server(options);
  const Outcome outcome = RunClient(server.Port(), "tim", "wrong");
  EXPECT_TRUE(outcome.connected);
  EXPECT_FALSE(outcome.sent);
  EXPECT_EQ(outcome.error, 22u);
  EXPECT_STREQ(outcome.lastReply, "530 5.7.0 Authentication required");
  EXPECT_FALSE(server.Authenticated());
  const std::vector<std::string> commands = server.Commands();
  ASSERT_GE(commands.size(), 7u);
  EXPECT_EQ(commands[3], "AUTH LOGIN");
  EXPECT_EQ(commands[6], "AUTH PLAIN AHRpbQB3cm9uZw==");
  EXPECT_EQ(commands[7].substr(0, 5), "HELO ");
}

TEST(SMTPConnection, WithoutUserNameTheClientSaysHeloAndKeepsALongMultiLineReply) {
  FakeSmtpServer::Options options;
  options.extraHelloLines = 30;
  FakeSmtpServer server(options);
  std::thread client([&] {
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", server.Port()));
    const CString reply = connection.GetLastCommandResponse();
    EXPECT_GT(reply.GetLength(), 600);
    EXPECT_STREQ(reply.Left(31), "250-line 0 of a long reply\r\n250");
    EXPECT_STREQ(reply.Right(15), "\r\n250 localhost");
    EXPECT_EQ(connection.GetLastCommandResponseCode(), 250);
    EXPECT_TRUE(connection.Disconnect());
  });
  client.join();
  const std::vector<std::string> commands = server.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].substr(0, 5), "HELO ");
  EXPECT_EQ(commands[1], "QUIT");
}

TEST(SMTPConnection, AServerThatClosesOrNeverAnswersEndsTheConnectWithItsCause) {
  {
    FakeSmtpServer::Options options;
    options.misbehave = "hello";
    FakeSmtpServer server(options);
    const Outcome outcome = RunClient(server.Port(), nullptr, nullptr);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(outcome.error, static_cast<DWORD>(WSAECONNRESET));
  }
  {
    FakeSmtpServer::Options options;
    options.misbehave = "greeting";
    FakeSmtpServer server(options);
    const Clocked outcome = RunOnClock(server, false);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(outcome.error, static_cast<DWORD>(WSAETIMEDOUT));
    EXPECT_GE(outcome.moved, 60000u);
    // No QUIT was sent into the silence.
    EXPECT_TRUE(server.Commands().empty());
  }
}

TEST(SMTPConnection, AServerThatTricklesFloodsSendsNulOrStopsReadingEndsTheExchangeWithinItsDeadline) {
  struct Case {
    const char* misbehave;
    DWORD error;
  } cases[] = {
      // Bytes that keep coming never make the reply's minute longer.
      {"trickle", WSAETIMEDOUT},
      // An endless line is refused once it passes 512 octets, a NUL byte at once.
      {"flood", ERROR_INVALID_DATA},
      {"nul", ERROR_INVALID_DATA},
      // Data that the server no longer takes is given up when its minute has passed.
      {"stop reading", WSAETIMEDOUT},
  };
  for (const Case& c : cases) {
    FakeSmtpServer::Options options;
    options.misbehave = c.misbehave;
    FakeSmtpServer server(options);
    const Clocked outcome = RunOnClock(server, true);
    EXPECT_TRUE(outcome.ended) << c.misbehave;
    EXPECT_FALSE(outcome.sent) << c.misbehave;
    EXPECT_EQ(outcome.error, c.error) << c.misbehave;
    // The deadline is not shortened either.
    if (c.error == WSAETIMEDOUT) {
      EXPECT_GE(outcome.moved, 60000u) << c.misbehave;
    }
    EXPECT_LT(outcome.lastReplyLength, 2 * 512) << c.misbehave;
  }
}

TEST(SMTPConnection, AttachmentsGoAsBase64PartsInLinesOfSeventySixCharacters) {
  FakeSmtpServer server(FakeSmtpServer::Options{});
  std::string bytes(100, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  std::thread client([&] {
    CSMTPConnection connection;
    ASSERT_TRUE(connection.Connect("127.0.0.1", server.Port()));
    CSMTPMessage message;
    message.m_From = CSMTPAddress("support@example.org");
    message.AddRecipient(CSMTPAddress("ann@example.org"));
    message.SetBody("See the file.");
    CSMTPAttachment attachment;
    attachment.Encode(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    attachment.m_sContentName = attachment.m_sFileName = "data.bin";
    message.AddAttachment(&attachment);
    EXPECT_TRUE(connection.SendMessage(message));
  });
  client.join();
  ASSERT_EQ(server.Messages().size(), 1u);
  const std::string data = server.Messages()[0];
  EXPECT_NE(data.find("Content-type: multipart/mixed; boundary=\"#BOUNDARY#\"\r\n\r\n"), std::string::npos);
  EXPECT_NE(data.find("\r\n--#BOUNDARY#\r\nContent-type: text/plain; charset=US-ASCII\r\n\r\nSee the file."),
            std::string::npos);
  const std::string partHead =
      "--#BOUNDARY#\r\nContent-Type: application/octet-stream; name=\"data.bin\"\r\n"
      "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"data.bin\"\r\n\r\n";
  const size_t part = data.find(partHead);
  ASSERT_NE(part, std::string::npos);
  const size_t end = data.find("\r\n--#BOUNDARY#--", part);
  ASSERT_NE(end, std::string::npos);
  const std::string encoded = data.substr(part + partHead.size(), end - part - partHead.size());
  EXPECT_EQ(encoded.find("\r\n"), 76u);
  CBase64Coder coder;
  coder.Decode(encoded.c_str());
  EXPECT_EQ(std::string(coder.GetDecodedText(), coder.GetDecodedSize()), bytes);
}

TEST(SMTPConnection, ARefusedConnectionFailsWithTheSocketError) {
  // A port nobody listens on: the one of a server already gone.
  int port;
  { port = FakeSmtpServer(FakeSmtpServer::Options()).Port(); }
  const Outcome outcome = RunClient(port, nullptr, nullptr);
  EXPECT_FALSE(outcome.connected);
  EXPECT_EQ(outcome.error, static_cast<DWORD>(WSAECONNREFUSED));
}

}  // namespace
