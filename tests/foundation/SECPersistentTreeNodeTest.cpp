// Persistent trees: node result codes, typed and binary values, ownership by factories and
// parents, and trees saved and loaded through the INI and registry strategies.
#include "foundation/SECPersistentTreeNode.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/SECPTNStrategy.h"
#include "foundation/SECRegistry.h"
#include "base/CodePage.h"
#include "os/FileFaults.h"
#include "platform/os/TempDir.h"
#include "testing/testing.h"

namespace {

using brambolt::testing_os::ScopedEnv;
using brambolt::testing_os::TempDir;
using namespace std::string_literals;

std::vector<std::string> Items(const CStringList& list) {
  std::vector<std::string> items;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) items.emplace_back(list.GetNext(pos));
  return items;
}

std::string Value(SECPersistentTreeNode& node, const char* key) {
  CString value;
  EXPECT_EQ(node.GetKeyValueString(key, value), 0u) << key;
  return std::string(value);
}

std::vector<std::string> ChildNames(const SECPersistentTreeNode& node) {
  CStringList names;
  node.GetChildNames(names);
  return Items(names);
}

// The whole tree as text: each node's name, its pairs in order and its children, every byte
// shown (so a blank, quote, line end or NUL that changed shows).
struct PairsOf : SECPersistentTreeNode {
  // A pointer to the protected member, read through any node.
  static const CPtrList& Of(const SECPersistentTreeNode& node) { return node.*(&PairsOf::m_pairs); }
};

std::string Shown(const CString& text) {
  std::string out = "<";
  for (int i = 0; i < text.GetLength(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c >= 0x7F || c == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + ">";
}

std::string Dump(const SECPersistentTreeNode& node) {
  std::string out = Shown(node.GetNodeName()) + "{";
  const CPtrList& pairs = PairsOf::Of(node);
  for (POSITION pos = pairs.GetHeadPosition(); pos != nullptr;) {
    const auto* pair = static_cast<const SECPersistentTreeNode::SECPersTreeNodeKeyValuePair*>(pairs.GetNext(pos));
    out += Shown(pair->m_strKey) + "=" + Shown(pair->m_strValue) + " ";
  }
  CStringList children;
  node.GetChildNames(children);
  for (POSITION pos = children.GetHeadPosition(); pos != nullptr;) out += Dump(*node.FindChild(children.GetNext(pos)));
  return out + "}";
}

class CreatedNode : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(node.Create("Root", nullptr), 0u); }
  SECPersistentTreeNode node;
};

TEST(PersistentTreeNode, CreateReportsItsFaultsAsBits) {
  SECPersistentTreeNode node;
  EXPECT_EQ(node.Create("", nullptr), PTN_INVALID_NAME);
  EXPECT_EQ(node.Create("N", nullptr), 0u);
  EXPECT_EQ(node.Create("M", nullptr), PTN_ALREADY_CREATED);
  EXPECT_EQ(node.Create("", nullptr), PTN_ALREADY_CREATED | PTN_INVALID_NAME);
  EXPECT_EQ(std::string(node.GetNodeName()), "N");
}

TEST(PersistentTreeNode, SiblingNamesAreUnique) {
  SECPersistentTreeNode root, first, second;
  ASSERT_EQ(root.Create("R", nullptr), 0u);
  EXPECT_EQ(first.Create("A", &root), 0u);
  EXPECT_EQ(second.Create("A", &root), PTN_CHILD_EXISTS);
  EXPECT_EQ(root.FindChild("A"), &first);
  EXPECT_EQ(root.FindChild(""), nullptr);
  EXPECT_EQ(root.FindChild("a"), nullptr);
  EXPECT_EQ(ChildNames(root), std::vector<std::string>{"A"});
}

TEST(PersistentTreeNode, AttachNeedsACreatedParentAndAChild) {
  SECPersistentTreeNode parent, child;
  ASSERT_EQ(child.Create("C", nullptr), 0u);
  EXPECT_EQ(parent.AttachChild(&child), PTN_NOT_CREATED);
  ASSERT_EQ(parent.Create("P", nullptr), 0u);
  EXPECT_EQ(parent.AttachChild(nullptr), PTN_INVALID_NAME);
  EXPECT_EQ(parent.AttachChild(&child), 0u);
  EXPECT_EQ(parent.AttachChild(&child), PTN_CHILD_EXISTS);
  EXPECT_EQ(child.AttachChild(&parent), PTN_FAILED);
  CStringList path;
  child.GetPath(path);
  EXPECT_EQ(Items(path), (std::vector<std::string>{"C", "P"}));
}

TEST(PersistentTreeNode, ValueOperationsNeedACreatedNodeAndAKey) {
  SECPersistentTreeNode node;
  EXPECT_EQ(node.AddKeyValueString("k", "v", TRUE), PTN_NOT_CREATED);
  EXPECT_EQ(node.AddKeyValueString("", "v", TRUE), PTN_NOT_CREATED | PTN_INVALID_KEY);
  ASSERT_EQ(node.Create("N", nullptr), 0u);
  EXPECT_EQ(node.AddKeyValueString("", "v", TRUE), PTN_INVALID_KEY);
  EXPECT_EQ(node.AddKeyValueString("k", "v", FALSE), 0u);
  EXPECT_EQ(node.AddKeyValueString("k", "w", FALSE), PTN_KEY_EXISTS);
  EXPECT_EQ(Value(node, "k"), "v");
  EXPECT_EQ(node.AddKeyValueString("k", "w", TRUE), 0u);
  EXPECT_EQ(Value(node, "k"), "w");
}

