// The editor model: one edited text with its buffer, undo history, language configuration, fonts,
// per-line colours and multi-line tag ranges, and per-line marks. Every change of the text goes
// through InsertText and DeleteText, which record an undoable command and notify the observers.
//
// Where each concern lives:
//   SECEdit.cpp        lifecycle, notifications, the edit primitives, commands and history
//   SECEditFile.cpp    open, save and archive
//   SECEditColumns.cpp columns and tabs, indentation, fonts and the language configuration
//   SECEditColour.cpp  the colouring scanner, the colour cache and the multi-line ranges
//   SECEditMarks.cpp   line marks and line data
#pragma once

#include <functional>
#include <memory>
#include <unordered_set>

#include "core/CArchive.h"
#include "core/CArray.h"
#include "core/CObject.h"
#include "editor/ISECEditBuffer.h"
#include "editor/SECEditCommand.h"
#include "editor/SECEditFontInfo.h"
#include "editor/SplitVector.h"
#include "editor/lang/ISECEditLangConfig.h"
#include "editor/mvc/MvcModel.h"
#include "os/FileApi.h"

// Notification ids of the editor.
constexpr UINT SECEDIT_MSG_FONT = 22575;
constexpr UINT SECEDIT_MSG_SPLITTER = 22576;
constexpr UINT SECEDIT_MSG_INIT_CONTROLLER = 22582;
constexpr UINT SECEDIT_MSG_LANGUAGE = 22583;
constexpr UINT SECEDIT_MSG_GUTTER = 22584;
constexpr UINT SECEDIT_MSG_PAINT = 22585;
constexpr UINT IDS_SECEDIT_READONLY_FILE = 22600;

// Marks with a fixed meaning.
constexpr int SECEDIT_MARK_F9 = 16;
constexpr int SECEDIT_MARK_BOOKMARK = 17;
constexpr int SECEDIT_MARK_CHANGED = 18;
constexpr int SECEDIT_MARK_HIGHLIGHT = 19;

// A notification that carries only its id; built on the stack by the sender, so Release does
// nothing (observers never AddRef messages).
class SECEditMsg : public kelpwood::foundation::CRefCountImpl<kelpwood::foundation::IMessage> {
 public:
  explicit SECEditMsg(UINT id) : m_nID(id) {}
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  UINT GetTypeID() const override { return m_nID; }
  // The string-table entry of the id.
  void GetDescription(CString& out) const override;

 private:
  UINT m_nID;
};

// Lines first..last need repainting.
class SECEditPaintMsg : public SECEditMsg {
 public:
  SECEditPaintMsg(int first, int last) : SECEditMsg(SECEDIT_MSG_PAINT), m_nFirstLine(first), m_nLastLine(last) {}
  void GetDescription(CString& out) const override;
  int m_nFirstLine;
  int m_nLastLine;
};

// One run of colour: a length in bytes (0: the whole line) and a colour group.
struct SECEditTextColor {
  WORD m_wLength;
  WORD m_wGroup;
};
typedef CArray<SECEditTextColor, SECEditTextColor> SECEditLineColor;

// The range of one multi-line tag occurrence: its begin to just after its end.
struct SECEditMLComment {
  SECEditLineColPair m_range;
  int m_nTag = -1;
};
typedef CArray<SECEditMLComment, const SECEditMLComment&> SECEditMLCommentArray;

// A data word and 32 marks of one line; deleted as soon as it is empty.
class SECEditItemData {
 public:
  bool IsEmpty() const { return m_dwData == 0 && m_marks.IsEmpty(); }
  DWORD m_dwData = 0;
  SECBitArray<32> m_marks;
};

