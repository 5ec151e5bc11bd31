// Fuzz target: CArchive reading objects of any serialisable class by name, strings and counts.
#include <cstdint>

#include "FuzzSupport.h"
#include "afx/afx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMemFile file;
  fuzz::Fill(file, data, size);
  fuzz::LeaksIgnored leaks;
  try {
    CArchive ar(&file, CArchive::load);
    CObList objects;
    objects.Serialize(ar);
    CString text;
    ar >> text;
    CStringList strings;
    strings.Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
  }
  return 0;
}