TEST_F(CreatedNode, MissingKeyGivesTheDefaultAndNotFound) {
  CString value("old");
  EXPECT_EQ(node.GetKeyValueString("none", value, "fallback"), PTN_KEY_NOT_FOUND);
  EXPECT_EQ(std::string(value), "fallback");
  int number = 1;
  EXPECT_EQ(node.GetKeyValueInt("none", &number, 42), PTN_KEY_NOT_FOUND);
  EXPECT_EQ(number, 42);
  EXPECT_EQ(node.GetKeyValueInt("none", nullptr, 42), PTN_NULL_DATA);
}

TEST_F(CreatedNode, NumbersAreStoredAsDecimalText) {
  EXPECT_EQ(node.AddKeyValueInt("n", -17, TRUE), 0u);
  EXPECT_EQ(Value(node, "n"), "-17");
  ASSERT_EQ(node.AddKeyValueString("u", "4000000000", TRUE), 0u);
  int i = 0;
  UINT u = 0;
  long l = 0;
  DWORD d = 0;
  EXPECT_EQ(node.GetKeyValueInt("n", &i, 0), 0u);
  EXPECT_EQ(node.GetKeyValueUInt("n", &u, 0), 0u);
  EXPECT_EQ(node.GetKeyValueLong("n", &l, 0), 0u);
  EXPECT_EQ(node.GetKeyValueDWord("u", &d, 0), 0u);
  EXPECT_EQ(i, -17);
  EXPECT_EQ(u, static_cast<UINT>(-17));
  EXPECT_EQ(l, -17);
  EXPECT_EQ(d, 4000000000u);
}

struct BoolCase {
  const char* text;
  BOOL expected;
};

void PrintTo(const BoolCase& c, std::ostream* os) { *os << c.text; }

class BooleanText : public ::testing::TestWithParam<BoolCase> {};

