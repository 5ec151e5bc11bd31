// CVersion: the build, the system the program runs on and the program's version, for support
// reports (the problem report and the About box).
#pragma once

#include "core/CString.h"

class CVersion {
 public:
  CVersion();
  virtual ~CVersion() = default;

  CString GetBuild() const { return m_strBuild; }
  // The real system: "Linux 6.1.0-18-amd64 (Debian GNU/Linux 12 (bookworm))", the kernel's name
  // and release, then the distribution's name and version.
  CString GetOSVersion() const;
  // The program's own four-part version, "3.3.0.1219": the build text's part after its "V".
  CString GetProgramVersion() const;

 private:
  CString m_strBuild;
};
