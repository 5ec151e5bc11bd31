// Fuzz target: the .dcp project file, in both of its layouts.
#include <cstdint>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "model/CWorkSpaceObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool bSettings : {false, true}) {
    CMemFile file;
    fuzz::Fill(file, data, size);
    fuzz::LeaksIgnored leaks;
    CWorkSpaceObj project;
    try {
      CArchive ar(&file, CArchive::load);
      if (bSettings)
        project.SerializeSettings(ar);
      else
        project.Serialize(ar);
    } catch (CException* e) {
      e->Delete();
    }
  }
  return 0;
}