TEST_P(BooleanText, OnlyTrueInAnyCaseIsTrue) {
  SECPersistentTreeNode node;
  ASSERT_EQ(node.Create("N", nullptr), 0u);
  ASSERT_EQ(node.AddKeyValueString("b", GetParam().text, TRUE), 0u);
  BOOL value = !GetParam().expected;
  EXPECT_EQ(node.GetKeyValueBool("b", &value, !GetParam().expected), 0u);
  EXPECT_EQ(value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PersistentTreeNode, BooleanText,
                         ::testing::Values(BoolCase{"true", TRUE}, BoolCase{"True", TRUE}, BoolCase{"TRUE", TRUE},
                                           BoolCase{"1", FALSE}, BoolCase{"yes", FALSE}, BoolCase{"", FALSE}));

TEST_F(CreatedNode, BooleansAreStoredAsWords) {
  EXPECT_EQ(node.AddKeyValueBool("on", TRUE, TRUE), 0u);
  EXPECT_EQ(node.AddKeyValueBool("off", FALSE, TRUE), 0u);
  EXPECT_EQ(Value(node, "on"), "True");
  EXPECT_EQ(Value(node, "off"), "False");
}

TEST_F(CreatedNode, RemovingAPairKeepsTheOrderOfTheOthers) {
  for (const char* key : {"a", "b", "c"}) node.AddKeyValueString(key, key, TRUE);
  EXPECT_EQ(node.RemoveKeyValue("b"), 0u);
  EXPECT_EQ(node.RemoveKeyValue("b"), PTN_KEY_NOT_FOUND);
  EXPECT_EQ(node.FindKeyValue("b"), nullptr);
  node.AddKeyValueString("b", "again", TRUE);
  TempDir dir;
  SECPTNStrategyProfile ini((dir / "order.ini").c_str());
  ASSERT_TRUE(node.Save(&ini));
  EXPECT_EQ(dir.Read("order.ini"), "[Root]\r\na=a\r\nc=c\r\nb=again\r\n");
}

std::vector<BYTE> Bytes(int count) {
  std::vector<BYTE> bytes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<BYTE>(i * 37 + 5);
  return bytes;
}

std::vector<BYTE> ReadBinary(SECPersistentTreeNode& node, const char* key, UINT expectedResult = 0) {
  BYTE* data = nullptr;
  UINT size = 0;
  EXPECT_EQ(node.GetKeyValueBinary(key, &data, &size), expectedResult) << key;
  std::unique_ptr<BYTE[]> owned(data);
  return data == nullptr ? std::vector<BYTE>() : std::vector<BYTE>(data, data + size);
}

TEST_F(CreatedNode, BinaryIsTwoLettersPerByteLowNibbleFirst) {
  EXPECT_EQ(node.AddKeyValueBinary("k", reinterpret_cast<const BYTE*>("abc"), 3, TRUE), 0u);
  EXPECT_EQ(Value(node, "k"), "BGCGDG");
  EXPECT_EQ(ReadBinary(node, "k"), (std::vector<BYTE>{'a', 'b', 'c'}));
  EXPECT_EQ(node.AddKeyValueBinary("k", nullptr, 3, TRUE), PTN_NULL_DATA);
  EXPECT_EQ(node.GetKeyValueBinary("k", nullptr, nullptr), PTN_NULL_DATA);
}

TEST_F(CreatedNode, BinaryOf125BytesIsOnePlainPair) {
  const auto bytes = Bytes(125);
  EXPECT_EQ(node.AddKeyValueBinary("k", bytes.data(), 125, TRUE), 0u);
  EXPECT_EQ(Value(node, "k").size(), 250u);
  EXPECT_EQ(node.FindKeyValue("k_BinCount"), nullptr);
  EXPECT_EQ(ReadBinary(node, "k"), bytes);
}

TEST_F(CreatedNode, BinaryOf126BytesIsSplitInPieces) {
  const auto bytes = Bytes(126);
  EXPECT_EQ(node.AddKeyValueBinary("k", bytes.data(), 126, TRUE), 0u);
  EXPECT_EQ(node.FindKeyValue("k"), nullptr);
  EXPECT_EQ(Value(node, "k_BinCount"), "2");
  EXPECT_EQ(Value(node, "k_BinVal0").size(), 250u);
  EXPECT_EQ(Value(node, "k_BinVal1").size(), 2u);
  EXPECT_EQ(ReadBinary(node, "k"), bytes);
}

TEST_F(CreatedNode, PieceCountTakesPrecedenceOverAPlainPair) {
  const auto bytes = Bytes(300);
  ASSERT_EQ(node.AddKeyValueBinary("k", bytes.data(), 300, TRUE), 0u);
  ASSERT_EQ(node.AddKeyValueString("k", "BGCGDG", TRUE), 0u);
  EXPECT_EQ(ReadBinary(node, "k"), bytes);
}

TEST_F(CreatedNode, MissingPieceMakesTheBinaryUnreadable) {
  const auto bytes = Bytes(600);
  ASSERT_EQ(node.AddKeyValueBinary("k", bytes.data(), 600, TRUE), 0u);
  ASSERT_EQ(node.RemoveKeyValue("k_BinVal1"), 0u);
  BYTE* data = reinterpret_cast<BYTE*>(&node);
  UINT size = 0;
  EXPECT_EQ(node.GetKeyValueBinary("k", &data, &size), PTN_KEY_NOT_FOUND);
  EXPECT_EQ(data, nullptr);
}

TEST_F(CreatedNode, RewritingABinaryReplacesEveryPieceOfTheOldOne) {
  const auto longBytes = Bytes(700);
  const auto shortBytes = Bytes(3);
  ASSERT_EQ(node.AddKeyValueBinary("k", longBytes.data(), 700, TRUE), 0u);
  EXPECT_EQ(node.AddKeyValueBinary("k", shortBytes.data(), 3, FALSE), PTN_KEY_EXISTS);
  ASSERT_EQ(node.AddKeyValueBinary("k", shortBytes.data(), 3, TRUE), 0u);
  EXPECT_EQ(ReadBinary(node, "k"), shortBytes);
  EXPECT_EQ(node.FindKeyValue("k_BinVal2"), nullptr);
  const auto middle = Bytes(200);
  ASSERT_EQ(node.AddKeyValueBinary("k", middle.data(), 200, TRUE), 0u);
  EXPECT_EQ(node.FindKeyValue("k"), nullptr);
  EXPECT_EQ(ReadBinary(node, "k"), middle);
}

TEST_F(CreatedNode, EmptyBinaryTextCannotBeRead) {
  ASSERT_EQ(node.AddKeyValueString("k", "", TRUE), 0u);
  ReadBinary(node, "k", PTN_FAILED);
  ReadBinary(node, "absent", PTN_KEY_NOT_FOUND);
}

TEST(PTNFactory, RefusedNodesAreNotKept) {
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.AddChild("Root", nullptr);
  ASSERT_NE(root, nullptr);
  ASSERT_NE(factory.AddChild("A", root), nullptr);
  EXPECT_EQ(factory.AddChild("A", root), nullptr);
  EXPECT_EQ(factory.AddChild("", root), nullptr);
  EXPECT_EQ(factory.AddChild(RUNTIME_CLASS(CObList), "B", root), nullptr);
  EXPECT_EQ(ChildNames(*root), std::vector<std::string>{"A"});
}

TEST(PTNFactory, DestroyTakesOnlyItsOwnNodesAndDetachesThem) {
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.AddChild("Root", nullptr);
  SECPersistentTreeNode* child = factory.AddChild("A", root);
  SECPersistentTreeNode stranger;
  EXPECT_FALSE(factory.Destroy(nullptr));
  EXPECT_FALSE(factory.Destroy(&stranger));
  EXPECT_TRUE(factory.Destroy(child));
  EXPECT_EQ(root->FindChild("A"), nullptr);
  EXPECT_FALSE(factory.Destroy(child));
}

TEST(PersistentTreeNode, DestroyedChildLeavesItsParent) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Root", nullptr), 0u);
  {
    SECPersistentTreeNode child;
    ASSERT_EQ(child.Create("Temp", &root), 0u);
    EXPECT_NE(root.FindChild("Temp"), nullptr);
  }
  EXPECT_EQ(root.FindChild("Temp"), nullptr);
  EXPECT_TRUE(ChildNames(root).empty());
}

