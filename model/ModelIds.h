// The numbers the project model shares with its readers: member access, output language and
// the kinds of the explorer's class-tree items.
#pragma once

// Access of a member: the id of the last access label seen in its class (private before any).
enum {
  MEMBER_PROTECTED = 1000,
  MEMBER_PRIVATE = 1001,
  MEMBER_PUBLIC = 1002,
};

// Output language of the documentation: it chooses the output folder, charset and page texts.
enum {
  LANGUAGE_CHS = 1000,  // Simplified Chinese, GB2312, "Output_Chs"
  LANGUAGE_CHT = 1001,  // Traditional Chinese, Big5, "Output_GB5"
  LANGUAGE_ENG = 1002,  // English, "Output_Eng"
};

// What a class-tree item stands for.
enum {
  FINDITEM_CLASS = 1000,
  FINDITEM_FUNCTION = 1001,
  FINDITEM_VARIABLE = 1002,
};
