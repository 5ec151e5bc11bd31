// The version report.
#include "app/CVersion.h"

#include "os/SystemInfo.h"

CVersion::CVersion() : m_strBuild("Build 12/19/2001 V3.3.0.1219") {}

CString CVersion::GetOSVersion() const { return brambolt::DescribeSystem().c_str(); }

CString CVersion::GetProgramVersion() const { return m_strBuild.Mid(m_strBuild.ReverseFind('V') + 1); }