TEST(PersistentTreeNode, ChildOfAnotherOwnerOutlivesItsParentAsARoot) {
  SECPTNFactory factory;
  SECPersistentTreeNode* child = nullptr;
  {
    SECPersistentTreeNode root;
    ASSERT_EQ(root.Create("Root", nullptr), 0u);
    child = factory.AddChild("A", &root);
    ASSERT_NE(child, nullptr);
  }
  CStringList path;
  child->GetPath(path);
  EXPECT_EQ(Items(path), std::vector<std::string>{"A"});
}

TEST(PersistentTreeNode, NodeMadeChildrenBelongToTheNode) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Root", nullptr), 0u);
  SECPersistentTreeNode* bar = root.AddChild("Bar");
  ASSERT_NE(bar, nullptr);
  SECPersistentTreeNode* grandChild = root.AddChild("Deep", bar);
  ASSERT_NE(grandChild, nullptr);
  EXPECT_EQ(bar->FindChild("Deep"), grandChild);
  EXPECT_EQ(root.AddChild("Bar"), nullptr);
  CStringList path;
  grandChild->GetPath(path);
  EXPECT_EQ(Items(path), (std::vector<std::string>{"Deep", "Bar", "Root"}));
}

// A tree of the shape the docking layout keeps.
void BuildLayout(SECPersistentTreeNode& root) {
  ASSERT_EQ(root.Create("Layout", nullptr), 0u);
  root.AddKeyValueInt("Bars", 2, TRUE);
  root.AddKeyValueString("Name", "Main frame", TRUE);
  SECPersistentTreeNode* bar1 = root.AddChild("Bar1");
  bar1->AddKeyValueBool("Visible", TRUE, TRUE);
  bar1->AddKeyValueBinary("Rect", reinterpret_cast<const BYTE*>("\x01\x02\xFF"), 3, TRUE);
  SECPersistentTreeNode* bar2 = root.AddChild("Bar2");
  bar2->AddKeyValueInt("Dock", -1, TRUE);
  bar2->AddChild("Float")->AddKeyValueString("Pos", "10,20", TRUE);
}

void ExpectLayout(SECPersistentTreeNode& root) {
  EXPECT_EQ(Value(root, "Bars"), "2");
  EXPECT_EQ(Value(root, "Name"), "Main frame");
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"Bar1", "Bar2"}));
  SECPersistentTreeNode* bar1 = root.FindChild("Bar1");
  ASSERT_NE(bar1, nullptr);
  BOOL visible = FALSE;
  EXPECT_EQ(bar1->GetKeyValueBool("Visible", &visible, FALSE), 0u);
  EXPECT_TRUE(visible);
  EXPECT_EQ(ReadBinary(*bar1, "Rect"), (std::vector<BYTE>{1, 2, 0xFF}));
  SECPersistentTreeNode* bar2 = root.FindChild("Bar2");
  ASSERT_NE(bar2, nullptr);
  int dock = 0;
  EXPECT_EQ(bar2->GetKeyValueInt("Dock", &dock, 0), 0u);
  EXPECT_EQ(dock, -1);
  ASSERT_NE(bar2->FindChild("Float"), nullptr);
  EXPECT_EQ(Value(*bar2->FindChild("Float"), "Pos"), "10,20");
}

class ProfileStrategy : public ::testing::Test {
 protected:
  std::string File() const { return dir / "layout.ini"; }
  void SaveLayout() {
    SECPersistentTreeNode root;
    BuildLayout(root);
    SECPTNStrategyProfile ini(File().c_str());
    ASSERT_TRUE(root.Save(&ini));
  }
  // The tree of that root name as the file on the disk holds it, read under another name, not
  // from what the profile functions keep in memory.
  std::string ReadBack(const char* rootName) {
    dir.Write("copy.ini", dir.Read("layout.ini"));
    SECPersistentTreeNode loaded;
    EXPECT_EQ(loaded.Create(rootName, nullptr), 0u);
    SECPTNStrategyProfile copy((dir / "copy.ini").c_str());
    loaded.Load(&copy);
    return Dump(loaded);
  }
  TempDir dir;
};

TEST_F(ProfileStrategy, SavesOneSectionPerNodeWithTheChildList) {
  SECPersistentTreeNode root;
  BuildLayout(root);
  SECPTNStrategyProfile ini(File().c_str());
  EXPECT_TRUE(root.Save(&ini));
  EXPECT_EQ(dir.Read("layout.ini"),
            "[Layout]\r\nBars=2\r\nName=Main frame\r\nptn_Child1=Bar1\r\nptn_Child2=Bar2\r\n"
            "[Layout.Bar1]\r\nVisible=True\r\nRect=BACAPP\r\n"
            "[Layout.Bar2]\r\nDock=-1\r\nptn_Child1=Float\r\n"
            "[Layout.Bar2.Float]\r\nPos=10,20\r\n");
}

