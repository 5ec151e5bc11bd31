// The C runtime's file functions and text-mode streams over the path rules.
#include "os/CrtFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "os/FileApi.h"
#include "os/FindFile.h"
#include "os/Paths.h"

using brambolt::NativePath;

namespace {

void CopyPart(char* out, std::string_view part, std::size_t capacity) {
  if (!out) return;
  const std::size_t n = std::min(part.size(), capacity - 1);
  if (n > 0) std::memcpy(out, part.data(), n);
  out[n] = '\0';
}

int StatInto(const char* path, struct _stati64* buffer) {
  if (!path || !buffer) {
    errno = EINVAL;
    return -1;
  }
  struct stat st;
  const std::string native = NativePath(path);
  if (native.empty() || ::stat(native.c_str(), &st) != 0) {
    if (native.empty()) errno = ENOENT;
    return -1;
  }
  *buffer = {};
  buffer->st_dev = st.st_dev;
  buffer->st_ino = st.st_ino;
  buffer->st_mode = static_cast<unsigned short>(st.st_mode);
  buffer->st_nlink = static_cast<short>(st.st_nlink);
  buffer->st_uid = st.st_uid;
  buffer->st_gid = st.st_gid;
  buffer->st_rdev = st.st_rdev;
  buffer->st_size = S_ISDIR(st.st_mode) ? 0 : st.st_size;
  buffer->st_atime = st.st_atime;
  buffer->st_mtime = st.st_mtime;
  buffer->st_ctime = st.st_ctime;
  return 0;
}

}  // namespace

int _stat(const char* path, struct _stat* buffer) { return StatInto(path, buffer); }
int _stati64(const char* path, struct _stati64* buffer) { return StatInto(path, buffer); }

int _access(const char* path, int mode) {
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  const int how = ((mode & 2) ? W_OK : 0) | ((mode & 4) ? R_OK : 0);
  const std::string native = NativePath(path);
  return ::access(native.empty() ? "" : native.c_str(), how ? how : F_OK);
}

int _mkdir(const char* dirname) { return dirname ? ::mkdir(NativePath(dirname).c_str(), 0777) : (errno = EINVAL, -1); }
int _rmdir(const char* dirname) { return dirname ? ::rmdir(NativePath(dirname).c_str()) : (errno = EINVAL, -1); }
int _chdir(const char* dirname) { return dirname ? ::chdir(NativePath(dirname).c_str()) : (errno = EINVAL, -1); }

int _unlink(const char* filename) {
  if (!filename) {
    errno = EINVAL;
    return -1;
  }
  const std::string native = NativePath(filename);
  struct stat st;
  if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EACCES;
    return -1;
  }
  return ::unlink(native.c_str());
}

char* _getcwd(char* buffer, int maxlen) {
  const DWORD needed = GetCurrentDirectory(0, nullptr);
  if (needed == 0) return nullptr;
  if (!buffer) {
    const std::size_t size = std::max<std::size_t>(needed, maxlen > 0 ? static_cast<std::size_t>(maxlen) : 0);
    buffer = static_cast<char*>(std::malloc(size));
    if (!buffer) {
      errno = ENOMEM;
      return nullptr;
    }
    GetCurrentDirectory(static_cast<DWORD>(size), buffer);
    return buffer;
  }
  if (maxlen <= 0 || static_cast<DWORD>(maxlen) < needed) {
    errno = ERANGE;
    return nullptr;
  }
  GetCurrentDirectory(static_cast<DWORD>(maxlen), buffer);
  return buffer;
}

