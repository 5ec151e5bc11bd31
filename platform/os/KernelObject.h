// The process's table of kernel handles: files, searches, events, threads, mutexes and the other
// objects that Win32 names by a HANDLE and closes with CloseHandle.
#pragma once

#include <memory>

#include "base/WinTypes.h"

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

namespace brambolt {

// Base of every object named by a kernel handle. The object lives while a handle or a caller
// holds it: CloseHandle drops the table's reference, a wait in progress keeps its own.
class KernelObject {
 public:
  enum class Type {
    File,
    FindSearch,
    Event,
    Mutex,
    Semaphore,
    Thread,
    Process,
    ChangeNotification,
    Timer,
    Other,
  };

  explicit KernelObject(Type type) : m_type(type) {}
  virtual ~KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;

  Type GetType() const { return m_type; }

 private:
  Type m_type;
};

// Enters an object in the table and returns its new handle (never NULL nor
// INVALID_HANDLE_VALUE; a closed handle's value is not given out again).
HANDLE AllocHandle(std::shared_ptr<KernelObject> object);

// The object of a handle, or null when the handle is not open.
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);

// The object of a handle when it is of the given type, else null.
template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle, KernelObject::Type type) {
  std::shared_ptr<KernelObject> object = LookupHandle(handle);
  if (!object || object->GetType() != type) return nullptr;
  return std::static_pointer_cast<T>(object);
}

// Takes a handle out of the table and returns its object; null when it was not open or `accept`
// refuses its object (the handle then stays open).
std::shared_ptr<KernelObject> ReleaseHandle(HANDLE handle,
                                            bool (*accept)(const KernelObject&) = nullptr);

}  // namespace brambolt

// Closes a kernel handle; FALSE with ERROR_INVALID_HANDLE when it is not open. Search handles
// are closed by FindClose.
BOOL CloseHandle(HANDLE hObject);