TEST_F(ProfileStrategy, LoadingIntoAFreshRootGivesTheSameTree) {
  SaveLayout();
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Layout", nullptr), 0u);
  SECPTNStrategyProfile ini(File().c_str());
  EXPECT_TRUE(loaded.Load(&ini));
  ExpectLayout(loaded);
}

TEST_F(ProfileStrategy, LongValuesAndLongKeyListsAreReadWhole) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Big", nullptr), 0u);
  const CString longValue('v', 1000);
  root.AddKeyValueString("long", longValue, TRUE);
  for (int i = 0; i < 600; ++i) {
    CString key;
    key.Format("SomewhatLongKeyName%04d", i);
    root.AddKeyValueInt(key, i, TRUE);
  }
  SECPTNStrategyProfile ini(File().c_str());
  ASSERT_TRUE(root.Save(&ini));
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Big", nullptr), 0u);
  ASSERT_TRUE(loaded.Load(&ini));
  EXPECT_EQ(Value(loaded, "long"), std::string(longValue));
  int last = 0;
  EXPECT_EQ(loaded.GetKeyValueInt("SomewhatLongKeyName0599", &last, -1), 0u);
  EXPECT_EQ(last, 599);
}

TEST_F(ProfileStrategy, ExistingChildIsNotReadAgain) {
  SaveLayout();
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Layout", nullptr), 0u);
  SECPersistentTreeNode* existing = loaded.AddChild("Bar1");
  SECPTNStrategyProfile ini(File().c_str());
  ASSERT_TRUE(loaded.Load(&ini));
  EXPECT_EQ(loaded.FindChild("Bar1"), existing);
  EXPECT_EQ(existing->FindKeyValue("Visible"), nullptr);
  EXPECT_NE(loaded.FindChild("Bar2"), nullptr);
}

TEST_F(ProfileStrategy, SavingAgainDropsTheSectionsOfRemovedChildren) {
  SaveLayout();
  SECPTNStrategyProfile ini(File().c_str());
  SECPersistentTreeNode smaller;
  ASSERT_EQ(smaller.Create("Layout", nullptr), 0u);
  smaller.AddKeyValueInt("Bars", 0, TRUE);
  ASSERT_TRUE(smaller.Save(&ini));
  EXPECT_EQ(dir.Read("layout.ini"), "[Layout]\r\nBars=0\r\n");
}

TEST_F(ProfileStrategy, NothingStoredLoadsNothing) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Absent", nullptr), 0u);
  SECPTNStrategyProfile ini(File().c_str());
  EXPECT_FALSE(root.Load(&ini));
  SECPersistentTreeNode notCreated;
  EXPECT_FALSE(notCreated.Load(&ini));
  EXPECT_FALSE(notCreated.Save(&ini));
  EXPECT_FALSE(root.Load(nullptr));
}

// Values and keys the file cannot hold as they are (blanks at the ends, quotes, line ends, a NUL,
// a '=' or ';' or '[' in a key, a key of the store's own or one that differs from another only
// in case) read back as they were written, in their order; so do child names in quotes.
TEST_F(ProfileStrategy, EveryPairAndNameReadsBackAsWritten) {
  const char* const values[] = {"plain", " leading", "trailing ", "\tboth\t", "\"quoted\"", "'single'", "\"",
                                "\"half", "line\r\nend", "cr\ronly", "", "C:\\dir\\file ", "a=b;c"};
  const char* const keys[] = {"Name", " spaced ", "a=b", ";comment", "[section", "pTn_Child1",
                              "PTN_KEY_41", "ptn_Key_4E", "NAME", "name", "tab\tkey", "ptn_Child7"};
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Root", nullptr), 0u);
  int n = 0;
  for (const char* key : keys) {
    for (const char* value : values) ASSERT_EQ(root.AddKeyValueString(CString(key) + "_" + CString(std::to_string(n++).c_str()), value, TRUE), 0u);
    ASSERT_EQ(root.AddKeyValueString(key, values[n % 13], TRUE), 0u);
  }
  root.AddKeyValueString("nul", CString("a\0b", 3), TRUE);
  SECPersistentTreeNode* quoted = root.AddChild("\"Child\"");
  ASSERT_NE(quoted, nullptr);
  quoted->AddKeyValueString("k", " v ", TRUE);
  root.AddChild("'x'")->AddChild("Leaf")->AddKeyValueString("Path", "/home/user/file.cpp ", TRUE);
  root.AddChild("Last");
  SECPTNStrategyProfile ini(File().c_str());
  ASSERT_TRUE(root.Save(&ini));
  EXPECT_EQ(ReadBack("Root"), Dump(root));
}

