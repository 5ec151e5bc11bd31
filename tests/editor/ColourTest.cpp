// Syntax colouring of small C, HTML and SQL-like configurations: runs per line, multi-line
// comments opened and closed by edits, strings with escapes, keywords and the highlight mark.
#include <gtest/gtest.h>

#include <string>

#include "afx/afx.h"
#include "editor/app/GWExtSECCodeEdit.h"
#include "testing/testing.h"
#include "TestLanguage.h"

namespace {

// The runs of a line as "length:group" pairs, the group by name.
std::string Runs(SECEdit& model, int line) {
  SECEditLineColor* entry = model.GetLineColor(line);
  if (entry == nullptr) return "null";
  std::string out;
  for (INT_PTR i = 0; i < entry->GetSize(); ++i) {
    const SECEditTextColor& run = entry->GetAt(i);
    if (!out.empty()) out += " ";
    out += std::to_string(run.m_wLength) + ":" + std::string(model.GetLangConfig()->GetColorInfo(run.m_wGroup)->m_strName);
  }
  return out;
}

class ColourTest : public ::testing::Test {
 protected:
  ColourTest() : c("C"), html("HTML"), sql("SQL"), scope({&c, &html, &sql}) {
    editortest::MakeC(c);
    const WORD tag = html.AddGroup("Keyword");
    const WORD comment = html.AddGroup("Comment");
    html.AddKeyword("table", tag);
    html.AddTag("<!--", "-->", "", comment, TRUE);
    html.AddChars(" \t<>=/\"!-", kDelimiters);
    html.AddChars("<>=", kOperators);
    const WORD keyword = sql.AddGroup("Keyword");
    const WORD string = sql.AddGroup("String");
    sql.AddKeyword("select", keyword);
    sql.AddTag("'", "'", "'", string, FALSE);
    sql.AddTag("--", "", "", sql.AddGroup("Comment"), FALSE);
    sql.AddChars(" \t,'-()", kDelimiters);
    sql.matchCase = FALSE;
  }

  GWExtSECCodeEdit* Open(const char* language, const char* text) {
    auto* model = new GWExtSECCodeEdit;
    model->ResetWithLanguage(language);
    model->InsertTextAt(0, 0, text, -1);
    return model;
  }