char* _fullpath(char* absPath, const char* relPath, std::size_t maxLength) {
  if (!relPath || !*relPath) return _getcwd(absPath, static_cast<int>(maxLength));
  const DWORD needed = GetFullPathName(relPath, 0, nullptr, nullptr);
  if (needed == 0) return nullptr;
  const bool allocate = !absPath;
  if (allocate) {
    maxLength = std::max<std::size_t>(needed, maxLength);
    absPath = static_cast<char*>(std::malloc(maxLength));
    if (!absPath) {
      errno = ENOMEM;
      return nullptr;
    }
  }
  if (maxLength < needed) {
    errno = ERANGE;
    return nullptr;
  }
  GetFullPathName(relPath, static_cast<DWORD>(maxLength), absPath, nullptr);
  return absPath;
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  std::string_view rest(path ? path : "");
  std::string_view driveText;
  if (rest.size() >= 2 && rest[1] == ':' && !brambolt::IsPathLeadByte(static_cast<unsigned char>(rest[0]))) {
    driveText = rest.substr(0, 2);
    rest.remove_prefix(2);
  }
  const std::size_t cut = brambolt::FindLastPathSeparator(rest);
  const std::string_view dirText = cut == std::string_view::npos ? std::string_view() : rest.substr(0, cut + 1);
  const std::string_view name = cut == std::string_view::npos ? rest : rest.substr(cut + 1);
  // The extension starts at the last dot that is a character of its own.
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); i = brambolt::NextCharacter(name, i))
    if (name[i] == '.') dot = i;
  CopyPart(drive, driveText, _MAX_DRIVE);
  CopyPart(dir, dirText, _MAX_DIR);
  CopyPart(fname, dot == std::string_view::npos ? name : name.substr(0, dot), _MAX_FNAME);
  CopyPart(ext, dot == std::string_view::npos ? std::string_view() : name.substr(dot), _MAX_EXT);
}

void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
  if (!path) return;
  std::string out;
  if (drive && *drive) {
    out += drive[0];
    out += ':';
  }
  if (dir && *dir) {
    out += dir;
    if (!brambolt::IsPathSeparatorAt(out, out.size() - 1)) out += '\\';
  }
  if (fname) out += fname;
  if (ext && *ext) {
    if (*ext != '.') out += '.';
    out += ext;
  }
  CopyPart(path, out, _MAX_PATH);
}

namespace {

void ToFindData(const WIN32_FIND_DATA& data, struct _finddata_t* info) {
  auto seconds = [](const FILETIME& t) {
    std::int64_t s;
    long ns;
    brambolt::UnixFromFileTime(t, s, ns);
    return static_cast<time_t>(s);
  };
  info->attrib = data.dwFileAttributes & ~static_cast<unsigned>(FILE_ATTRIBUTE_NORMAL);
  info->time_create = seconds(data.ftCreationTime);
  info->time_access = seconds(data.ftLastAccessTime);
  info->time_write = seconds(data.ftLastWriteTime);
  info->size = data.nFileSizeLow;
  std::memcpy(info->name, data.cFileName, sizeof info->name);
}

}  // namespace

intptr_t _findfirst(const char* filespec, struct _finddata_t* fileinfo) {
  if (!filespec || !fileinfo) {
    errno = EINVAL;
    return -1;
  }
  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile(filespec, &data);
  if (h == INVALID_HANDLE_VALUE) {
    errno = ENOENT;
    return -1;
  }
  ToFindData(data, fileinfo);
  return reinterpret_cast<intptr_t>(h);
}

int _findnext(intptr_t handle, struct _finddata_t* fileinfo) {
  WIN32_FIND_DATA data;
  if (!fileinfo || !FindNextFile(reinterpret_cast<HANDLE>(handle), &data)) {
    errno = ENOENT;
    return -1;
  }
  ToFindData(data, fileinfo);
  return 0;
}

int _findclose(intptr_t handle) {
  if (!FindClose(reinterpret_cast<HANDLE>(handle))) {
    errno = ENOENT;
    return -1;
  }
  return 0;
}

namespace brambolt {

namespace {

// A text-mode stream over a file descriptor: CR LF reads as LF, LF writes as CR LF, and a
// Ctrl-Z ends what can be read, as the Windows runtime does.
struct TextStream {
  int fd;
  std::vector<char> raw = std::vector<char>(1 << 14);
  std::size_t pos = 0;  // next unread byte of raw
  std::size_t len = 0;  // bytes of raw filled
  bool ended = false;   // a Ctrl-Z was read

