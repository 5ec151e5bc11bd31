// CVersion: the build, the operating system and the common-controls version, for support
// reports (the problem report and the About box).
#pragma once

#include "core/CString.h"
#include "os/SystemInfo.h"

class CVersion {
 public:
  CVersion();
  virtual ~CVersion() = default;

  CString GetBuild() const { return m_strBuild; }
  // "Windows NT 5.0.2195 Service Pack 4": the name, then major.minor.build and the service pack.
  CString GetOSVersion() const;
  // "major.minor.build" of the common-controls library, empty when it has no version export.
  CString GetComCtlVersion() const;

  // The operating-system text for a version record; an unknown platform has an empty name.
  static CString FormatOSVersion(const OSVERSIONINFO& info);

 private:
  CString m_strBuild;
};