  brambolt::test::UiSession session;
  CWinApp app{"Colour Test"};
  editortest::TestLanguage c, html, sql;
  editortest::LanguageScope scope;
};

TEST_F(ColourTest, KeywordsStringsEscapesAndLineComments) {
  std::unique_ptr<SECEdit> model(Open("C", "int x; // int\n\"a\\\"b\" if\n\"a\\\\\" b\n\"open\n\nprintf(integer)"));
  EXPECT_EQ(Runs(*model, 0), "3:Keyword 2:Text 1:Operator 1:Text 6:Comment");
  // One escape before a quote continues the string; two end it at that quote.
  EXPECT_EQ(Runs(*model, 1), "6:String 1:Text 2:Keyword");
  EXPECT_EQ(Runs(*model, 2), "5:String 2:Text");
  EXPECT_EQ(Runs(*model, 3), "5:String");  // not closed: ends with its line
  EXPECT_EQ(Runs(*model, 4), "0:Text");
  EXPECT_EQ(Runs(*model, 5), "15:Text");  // "int" inside a longer word is no keyword
  model->SetLineMark(2, SECEDIT_MARK_HIGHLIGHT, TRUE);
  EXPECT_EQ(Runs(*model, 2), "7:Highlight");
}

TEST_F(ColourTest, BlockCommentsOpenAndCloseWithEdits) {
  std::unique_ptr<SECEdit> model(Open("C", "a \"/*\" b\nint x;\n/* one\nint\ntwo */ int\nint"));
  // A comment begin inside a string on an earlier line starts nothing.
  EXPECT_EQ(Runs(*model, 1), "3:Keyword 2:Text 1:Operator");
  EXPECT_EQ(Runs(*model, 3), "0:Comment");
  EXPECT_EQ(Runs(*model, 4), "6:Comment 1:Text 3:Keyword");
  EXPECT_EQ(Runs(*model, 5), "3:Keyword");
  // Deleting the "*/" leaves the comment open to the end of the text...
  model->DeleteText(4, 4, 4, 6);
  EXPECT_EQ(Runs(*model, 5), "3:Comment");
  EXPECT_EQ(Runs(*model, 4), "0:Comment");
  // ...undoing it closes it again, also for the lines between its begin and the edit.
  model->Undo();
  EXPECT_EQ(Runs(*model, 5), "3:Keyword");
  EXPECT_EQ(Runs(*model, 3), "0:Comment");
  // Opening a comment on line 1 swallows what follows; an edit keeps earlier lines' colours.
  SECEditLineColor* first = model->GetLineColor(0);
  model->InsertTextAt(1, 0, "/*", -1);
  EXPECT_EQ(model->GetLineColor(0), first);
  EXPECT_EQ(Runs(*model, 1), "8:Comment");
  EXPECT_EQ(Runs(*model, 2), "0:Comment");
  EXPECT_EQ(Runs(*model, 4), "6:Comment 1:Text 3:Keyword");
  // Colouring a line far below first finds the comment above it without colouring each line.
  std::unique_ptr<SECEdit> fresh(Open("C", "/*\n\n\n\nx\n*/ int"));
  EXPECT_EQ(Runs(*fresh, 5), "2:Comment 1:Text 3:Keyword");
  EXPECT_EQ(Runs(*fresh, 4), "0:Comment");
  // Typing the closing "*/" on a line below an open comment recolours from the comment's start.
  std::unique_ptr<SECEdit> typed(Open("C", "/* a\nb\nc int"));
  EXPECT_EQ(Runs(*typed, 2), "5:Comment");
  typed->InsertTextAt(1, 1, "*/", -1);
  EXPECT_EQ(Runs(*typed, 2), "2:Text 3:Keyword");
  EXPECT_EQ(Runs(*typed, 1), "3:Comment");
  EXPECT_EQ(Runs(*typed, 0), "4:Comment");
}

TEST_F(ColourTest, CaseFoldedKeywordsAndQuotedEscapes) {
  // A doubled quote is read as a quote that ends the string and one that starts the next.
  std::unique_ptr<SECEdit> model(Open("SQL", "SELECT 'it''s', x -- note"));
  EXPECT_EQ(Runs(*model, 0), "6:Keyword 1:Text 4:String 3:String 4:Text 7:Comment");
}

TEST_F(ColourTest, HtmlContentStaysTextWhileMarkupIsColoured) {
  std::unique_ptr<GWExtSECCodeEdit> page(Open("HTML", "table <table> = table\n<!-- c -->x"));
  EXPECT_EQ(Runs(*page, 0), "6:Text 1:Operator 5:Keyword 1:Operator 8:Text");
  EXPECT_EQ(Runs(*page, 1), "10:Comment 1:Text");
  EXPECT_EQ(page->FindBracketBefore(1, 0, "<!--"), '>');
  EXPECT_EQ(page->FindBracketAfter(0, 21, "table <table> = table"), '<');
  // The same text in another language is coloured by the usual rules.
  std::unique_ptr<GWExtSECCodeEdit> other(Open("C", "int <int>"));
  EXPECT_EQ(Runs(*other, 0), "3:Keyword 1:Text 1:Operator 3:Keyword 1:Operator");
}

TEST_F(ColourTest, BracketSearchesWalkManyLinesWithoutRecursion) {
  std::string text = "<p>";
  for (int i = 0; i < 50000; ++i) text += "\nword";
  std::unique_ptr<GWExtSECCodeEdit> page(Open("HTML", text.c_str()));
  EXPECT_EQ(page->FindBracketBefore(50000, 0, "word"), '>');
  EXPECT_EQ(page->FindBracketAfter(1, 0, "word"), 0);
}

}  // namespace
