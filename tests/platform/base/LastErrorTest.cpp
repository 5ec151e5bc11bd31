#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "base/base.h"

namespace {

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  DWORD seenByOther = 1;
  std::thread other([&] {
    seenByOther = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
  });
  other.join();
  EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

struct ErrnoCase {
  int error;
  DWORD win32;
};

TEST(LastError, ErrnoMapsToWin32Codes) {
  const ErrnoCase cases[] = {{0, 0},           {ENOENT, 2},        {ENOTDIR, 3},       {EACCES, 5},
                             {EBADF, 6},        {ENOMEM, 8},        {EEXIST, 183},      {EINVAL, 87},
                             {ENOTEMPTY, 145},  {ENOSPC, 112},      {ENOSYS, 120},      {ECONNREFUSED, 10061},
                             {ETIMEDOUT, 10060}, {ECONNRESET, 10054}, {EHOSTUNREACH, 10065}};
  for (const auto& c : cases) EXPECT_EQ(ErrnoToWin32Error(c.error), c.win32) << c.error;
}

TEST(LastError, SocketErrnosMapToWinsockCodes) {
  const ErrnoCase cases[] = {{EINVAL, 10022},      {EPROTONOSUPPORT, 10043}, {ETIMEDOUT, 10060},
                             {ECONNREFUSED, 10061}, {EWOULDBLOCK, 10035},    {EINTR, 10004},
                             {EBADF, 10009},       {EACCES, 10013}};
  for (const auto& c : cases) EXPECT_EQ(ErrnoToWinsockError(c.error), c.win32) << c.error;
}

}  // namespace