// In the double-byte code pages, a key whose lead byte stands before a '=' or a line end is no
// pair: written as it is, the reader would end the key at that byte. Such keys read back exactly.
TEST_F(ProfileStrategy, KeysWithALeadByteBeforeASignOrALineEndReadBackInDoubleByteCodePages) {
  for (const UINT codePage : {936u, 950u}) {
    SCOPED_TRACE(codePage);
    brambolt::ScopedCodePage dbcs(codePage);
    SECPersistentTreeNode root;
    ASSERT_EQ(root.Create("Root", nullptr), 0u);
    const char* const keys[] = {"\xE9=b", "a\xE9\r\nb", "\xE9\n", "\xB0\xA1=", "\xB0\xA1"};
    int n = 0;
    for (const char* key : keys) ASSERT_EQ(root.AddKeyValueString(key, CString("v") + CString(std::to_string(n++).c_str()), TRUE), 0u);
    SECPTNStrategyProfile ini(File().c_str());
    ASSERT_TRUE(root.Save(&ini));
    EXPECT_EQ(ReadBack("Root"), Dump(root));
  }
}

// A file written before reads as it did: values trimmed and out of their quotes, children
// listed by "ptn_Child" keys, other keys of any form kept.
TEST_F(ProfileStrategy, AFileWrittenBeforeReadsAsItDid) {
  dir.Write("layout.ini",
            "[Old]\r\nPath=  C:\\a b\\x.cpp  \r\nTitle=\"Main\"\r\nptn_Other=1\r\nptn_Child1=Bar\r\n"
            "[Old.Bar]\r\nVisible=True\r\n");
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Old", nullptr), 0u);
  SECPTNStrategyProfile ini(File().c_str());
  ASSERT_TRUE(loaded.Load(&ini));
  EXPECT_EQ(Dump(loaded), "<Old>{<Path>=<C:\\x5Ca b\\x5Cx.cpp> <Title>=<Main> <ptn_Other>=<1> <Bar>{<Visible>=<True> }}");
}

// A child name that cannot name a section of its own (a NUL, the separator, a bracket, a line
// end, blanks at its ends, a lead byte without its trail, a sibling's name in another case) is
// refused, and the save that holds one writes nothing; a file naming such a child loads without
// it (a NUL in a name once cut the section name back to the one being read, without end).
TEST_F(ProfileStrategy, ANameThatCannotNameASectionIsRefused) {
  SECPersistentTreeNode named;
  EXPECT_EQ(named.Create(CString("a\0b", 3), nullptr), PTN_INVALID_NAME);
  EXPECT_EQ(named.Create("Root", nullptr), 0u);
  EXPECT_EQ(named.AddKeyValueString(CString("k\0", 2), "v", TRUE), PTN_INVALID_KEY);
  SaveLayout();
  const std::string before = dir.Read("layout.ini");
  brambolt::ScopedCodePage gbk(936);
  for (const char* bad : {"a.b", "x]", "[x", " lead", "trail ", "line\nend", "\xB0\xA1\xB0", "BAR1"}) {
    SECPersistentTreeNode root;
    BuildLayout(root);
    ASSERT_NE(root.AddChild(bad), nullptr) << bad;
    SECPTNStrategyProfile ini(File().c_str());
    EXPECT_FALSE(root.Save(&ini)) << bad;
    EXPECT_EQ(dir.Read("layout.ini"), before) << bad;
  }

  dir.Write("layout.ini", std::string("[W]\r\nptn_Child1=\0\r\nptn_Child2=ok\r\n[W.]\r\nptn_Child1=\0\r\n"
                                      "[W.ok]\r\nptn_Child1=.\r\nptn_Child2=a]\r\nk=v\r\n",
                                      96));
  brambolt::test::HangWatchdog watchdog("loading a tree whose child names hold a NUL");
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("W", nullptr), 0u);
  SECPTNStrategyProfile ini(File().c_str());
  EXPECT_TRUE(loaded.Load(&ini));
  EXPECT_EQ(Dump(loaded), "<W>{<ok>{<k>=<v> }}");
}

// A save writes exactly the tree it is given, whatever the file held: a section line cut by a
// lone carriage return (or closed early) reads as a second header of the tree's section, whose
// keys the load never sees; the save removes every copy, also behind a section whose name holds
// NULs, so the next load gives the saved tree.
TEST_F(ProfileStrategy, ASaveOverADamagedFileReadsBackAsTheSavedTree) {
  const std::string damaged[] = {
      "[Ws]\r\n[Ws\r.Frames]\r\nDocPathName=C:\\a.cpp\r\nWindowPlacement=0,1\r\nptn_Child1=Old\r\n[Ws.Old]\r\nk=v\r\n",
      "[Ws]\r\nptn_Child1=Frames\r\n[Ws].Frames]\r\nDocPathName=C:\\a.cpp\r\n[Ws.Frames\r[Ws.Frames]\r\nk=v\r\n",
      "[W\0\0s]\r\n[Ws]\r\n[Ws\r.Frames]\r\nDocPathName=C:\\a.cpp\r\n"s,
  };
  for (const std::string& text : damaged) {
    SCOPED_TRACE(text);
    dir.Write("layout.ini", text);
    SECPersistentTreeNode tree;
    ASSERT_EQ(tree.Create("Ws", nullptr), 0u);
    {
      SECPTNStrategyProfile ini(File().c_str());
      tree.Load(&ini);
    }
    const std::string saved = Dump(tree);
    {
      SECPTNStrategyProfile ini(File().c_str());
      ASSERT_TRUE(tree.Save(&ini));
    }
    EXPECT_EQ(ReadBack("Ws"), saved);
  }
}