class SECEdit : public kelpwood::foundation::MvcTransactionModel,
                public kelpwood::foundation::IObserver,
                public CObject {
 public:
  SECEdit();
  ~SECEdit() override;

  // ---- the model's faces ----
  bool QueryGuid(REFGUID id, void** out) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void OnUpdate(kelpwood::foundation::ISubject* subject, kelpwood::foundation::IMessage* msg) override;
  BOOL IsModified() override { return m_bModified; }
  BOOL RecordCommand(kelpwood::foundation::CMvcCommand* cmd) override;
  kelpwood::foundation::CMvcCommand* Undo() override;
  kelpwood::foundation::CMvcCommand* Redo() override;
  // The text then the language name.
  void Serialize(CArchive& ar) override;

  // ---- document ----
  virtual BOOL ResetWithLanguage(LPCTSTR name);
  virtual BOOL NewDocument();
  // Reads the file into a buffer of its own and takes it as the text only when the whole file was
  // read: a failure (shown to the user) leaves the text, its history and its modified state.
  virtual BOOL OpenFile(LPCTSTR path);
  // The same read without a message: on failure `failure` says why.
  BOOL ReloadFile(LPCTSTR path, CString& failure);
  virtual void ReportOpenError();
  // Tells the user that the open broke lines longer than the limit, and that a save keeps them.
  virtual void ReportWrappedLines(LPCTSTR path);
  virtual BOOL SaveFile(LPCTSTR path);
  // The file as the last open, reload or save left it: its identity (device, inode, size and time)
  // when it was read or just written; missing before any.
  const brambolt::FileIdentity& GetFileIdentity() const { return m_fileIdentity; }
  void SetFileIdentity(const brambolt::FileIdentity& identity) { m_fileIdentity = identity; }
  virtual void SerializeText(CArchive& ar);
  virtual void SerializeLanguage(CArchive& ar);
  virtual int GetReservedState() { return m_nReservedState; }
  // The encoding the file is kept in on disk: CP_UTF8 for text read as UTF-8 (held here in the
  // ANSI code page and written back as UTF-8), CP_ACP for text kept as its bytes. A new text, and
  // one of ASCII alone, take the charset of the locale (GetSystemNameCodePage).
  UINT GetFileCodePage() const { return m_nFileCodePage; }
  void SetModified(BOOL bModified) { ChangeModified(bModified); }
  // Called each time the modified state changes: after the first edit, a save, an undo back to
  // the saved text (the document's title follows it).
  void SetModifiedListener(std::function<void()> listener) { m_onModifiedChanged = std::move(listener); }
  virtual void UpdateModified();
  // Empties the history; a modified document stays modified.
  void ClearUndoHistory();

  // ---- language and fonts ----
  virtual BOOL EditFontSize();
  virtual ISECEditLangConfig* GetLangConfig() { return m_pLangConfig; }
  virtual void SetLangConfigByPointer(ISECEditLangConfig* cfg);
  virtual BOOL SelectLangConfig(LPCTSTR name);
  virtual SECEditFontInfo* GetFontInfo() { return m_pFontInfo.get(); }
  virtual void SetFontInfo(SECEditFontInfo* info);
  virtual SECEditFontInfo* CreateFontInfo() { return new SECEditFontInfo; }
  virtual void CreateFonts();
  virtual char GetWhitespaceMark(BOOL bTab);
  int GetTabWidth(SECEditFontInfo* info);
  void GetLanguageName(CString* out);

  // ---- colouring (SECEditColour.cpp) ----
  virtual SECEditLineColor* GetLineColor(int line);
  virtual SECEditLineColor* BuildLineColor(int line, int startCol);
  virtual int NextToken(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                        SECEditLineColor* entry);
  virtual int MatchKeyword(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                           SECEditLineColor* entry);
  virtual int MatchTag(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                       SECEditLineColor* entry);
  virtual int MatchOperator(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                            SECEditLineColor* entry);
  virtual SECEditKeywordInfo* FindTag(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, int mode);
  virtual int ColourMultiLineTag(int line, LPCTSTR lineText, LPCTSTR pos, int remaining, SECEditLineColor* entry,
                                 SECEditKeywordInfo* tag);
  virtual int ColourSingleLineTag(int line, LPCTSTR lineText, LPCTSTR pos, int remaining, SECEditLineColor* entry,
                                  SECEditKeywordInfo* tag);
  virtual void FlushPendingRun(SECEditLineColor* entry, WORD* pending);
  virtual SECEditLineCol FindTagEnd(SECEditLineCol start, SECEditKeywordInfo* tag);
  virtual int LookupKeyword(LPCTSTR word, int len, WORD* group);
  virtual BOOL FindTagInLine(int line, int* col, int* endCol);
  virtual BOOL GetTagSpanAt(SECEditLineCol pos, int* start, int* end);
  LPCTSTR GetWordEnd(LPCTSTR p, int len);
  void ScanToLine(const SECEditLineColPair& range);
  // Drops every cached colour and every multi-line range; colouring starts again from the top.
  void ClearColourCache();
  void EnableColouring(BOOL bEnable) { m_bColouring = bEnable; }
  int GetFirstUncolouredLine() const { return m_nFirstUncoloured; }
  const SECEditMLCommentArray& GetMultiLineRanges() const { return m_mlRanges; }

  // ---- text ----
  virtual ISECEditBuffer* CreateBuffer();
  ISECEditBuffer* GetBuffer() { return m_pBuffer.get(); }
  virtual BOOL InsertText(SECEditLineColPair& where, LPCTSTR text, int len);
  virtual BOOL InsertTextAt(int line, int col, LPCTSTR text, int len);
  virtual BOOL DeleteText(int line, int col, int endLine, int endCol);
  // Makes many replacements (ascending offsets, none overlapping the next; `texts` holds their
  // new bytes) as one recorded edit, in one pass over the text, with one notice to the
  // observers. Lines are not wrapped: the caller keeps them short enough. FALSE, with nothing
  // changed, when a replacement lies outside the text.
  virtual BOOL ReplaceRanges(std::vector<SECEditReplacement> edits, std::string texts);
  // The replacements of a SECEditReplaceCommand: the text, the per-line colours, marks and
  // multi-line ranges follow them; `notice` goes to the observers. Records nothing.
  BOOL ApplyReplacements(const std::vector<SECEditReplacement>& edits, const std::string& texts,
                         kelpwood::foundation::CMvcCommand* notice);
  virtual BOOL GetText(CString* out, int line, int col, int endLine, int endCol);
  virtual int GetTextPointer(LPTSTR* out, int line, int col, int endLine, int endCol);
  virtual int Find(int line, int col, int* outLine, int* outCol, LPCTSTR text, BOOL bForward, BOOL bWrap,
                   BOOL bMatchCase, BOOL bWholeWord, BOOL bRegExp, int stopLine, int stopCol);
  virtual int GetLine(int line, CString* buf, LPTSTR* pText);
  virtual int GetLineLength(int line);
  virtual BOOL IsValidPosition(int line, int col, BOOL bAnyColumn);
  virtual int SnapColumn(int line, int col, BOOL bAnyColumn);
  virtual int GetMaxLineLength() { return m_nMaxLineLength; }
  // While set, insertions do not wrap lines past the maximum length.
  void SetSuppressWrap(BOOL bSuppress) { m_bSuppressWrap = bSuppress; }
  virtual BOOL IsLineBlank(int line);
  int GetIndentLength(int line);
  int GetLastLine() { return GetLineCount() - 1; }
  int GetLineCount() { return m_pBuffer ? m_pBuffer->GetLineCount() : 0; }
  SECEditLineCol GetEndPosition();
  CString GetLineEndText();
  CString GetLineEndText2();
  // The line end this text inserts: the file's as it was opened (CR LF, LF or CR), CR LF for a
  // new text.
  CString GetBreakText();
  // The text with each of its line ends (CR LF, LF or CR alone) made GetBreakText.
  CString WithBreakText(const CString& text);
  // The first ch within len bytes (-1: up to the NUL), stepping over double-byte characters.
  LPCTSTR FindChar(LPCTSTR text, char ch, int len);
  int CompareN(LPCTSTR a, LPCTSTR b, int len);
  int CompareNNoCase(LPCTSTR a, LPCTSTR b, int len);

  // ---- columns and indentation (SECEditColumns.cpp) ----
  virtual int ConvertLineColumn(int col, BOOL bToChar, int line, int* pStart = nullptr);
  virtual int ConvertStringColumn(int col, BOOL bToChar, LPCTSTR text, int* pStart = nullptr);
  virtual void MakeIndentText(CString* out, int count, SECEditLineCol pos, BOOL bAllowSpaces);
  virtual int SpacesToNextTabStop(SECEditLineCol pos);
  virtual BOOL InsertTab(int line, int col);
  virtual BOOL WrapLongLines(BOOL bWrap, int fromLine, int toLine);

  // ---- commands ----
  virtual SECEditCommand* RecordInsertCommand(const SECEditLineColPair& range);
  virtual void GroupCommands(BOOL bBegin);
  virtual void MergeWithLastCommand(kelpwood::foundation::CMvcCommand* cmd, BOOL bCmdFirst);
  BOOL IsGroupOpen() const { return m_bGroupOpen; }
  kelpwood::foundation::CMvcCommand* GetExecutingCommand() const { return m_pExecuting; }
  // Marks a command as running for its lifetime (the command's Execute and Unexecute).
  class ExecutingCommand {
   public:
    ExecutingCommand(SECEdit* model, kelpwood::foundation::CMvcCommand* cmd)
        : m_pModel(model), m_pPrevious(model->m_pExecuting) {
      model->m_pExecuting = cmd;
    }
    ~ExecutingCommand() { m_pModel->m_pExecuting = m_pPrevious; }
    ExecutingCommand(const ExecutingCommand&) = delete;
    ExecutingCommand& operator=(const ExecutingCommand&) = delete;

   private:
    SECEdit* m_pModel;
    kelpwood::foundation::CMvcCommand* m_pPrevious;
  };

  // ---- line marks and data (SECEditMarks.cpp) ----
  virtual BOOL HasLineMark(int line, int mark);
  virtual void ToggleLineMark(int line, int mark);
  virtual void ClearLineMarks(int mark);
  virtual int FindMarkedLine(int from, int mark, BOOL bForward);
  virtual int CountMarkedLines(int mark);
  virtual DWORD GetLineData(int line);
  virtual DWORD SetLineData(int line, DWORD value);
  virtual SECEditItemData* GetOrCreateItemData(int line);
  virtual void RemoveItemData(int line);
  virtual void InsertLineItems(int line, int count, BOOL bBefore);
  virtual void RemoveLineItems(int from, int to);
  virtual BOOL OnRemoveItemData(SECEditItemData* item, int line);
  void SetLineMark(int line, int mark, BOOL bOn);
  // Sets the mark on each of the lines, with one notice to the observers.
  void SetLineMarks(const std::vector<int>& lines, int mark);
  int GetItemCount() const { return static_cast<int>(m_itemSet.size()); }

  // Shared by every view of the text.
  BOOL m_bOverwrite = FALSE;
  // The controller whose drag of this text's selection runs (null when none); a drop tells it
  // where the text went.
  class SECEditController* m_pDragController = nullptr;

 protected:
  virtual void OnCommand(SECEditCommand* cmd);
  // Every change of the modified state goes through here, so the listener hears it.
  void ChangeModified(BOOL bModified);
  // Opening and reloading: with `failure` null a failure is shown, else its text goes there.
  BOOL LoadFile(LPCTSTR path, CString* failure);
  // A document saved with an empty history cannot be undone back to once the ring overflows.
  void OnHistoryOverflow(kelpwood::foundation::CMvcCommand* dropped) override;
  // Drops the multi-line ranges from the first that overlaps `range` or starts after its start,
  // with their cached colours; returns the first line of the first dropped range, or -1.
  int InvalidateMultiLineRanges(const SECEditLineColPair& range);
  // Whether the line is wider than the maximum line length in display columns.
  bool IsLineTooLong(int line);
  // Inserts the line-end text at (line, col) without recording or wrapping.
  void InsertBreak(int line, int col, SECEditLineColPair* inserted);
  // (line, col) with an end column past the line's text clamped and a column past the line end
  // moved to the next line's start; FALSE for an invalid position.
  BOOL Canonical(int* line, int* col, bool bClampToText);
  void ResetLineArrays();
  void SetColourEntry(int line, SECEditLineColor* entry);
  void DropColourEntry(int line);
  void SetMarkBit(int line, int mark, BOOL bOn);
  SECEditItemData* ItemAt(int line) { return line >= 0 && line < m_lineItems.Length() ? m_lineItems.ValueAt(line) : nullptr; }
  int TabSize();

  std::unique_ptr<ISECEditBuffer> m_pBuffer;
  SECEditMLCommentArray m_mlRanges;
  kelpwood::editor::SplitVector<SECEditLineColor*> m_colours;
  kelpwood::editor::SplitVector<SECEditItemData*> m_lineItems;
  std::unordered_set<SECEditItemData*> m_itemSet;
  BOOL m_bSuppressWrap = FALSE;
  kelpwood::foundation::CMvcCommand* m_pExecuting = nullptr;
  BOOL m_bColouring = TRUE;
  BOOL m_bModified = FALSE;
  brambolt::FileIdentity m_fileIdentity;
  CString m_strOpenRefusal;  // why the file being opened is refused, while ReportOpenError tells it
  std::function<void()> m_onModifiedChanged;
  int m_nReservedState = 0;
  UINT m_nFileCodePage = 0;  // CP_ACP
  BOOL m_bFileBom = FALSE;   // a UTF-8 file that began with a byte order mark keeps it
  BOOL m_bGroupOpen = FALSE;
  int m_nMaxLineLength = 2048;
  int m_nFirstUncoloured = 0;
  SECEditCompositeCommand* m_pOpenGroup = nullptr;
  // The serial of the undo ring's top command at the last save (0: none; kUnreachable: no command
  // can bring the saved text back).
  ULONG m_ulSavedSerial = 0;
  static constexpr ULONG kUnreachable = static_cast<ULONG>(-1);
  std::unique_ptr<SECEditFontInfo> m_pFontInfo;
  ISECEditLangConfig* m_pLangConfig = nullptr;
  BOOL m_bLineEdge = FALSE;
  // Whether a wrapping break carries line-end character 2 (the file had CR characters).
  BOOL m_bBreakWithChar2 = TRUE;
  // The lowest line whose colours an invalidation dropped since the last edit finished.
  int m_nColourRestart = -1;
};

namespace kelpwood::editor {
// The font and colour dialog behind EditFontSize: runs on the configuration and the font, stores
// the choice in the configuration and answers whether the user confirmed. Installed by the
// controller's dialog; without it EditFontSize does nothing.
using FontDialogRunner = BOOL (*)(ISECEditLangConfig* cfg, LOGFONT* font);
FontDialogRunner SetFontDialogRunner(FontDialogRunner runner);
}  // namespace kelpwood::editor
