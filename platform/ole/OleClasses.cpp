// The table of the program's own COM classes.
#include "ole/OleClasses.h"

#include "ole/RegExpObject.h"

namespace brambolt::ole {

std::span<const BuiltInClass> BuiltInClasses() {
  static const BuiltInClass classes[] = {
      {CLSID_RegExp, "VBScript.RegExp", MakeRegExp},
  };
  return classes;
}

}  // namespace brambolt::ole
