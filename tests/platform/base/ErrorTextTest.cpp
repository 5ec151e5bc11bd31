#include <gtest/gtest.h>

#include <string>

#include "base/base.h"

namespace {

std::string SystemMessage(DWORD code, DWORD extraFlags = 0) {
  char buffer[512] = {};
  DWORD n = FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM | extraFlags, nullptr, code, 0, buffer, sizeof(buffer), nullptr);
  return std::string(buffer, n);
}

TEST(FormatMessage, SystemCodesHaveEnglishTexts) {
  const struct {
    DWORD code;
    const char* text;
  } cases[] = {
      {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
      {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
      {ERROR_NO_MORE_ITEMS, "No more data is available.\r\n"},
      {WSAECONNREFUSED, "No connection could be made because the target machine actively refused it.\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(SystemMessage(c.code), c.text) << c.code;
  EXPECT_EQ(SystemMessage(ERROR_ACCESS_DENIED, FORMAT_MESSAGE_MAX_WIDTH_MASK), "Access is denied.");
}

TEST(FormatMessage, EveryCodeTheModulesUseHasAText) {
  for (DWORD code : {2u, 3u, 5u, 6u, 8u, 53u, 80u, 87u, 120u, 122u, 145u, 183u, 234u, 259u, 10022u, 10043u,
                     10060u, 10061u})
    EXPECT_FALSE(SystemMessage(code).empty()) << code;
}

TEST(FormatMessage, UnknownCodeFails) {
  char buffer[64];
  SetLastError(0);
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 0, buffer, sizeof(buffer), nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
}

TEST(FormatMessage, TooSmallBufferFails) {
  char buffer[8];
  SetLastError(0);
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, 0, buffer, sizeof(buffer), nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

std::string FromString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char* text = nullptr;
  DWORD n = FormatMessage(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, format, 0, 0,
                          reinterpret_cast<LPSTR>(&text), 0, &args);
  va_end(args);
  std::string result = n ? std::string(text, n) : std::string("<failed>");
  LocalFree(text);
  return result;
}

TEST(FormatMessage, StringInsertsTakeArgumentsByNumber) {
  EXPECT_EQ(FromString("%2 before %1", "one", "two"), "two before one");
  EXPECT_EQ(FromString("%1!d! items, %2!04X!", 42, 0xAB), "42 items, 00AB");
  EXPECT_EQ(FromString("line%nnext%0ignored"), "line\r\nnext");
  EXPECT_EQ(FromString("100%% sure%!"), "100% sure!");
  EXPECT_EQ(FromString("%1!S!", u"wide"), "wide");
}

TEST(FormatMessage, ArgumentArraysAndIgnoredInserts) {
  DWORD_PTR values[] = {reinterpret_cast<DWORD_PTR>("file.txt"), 7};
  char buffer[64];
  DWORD n = FormatMessage(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1 line %2!u!", 0, 0, buffer,
                          sizeof(buffer), reinterpret_cast<va_list*>(values));
  EXPECT_EQ(std::string(buffer, n), "file.txt line 7");
  n = FormatMessage(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, "%1 stays %2!d!", 0, 0, buffer,
                    sizeof(buffer), nullptr);
  EXPECT_EQ(std::string(buffer, n), "%1 stays %2!d!");
}

}  // namespace