class RegistryStrategy : public ::testing::Test {
 protected:
  void SetUp() override { brambolt::ResetRegistryForTesting(); }
  void TearDown() override { brambolt::ResetRegistryForTesting(); }
  bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  // The tree "Tree" as the store's file on the disk holds it.
  std::string ReadBack(SECPTNStrategyRegistry& reg) {
    brambolt::ResetRegistryForTesting();
    SECPersistentTreeNode loaded;
    EXPECT_EQ(loaded.Create("Tree", nullptr), 0u);
    EXPECT_TRUE(loaded.Load(&reg));
    return Dump(loaded);
  }
  TempDir dir;
  ScopedEnv registryDir{"BRAMBOLT_REGISTRY_DIR", dir.Path()};
};

TEST_F(RegistryStrategy, FirstSaveOfANewTreeSucceedsAndLoadsBack) {
  SECPersistentTreeNode root;
  BuildLayout(root);
  SECPTNStrategyRegistry reg("Software\\Test\\Workspace", HKEY_CURRENT_USER);
  EXPECT_TRUE(root.Save(&reg));
  EXPECT_TRUE(KeyExists("Software\\Test\\Workspace\\Layout\\Bar2\\Float"));

  brambolt::ResetRegistryForTesting();
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Layout", nullptr), 0u);
  EXPECT_TRUE(loaded.Load(&reg));
  EXPECT_EQ(Value(loaded, "Bars"), "2");
  EXPECT_EQ(ChildNames(loaded), (std::vector<std::string>{"Bar1", "Bar2"}));
  ExpectLayout(loaded);
}

TEST_F(RegistryStrategy, NodesWithoutValuesAreSavedAndLoadBack) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Empty", nullptr), 0u);
  root.AddChild("Folder")->AddChild("Leaf");
  root.AddChild("Other");
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  EXPECT_TRUE(root.Save(&reg));
  brambolt::ResetRegistryForTesting();
  EXPECT_TRUE(KeyExists("Software\\Test\\Empty\\Folder\\Leaf"));
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Empty", nullptr), 0u);
  EXPECT_TRUE(loaded.Load(&reg));
  EXPECT_EQ(ChildNames(loaded), (std::vector<std::string>{"Folder", "Other"}));
  ASSERT_NE(loaded.FindChild("Folder"), nullptr);
  EXPECT_EQ(ChildNames(*loaded.FindChild("Folder")), (std::vector<std::string>{"Leaf"}));
}

TEST_F(RegistryStrategy, SavingAgainReplacesTheWholeSubtree) {
  SECPersistentTreeNode root;
  BuildLayout(root);
  SECPTNStrategyRegistry reg("Software\\Test\\", HKEY_CURRENT_USER);
  ASSERT_TRUE(root.Save(&reg));
  SECPersistentTreeNode smaller;
  ASSERT_EQ(smaller.Create("Layout", nullptr), 0u);
  smaller.AddKeyValueString("Only", "this", TRUE);
  EXPECT_TRUE(smaller.Save(&reg));
  EXPECT_FALSE(KeyExists("Software\\Test\\Layout\\Bar1"));
  SECRegistry check;
  ASSERT_TRUE(check.Connect(HKEY_CURRENT_USER, nullptr, TRUE));
  ASSERT_TRUE(check.Open("Software\\Test\\Layout", KEY_READ));
  CString value;
  EXPECT_FALSE(check.GetStringValue("Bars", value));
  EXPECT_TRUE(check.GetStringValue("Only", value));
  EXPECT_EQ(std::string(value), "this");
}

TEST_F(RegistryStrategy, LongStringValuesLoadWhole) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Big", nullptr), 0u);
  const CString longValue('x', 5000);
  root.AddKeyValueString("long", longValue, TRUE);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  ASSERT_TRUE(root.Save(&reg));
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Big", nullptr), 0u);
  ASSERT_TRUE(loaded.Load(&reg));
  EXPECT_EQ(Value(loaded, "long").size(), 5000u);
}

TEST_F(RegistryStrategy, MissingNodeDoesNotLoad) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Nowhere", nullptr), 0u);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  EXPECT_FALSE(root.Load(&reg));
}