  // Keeps the unread bytes, appends more from the file; false at the end of the file or on error.
  bool Refill() {
    std::memmove(raw.data(), raw.data() + pos, len - pos);
    len -= pos;
    pos = 0;
    for (;;) {
      const ssize_t n = ::read(fd, raw.data() + len, raw.size() - len);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      len += static_cast<std::size_t>(n);
      return true;
    }
  }
};

ssize_t TextRead(void* cookie, char* buffer, size_t size) {
  auto* s = static_cast<TextStream*>(cookie);
  std::size_t out = 0;
  while (out < size && !s->ended) {
    if (s->pos == s->len && !s->Refill()) break;
    const char c = s->raw[s->pos];
    if (c == 0x1A) {
      s->ended = true;
      break;
    }
    if (c == '\r') {
      if (s->pos + 1 == s->len) s->Refill();  // to see what follows the CR
      if (s->pos + 1 < s->len && s->raw[s->pos + 1] == '\n') {
        ++s->pos;
        continue;
      }
    }
    buffer[out++] = c;
    ++s->pos;
  }
  return static_cast<ssize_t>(out);
}

ssize_t TextWrite(void* cookie, const char* buffer, size_t size) {
  auto* s = static_cast<TextStream*>(cookie);
  if (s->pos < s->len) {
    // Writing after reading: the file position goes back to where the reader stands.
    ::lseek(s->fd, -static_cast<off_t>(s->len - s->pos), SEEK_CUR);
    s->pos = s->len = 0;
  }
  std::string out;
  out.reserve(size + size / 16);
  for (std::size_t i = 0; i < size; ++i) {
    if (buffer[i] == '\n') out += '\r';
    out += buffer[i];
  }
  const char* p = out.data();
  std::size_t left = out.size();
  while (left > 0) {
    const ssize_t n = ::write(s->fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(size);
}

int TextSeek(void* cookie, off64_t* position, int whence) {
  auto* s = static_cast<TextStream*>(cookie);
  off_t offset = static_cast<off_t>(*position);
  if (whence == SEEK_CUR) {
    // The file is ahead of the reader by what is buffered here.
    offset += ::lseek(s->fd, 0, SEEK_CUR) - static_cast<off_t>(s->len - s->pos);
    whence = SEEK_SET;
  }
  const off_t result = ::lseek(s->fd, offset, whence);
  if (result < 0) return -1;
  s->pos = s->len = 0;
  s->ended = false;
  *position = result;
  return 0;
}

int TextClose(void* cookie) {
  auto* s = static_cast<TextStream*>(cookie);
  const int result = ::close(s->fd);
  delete s;
  return result;
}

}  // namespace

FILE* OpenStdioFile(const char* path, const char* mode) {
  if (!path || !mode) {
    errno = EINVAL;
    return nullptr;
  }
  int flags = 0;
  bool plus = false, binary = false, exclusive = false;
  switch (mode[0]) {
    case 'r': flags = O_RDONLY; break;
    case 'w': flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case 'a': flags = O_WRONLY | O_CREAT | O_APPEND; break;
    default: errno = EINVAL; return nullptr;
  }
  for (const char* m = mode + 1; *m && *m != ','; ++m) {
    if (*m == '+') plus = true;
    if (*m == 'b') binary = true;
    if (*m == 'x') exclusive = true;
  }
  if (plus) flags = (flags & ~O_WRONLY & ~O_RDONLY) | O_RDWR;
  if (exclusive) flags |= O_EXCL;
  const std::string native = NativePath(path);
  const int fd = ::open(native.empty() ? "" : native.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::string posixMode(1, mode[0]);
  if (plus) posixMode += '+';
  FILE* stream = nullptr;
  if (binary) {
    stream = ::fdopen(fd, posixMode.c_str());
  } else {
    auto* cookie = new TextStream{fd};
    stream = ::fopencookie(cookie, posixMode.c_str(), {TextRead, TextWrite, TextSeek, TextClose});
    if (!stream) delete cookie;
  }
  if (!stream) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
  return stream;
}

}  // namespace brambolt
