// FormatMessage and the English texts of the system error codes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/Convert.h"
#include "base/GlobalMemory.h"
#include "base/LastError.h"

namespace {

struct ErrorText {
  DWORD code;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command."},
    {ERROR_INVALID_DATA, "The data is invalid."},
    {ERROR_OUTOFMEMORY, "Not enough storage is available to complete this operation."},
    {ERROR_INVALID_DRIVE, "The system cannot find the drive specified."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     "The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_BAD_NETPATH, "The network path was not found."},
    {ERROR_DEV_NOT_EXIST, "The specified network resource or device is no longer available."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_CANNOT_MAKE, "The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, "The pipe has been ended."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found."},
    {ERROR_NEGATIVE_SEEK, "An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_SEEK_ON_DEVICE, "The file pointer cannot be set on the specified device or file."},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
    {ERROR_NOT_LOCKED, "The segment is already unlocked."},
    {ERROR_BUSY, "The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_ENVVAR_NOT_FOUND, "The system could not find the environment option that was entered."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_FILE_TOO_LARGE, "The file size exceeds the limit allowed and cannot be saved."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_NO_MORE_ITEMS, "No more data is available."},
    {258, "The wait operation timed out."},  // WAIT_TIMEOUT, also a wait result
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_TOO_MANY_POSTS, "Too many posts were made to a semaphore."},
    {ERROR_ARITHMETIC_OVERFLOW, "Arithmetic result exceeded 32 bits."},
    {ERROR_OPERATION_ABORTED,
     "The I/O operation has been aborted because of either a thread exit or an application request."},
    {ERROR_NOACCESS, "Invalid access to memory location."},
    {ERROR_INVALID_FLAGS, "Invalid flags."},
    {ERROR_BADDB, "The configuration registry database is corrupt."},
    {ERROR_BADKEY, "The configuration registry key is invalid."},
    {ERROR_CANTOPEN, "The configuration registry key could not be opened."},
    {ERROR_CANTREAD, "The configuration registry key could not be read."},
    {ERROR_CANTWRITE, "The configuration registry key could not be written."},
    {ERROR_KEY_DELETED, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_CHILD_MUST_BE_VOLATILE, "Cannot create a stable subkey under a volatile parent key."},
    {ERROR_NO_ASSOCIATION, "No application is associated with the specified file for this operation."},
    {ERROR_NO_UNICODE_TRANSLATION, "No mapping for the Unicode character exists in the target multi-byte code page."},
    {ERROR_IO_DEVICE, "The request could not be performed because of an I/O device error."},
    {ERROR_NOT_FOUND, "Element not found."},
    {ERROR_CANCELLED, "The operation was canceled by the user."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle."},
    {ERROR_TIMEOUT, "This operation returned because the timeout period expired."},
    {ERROR_CANT_RESOLVE_FILENAME, "The name of the file cannot be resolved by the system."},
    {WSAEINTR, "A blocking operation was interrupted by a call to WSACancelBlockingCall."},
    {WSAEBADF, "The file handle supplied is not valid."},
    {WSAEACCES, "An attempt was made to access a socket in a way forbidden by its access permissions."},
    {WSAEFAULT, "The system detected an invalid pointer address in attempting to use a pointer argument in a call."},
    {WSAEINVAL, "An invalid argument was supplied."},
    {WSAEMFILE, "Too many open sockets."},
    {WSAEWOULDBLOCK, "A non-blocking socket operation could not be completed immediately."},
    {WSAEINPROGRESS, "A blocking operation is currently executing."},
    {WSAEALREADY, "An operation was attempted on a non-blocking socket that already had an operation in progress."},
    {WSAENOTSOCK, "An operation was attempted on something that is not a socket."},
    {WSAEDESTADDRREQ, "A required address was omitted from an operation on a socket."},
    {WSAEPROTOTYPE,
     "A protocol was specified in the socket function call that does not support the semantics of the socket type "
     "requested."},
    {WSAENOPROTOOPT,
     "An unknown, invalid, or unsupported option or level was specified in a getsockopt or setsockopt call."},
    {WSAEPROTONOSUPPORT,
     "The requested protocol has not been configured into the system, or no implementation for it exists."},
    {WSAESOCKTNOSUPPORT, "The support for the specified socket type does not exist in this address family."},
    {WSAEOPNOTSUPP, "The attempted operation is not supported for the type of object referenced."},
    {WSAEAFNOSUPPORT, "An address incompatible with the requested protocol was used."},
    {WSAEADDRINUSE, "Only one usage of each socket address (protocol/network address/port) is normally permitted."},
    {WSAEADDRNOTAVAIL, "The requested address is not valid in its context."},
    {WSAENETDOWN, "A socket operation encountered a dead network."},
    {WSAENETUNREACH, "A socket operation was attempted to an unreachable network."},
    {WSAECONNABORTED, "An established connection was aborted by the software in your host machine."},
    {WSAECONNRESET, "An existing connection was forcibly closed by the remote host."},
    {WSAENOBUFS,
     "An operation on a socket could not be performed because the system lacked sufficient buffer space or because "
     "a queue was full."},
    {WSAEISCONN, "A connect request was made on an already connected socket."},
    {WSAENOTCONN,
     "A request to send or receive data was disallowed because the socket is not connected and (when sending on a "
     "datagram socket using a sendto call) no address was supplied."},
    {WSAESHUTDOWN,
     "A request to send or receive data was disallowed because the socket had already been shut down in that "
     "direction with a previous shutdown call."},
    {WSAETIMEDOUT,
     "A connection attempt failed because the connected party did not properly respond after a period of time, or "
     "established connection failed because connected host has failed to respond."},
    {WSAECONNREFUSED, "No connection could be made because the target machine actively refused it."},
    {WSAEHOSTDOWN, "A socket operation failed because the destination host was down."},
    {WSAEHOSTUNREACH, "A socket operation was attempted to an unreachable host."},
    {WSASYSNOTREADY,
     "WSAStartup cannot function at this time because the underlying system it uses to provide network services is "
     "currently unavailable."},
    {WSAVERNOTSUPPORTED, "The Windows Sockets version requested is not supported."},
    {WSANOTINITIALISED, "Either the application has not called WSAStartup, or WSAStartup failed."},
    {WSAHOST_NOT_FOUND, "No such host is known."},
    {WSATRY_AGAIN,
     "This is usually a temporary error during hostname resolution and means that the local server did not receive "
     "a response from an authoritative server."},
    {WSANO_RECOVERY, "A non-recoverable error occurred during a database lookup."},
    {WSANO_DATA, "The requested name is valid, but no data of the requested type was found."},
};

const char* SystemText(DWORD code) {
  for (const auto& entry : kTexts)
    if (entry.code == code) return entry.text;
  return nullptr;
}

// Supplies insert arguments by index from either an array or a va_list read in order.
class Arguments {
 public:
  Arguments(va_list* list, bool isArray) : list_(list), isArray_(isArray) {}

  bool Get(unsigned index, DWORD_PTR& value) {
    if (list_ == nullptr || index == 0) return false;
    if (isArray_) {
      value = reinterpret_cast<const DWORD_PTR*>(list_)[index - 1];
      return true;
    }
    while (read_.size() < index) read_.push_back(va_arg(*list_, DWORD_PTR));
    value = read_[index - 1];
    return true;
  }

 private:
  va_list* list_;
  bool isArray_;
  std::vector<DWORD_PTR> read_;
};

std::string FormatInsert(const std::string& spec, DWORD_PTR value) {
  // The conversion is a printf one such as "s", "5d" or "08lX"; size prefixes are Windows
  // sizes, so 'l' means 32 bits and I64 or ll means 64.
  std::string conversion = spec;
  bool wide64 = false;
  for (const char* prefix : {"I64", "ll"}) {
    size_t at = conversion.find(prefix);
    if (at != std::string::npos) {
      conversion.erase(at, std::strlen(prefix));
      wide64 = true;
    }
  }
  bool wideText = false;
  size_t l = conversion.find_first_of("lh");
  if (l != std::string::npos) {
    wideText = conversion[l] == 'l';
    conversion.erase(l, 1);
  }
  char type = conversion.empty() ? 's' : conversion.back();
  if (type == 'S') {
    wideText = true;
    conversion.back() = 's';
    type = 's';
  }
  std::string format = "%" + conversion;
  char buffer[512];
  switch (type) {
    case 's': {
      if (wideText) {
        std::string text = brambolt::WideToAnsi(reinterpret_cast<const WCHAR*>(value));
        std::snprintf(buffer, sizeof(buffer), format.c_str(), text.c_str());
      } else {
        std::snprintf(buffer, sizeof(buffer), format.c_str(), reinterpret_cast<const char*>(value));
      }
      break;
    }
    case 'd':
    case 'i':
    case 'c':
      if (wide64) {
        format.insert(format.size() - 1, "ll");
        std::snprintf(buffer, sizeof(buffer), format.c_str(), static_cast<long long>(value));
      } else {
        std::snprintf(buffer, sizeof(buffer), format.c_str(), static_cast<int>(value));
      }
      break;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
      if (wide64) {
        format.insert(format.size() - 1, "ll");
        std::snprintf(buffer, sizeof(buffer), format.c_str(), static_cast<unsigned long long>(value));
      } else {
        std::snprintf(buffer, sizeof(buffer), format.c_str(), static_cast<unsigned>(value));
      }
      break;
    case 'p':
      std::snprintf(buffer, sizeof(buffer), format.c_str(), reinterpret_cast<void*>(value));
      break;
    default:
      return std::string();
  }
  return buffer;
}

// Expands the template; returns false on a malformed insert or a missing argument.
bool Expand(std::string_view text, DWORD flags, va_list* list, std::string& out) {
  bool ignoreInserts = (flags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
  bool oneLine = (flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) == FORMAT_MESSAGE_MAX_WIDTH_MASK;
  Arguments arguments(list, (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) != 0);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (oneLine && (c == '\r' || c == '\n')) {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (i + 1 < text.size()) out.push_back(' ');
      continue;
    }
    if (c != '%' || i + 1 >= text.size()) {
      out.push_back(c);
      continue;
    }
    char next = text[++i];
    if (next >= '1' && next <= '9') {
      unsigned index = static_cast<unsigned>(next - '0');
      size_t start = i - 1;
      if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
        index = index * 10 + static_cast<unsigned>(text[++i] - '0');
      std::string spec = "s";
      if (i + 1 < text.size() && text[i + 1] == '!') {
        size_t close = text.find('!', i + 2);
        if (close == std::string_view::npos) return false;
        spec = std::string(text.substr(i + 2, close - i - 2));
        i = close;
      }
      if (ignoreInserts) {
        out.append(text.substr(start, i + 1 - start));
        continue;
      }
      DWORD_PTR value = 0;
      if (!arguments.Get(index, value)) return false;
      out += FormatInsert(spec, value);
      continue;
    }
    if (ignoreInserts) {
      out.push_back('%');
      out.push_back(next);
      continue;
    }
    switch (next) {
      case '0': return true;
      case 'n': out += "\r\n"; break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      default: out.push_back(next); break;
    }
  }
  return true;
}

DWORD Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                    va_list* arguments) {
  if (buffer == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::string text;
  if (flags & FORMAT_MESSAGE_FROM_STRING) {
    if (source == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    text = static_cast<const char*>(source);
  } else if (flags & FORMAT_MESSAGE_FROM_SYSTEM) {
    const char* known = SystemText(messageId);
    if (known == nullptr) return Fail(ERROR_MR_MID_NOT_FOUND);
    text = std::string(known) + "\r\n";
  } else {
    return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
  }
  std::string out;
  if (!Expand(text, flags, arguments, out)) return Fail(ERROR_INVALID_PARAMETER);
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    auto* allocated = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, std::max<size_t>(out.size() + 1, size)));
    if (allocated == nullptr) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(allocated, out.c_str(), out.size() + 1);
    *reinterpret_cast<LPSTR*>(buffer) = allocated;
  } else {
    if (out.size() + 1 > size) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
  }
  return static_cast<DWORD>(out.size());
}
