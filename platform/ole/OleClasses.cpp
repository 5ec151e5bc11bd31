// The table of the program's own COM classes.
#include "ole/OleClasses.h"

#include "ole/RegExpObject.h"
#include "ole/ShellLink.h"

namespace brambolt::ole {

std::span<const BuiltInClass> BuiltInClasses() {
  static const BuiltInClass classes[] = {
      {CLSID_RegExp, "VBScript.RegExp", MakeRegExp},
      {CLSID_ShellLink, "", MakeShellLink},
  };
  return classes;
}

}  // namespace brambolt::ole