// Values holding a NUL are kept whole (as bytes), children keep their order, and a name that
// cannot name a key of its own (a backslash, a lead byte without its trail, which took the
// path's backslash as its trail, a sibling's name in another case) or a pair named as the
// children's order is refused: the save writes nothing of it.
TEST_F(RegistryStrategy, EveryValueReadsBackAndANameThatCannotNameAKeyIsRefused) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Tree", nullptr), 0u);
  root.AddKeyValueString("nul", CString("a\0b\0", 4), TRUE);
  root.AddKeyValueString("blanks", " v \r\n", TRUE);
  root.AddChild("Child")->AddKeyValueString("\"q\"", "'x'", TRUE);
  // The registry lists subkeys by name; the children keep their own order.
  for (const char* name : {"Bar-10", "Bar-2", "Bar-1"}) root.AddChild(name);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  ASSERT_TRUE(root.Save(&reg));
  brambolt::ResetRegistryForTesting();
  SECPersistentTreeNode loaded;
  ASSERT_EQ(loaded.Create("Tree", nullptr), 0u);
  ASSERT_TRUE(loaded.Load(&reg));
  EXPECT_EQ(Dump(loaded), Dump(root));

  brambolt::ScopedCodePage gbk(936);
  for (const char* bad : {"a\\b", "\xB0\xA1\xB0", "Twice", "Order"}) {
    SECPersistentTreeNode tree;
    ASSERT_EQ(tree.Create("Bad", nullptr), 0u);
    tree.AddChild(bad)->AddKeyValueString("k", "v", TRUE);
    if (std::string(bad) == "Twice") tree.AddChild("TWICE");
    if (std::string(bad) == "Order") tree.AddKeyValueString("PTN_CHILDORDER", "x", TRUE);
    EXPECT_FALSE(tree.Save(&reg)) << bad;
    EXPECT_FALSE(KeyExists("Software\\Test\\Bad")) << bad;
  }
}

// Value names ignore case, keys of a node do not: keys that differ only in case, and keys that
// look like the store's encoded names, each keep a value of their own and read back as written.
TEST_F(RegistryStrategy, KeysThatDifferOnlyInCaseEachKeepTheirValue) {
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Tree", nullptr), 0u);
  for (char c = 'a'; c <= 'z'; ++c) {
    root.AddKeyValueString(CString("k") + CString(static_cast<char>(c - 'a' + 'A')) + "x", CString(c), TRUE);
    root.AddKeyValueString(CString("k") + CString(c) + "x", CString(c) + "2", TRUE);
  }
  for (const char* key : {"KAX", "ptn_Key_41", "PTN_KEY_6B", "ptn_key_zz", "ptn_Key_"}) root.AddKeyValueString(key, key, TRUE);
  root.AddChild("Child")->AddKeyValueString("name", CString("a\0b", 3), TRUE);
  root.FindChild("Child")->AddKeyValueString("NAME", "upper", TRUE);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  ASSERT_TRUE(root.Save(&reg));
  EXPECT_EQ(ReadBack(reg), Dump(root));
}

// A save that the store could not read back whole is refused: a key longer than the value names
// a read gets back (2046 bytes), also once encoded, leaves the stored tree as it was.
TEST_F(RegistryStrategy, KeysTooLongToReadBackAreRefused) {
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  const CString longest('k', 2046);
  SECPersistentTreeNode root;
  ASSERT_EQ(root.Create("Tree", nullptr), 0u);
  root.AddKeyValueString(longest, "fits", TRUE);
  ASSERT_TRUE(root.Save(&reg));
  for (const CString& key : {CString('k', 2047), CString('K', 2046), CString("ptn_Key_") + CString('k', 1016)}) {
    SECPersistentTreeNode tree;
    ASSERT_EQ(tree.Create("Tree", nullptr), 0u);
    tree.AddKeyValueString(longest, "fits", TRUE);
    tree.AddKeyValueString(key, "too long", TRUE);
    EXPECT_FALSE(tree.Save(&reg)) << key.GetLength();
  }
  EXPECT_EQ(ReadBack(reg), Dump(root));
}

// Emptying the stored tree before a save stays inside it: a file whose workspace key holds
// subkeys named with a NUL (which no caller can name) loads without them, and the save neither
// deletes the keys their names cut to elsewhere in the store nor recurses without end.
TEST_F(RegistryStrategy, ASaveNeverDeletesKeysOutsideItsTree) {
  dir.Write("HKEY_CURRENT_USER.reg",
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test\\Tree]\n\"k\"=\"v\"\n"
                        "[HKEY_CURRENT_USER\\Software\\Test\\Tree\\Other\0x]\n"
                        "[HKEY_CURRENT_USER\\Software\\Test\\Tree\\Software\0]\n"
                        "[HKEY_CURRENT_USER\\Other\\Keep]\n\"v\"=\"1\"\n"s);
  brambolt::test::HangWatchdog watchdog("saving a tree whose stored keys hold a NUL");
  SECPersistentTreeNode tree;
  ASSERT_EQ(tree.Create("Tree", nullptr), 0u);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  ASSERT_TRUE(tree.Load(&reg));
  EXPECT_EQ(Dump(tree), "<Tree>{<k>=<v> }");
  tree.AddKeyValueString("k", "w", TRUE);
  EXPECT_TRUE(tree.Save(&reg));
  EXPECT_EQ(ReadBack(reg), "<Tree>{<k>=<w> }");
  EXPECT_TRUE(KeyExists("Other\\Keep"));
}

// A save whose store cannot be written (a full disk) reports it.
TEST_F(RegistryStrategy, ASaveOnAFullDiskFails) {
  SECPersistentTreeNode root;
  BuildLayout(root);
  SECPTNStrategyRegistry reg("Software\\Test", HKEY_CURRENT_USER);
  brambolt::ScopedFileFaultHook full(
      [](brambolt::FileStep step, const std::string&) { return step == brambolt::FileStep::Write ? ENOSPC : 0; });
  EXPECT_FALSE(root.Save(&reg));
}

}  // namespace
