// The default-description tables of the documentation pages: for each language the texts of a
// member-variable type, a return type, a parameter type (first key found in the type) and the
// remark of a member function (first key the name starts with). Keys and their order are the
// same in every language so that each language tells the same.
#include "model/DocPages.h"

namespace {

// The class's own name (a constructor) among the remark keys.
constexpr const char* kClassName = nullptr;

const char* const kSerializeEnglish =
    "Reads this object from an archive or writes it to one.\n"
    "<P> The framework calls Serialize when the object is stored or loaded; the archive's IsStoring "
    "tells which of the two is asked for.\n"
    "<P> Override it in a derived class to transfer the class's own data, and call the base class's "
    "Serialize first.";
const char* const kDumpEnglish =
    "Dumps the contents of the object to a CDumpContext object.\n"
    "<P> It is meant for debugging and is called in debug builds only, for example:\n"
    "<PRE>void CMyClass::Dump(CDumpContext&amp; dc) const\n"
    "{\n"
    "    CObject::Dump(dc);\n"
    "    dc &lt;&lt; \"m_nCount = \" &lt;&lt; m_nCount;\n"
    "}</PRE>";

const std::vector<DocDefault>& EnglishVariables() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "This member sets TRUE if it is right."},
      {"UINT", "This member sets an unsigned integer value."},
      {"CStringList", "This member maintains a list of CString objects."},
      {"CImageList", "This member maintains a list of images."},
      {"CStringArray", "This member maintains an array of CString objects."},
      {"CString", "This member sets a CString value."},
      {"CWnd", "This member maintains a window object."},
      {"CEdit", "This member maintains an edit control."},
      {"CButton", "This member maintains a button control."},
      {"CBrush", "This member maintains a brush for drawing."},
      {"CPen", "This member maintains a pen for drawing."},
      {"CFont", "This member maintains a font."},
      {"DLGTEMPLATE", "This member maintains a dialog template."},
      {"CBitmap", "This member maintains a bitmap."},
      {"int", "This member sets an int value."},
      {"*", "This member maintains a pointer to the object %T."},
      {"LPCTSTR", "This member maintains a pointer to a constant string."},
      {"COLORREF", "This member sets a color value."},
      {"BYTE", "This member sets a BYTE value."},
      {"LPARAM", "This member sets a LPARAM value."},
      {"WPARAM", "This member sets a WPARAM value."},
      {"POSITION", "This member maintains a position in a list."},
      {"CRect", "This member sets a CRect value."},
      {"CSize", "This member sets a CSize value."},
      {"CPoint", "This member sets a CPoint value."},
      {"long", "This member sets a long value."},
      {"LONG", "This member sets a LONG value."},
      {"DWORD", "This member sets a DWORD value."},
      {"float", "This member sets a float value."},
      {"FLOAT", "This member sets a FLOAT value."},
      {"LRESULT", "This member sets the result of a message."},
      {"bool", "This member sets true if it is right."},
      {"LPSTR", "This member maintains a pointer to a string."},
      {"LPTSTR", "This member maintains a pointer to a string."},
      {"WORD", "This member sets a WORD value."},
      {"", "This member specify a value."},
  };
  return entries;
}

const std::vector<DocDefault>& GBVariables() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "此成员表示是否成立,成立时为TRUE."},
      {"UINT", "此成员设定一个无符号整数值."},
      {"CStringList", "此成员维护一个CString对象的列表."},
      {"CImageList", "此成员维护一个图像列表."},
      {"CStringArray", "此成员维护一个CString对象的数组."},
      {"CString", "此成员设定一个CString值."},
      {"CWnd", "此成员维护一个窗口对象."},
      {"CEdit", "此成员维护一个编辑控件."},
      {"CButton", "此成员维护一个按钮控件."},
      {"CBrush", "此成员维护一个用于绘图的画刷."},
      {"CPen", "此成员维护一个用于绘图的画笔."},
      {"CFont", "此成员维护一个字体."},
      {"DLGTEMPLATE", "此成员维护一个对话框模板."},
      {"CBitmap", "此成员维护一个位图."},
      {"int", "此成员设定一个int值."},
      {"*", "此成员维护一个指向%T对象的指针."},
      {"LPCTSTR", "此成员维护一个指向常量字符串的指针."},
      {"COLORREF", "此成员设定一个颜色值."},
      {"BYTE", "此成员设定一个BYTE值."},
      {"LPARAM", "此成员设定一个LPARAM值."},
      {"WPARAM", "此成员设定一个WPARAM值."},
      {"POSITION", "此成员维护列表中的一个位置."},
      {"CRect", "此成员设定一个CRect值."},
      {"CSize", "此成员设定一个CSize值."},
      {"CPoint", "此成员设定一个CPoint值."},
      {"long", "此成员设定一个long值."},
      {"LONG", "此成员设定一个LONG值."},
      {"DWORD", "此成员设定一个DWORD值."},
      {"float", "此成员设定一个float值."},
      {"FLOAT", "此成员设定一个FLOAT值."},
      {"LRESULT", "此成员设定一个消息的处理结果."},
      {"bool", "此成员表示是否成立,成立时为true."},
      {"LPSTR", "此成员维护一个指向字符串的指针."},
      {"LPTSTR", "此成员维护一个指向字符串的指针."},
      {"WORD", "此成员设定一个WORD值."},
      {"", "此成员设定一个指定的值."},
  };
  return entries;
}

const std::vector<DocDefault>& Big5Variables() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "此變數用於表示是否是，如果是則為TRUE，否則為FALSE."},
      {"UINT", "此變數用於保存一個無符號整數值."},
      {"CStringList", "此變數用於保存一個CString物件的列表."},
      {"CImageList", "此變數用於保存一個圖像列表."},
      {"CStringArray", "此變數用於保存一個CString物件的陣列."},
      {"CString", "此變數用於保存一個CString字串."},
      {"CWnd", "此變數用於保存一個視窗物件."},
      {"CEdit", "此變數用於保存一個編輯控制項."},
      {"CButton", "此變數用於保存一個按鈕控制項."},
      {"CBrush", "此變數用於保存一個繪圖用的畫刷."},
      {"CPen", "此變數用於保存一個繪圖用的畫筆."},
      {"CFont", "此變數用於保存一個字型."},
      {"DLGTEMPLATE", "此變數用於保存一個對話方塊範本."},
      {"CBitmap", "此變數用於保存一個點陣圖."},
      {"int", "此變數用於保存一個整數值."},
      {"*", "此變數是指向%T物件的指標."},
      {"LPCTSTR", "此變數是指向常數字串的指標."},
      {"COLORREF", "此變數用於保存一個顏色值."},
      {"BYTE", "此變數用於保存一個BYTE值."},
      {"LPARAM", "此變數用於保存一個LPARAM值."},
      {"WPARAM", "此變數用於保存一個WPARAM值."},
      {"POSITION", "此變數用於保存列表中的一個位置."},
      {"CRect", "此變數用於保存一個CRect值."},
      {"CSize", "此變數用於保存一個CSize值."},
      {"CPoint", "此變數用於保存一個CPoint值."},
      {"long", "此變數用於保存一個long值."},
      {"LONG", "此變數用於保存一個LONG值."},
      {"DWORD", "此變數用於保存一個DWORD值."},
      {"float", "此變數用於保存一個float值."},
      {"FLOAT", "此變數用於保存一個FLOAT值."},
      {"LRESULT", "此變數用於保存一個訊息的處理結果."},
      {"bool", "此變數用於表示是否是，如果是則為true，否則為false."},
      {"LPSTR", "此變數是指向字串的指標."},
      {"LPTSTR", "此變數是指向字串的指標."},
      {"WORD", "此變數用於保存一個WORD值."},
      {"", "此變數是用於."},
  };
  return entries;
}

const std::vector<DocDefault>& EnglishReturns() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "Returns TRUE on success; FALSE otherwise."},
      {"UINT", "Returns a UINT type value."},
      {"CString", "Returns a CString type value."},
      {"int", "Returns a int type value."},
      {"*", "Returns a pointer to the object %T,or NULL if the call failed"},
      {"LPCTSTR", "Returns a pointer to a constant character string."},
      {"void", "void"},
      {"COLORREF", "Returns a color value."},
      {"BYTE", "Returns a BYTE type value."},
      {"LPARAM", "Returns a LPARAM type value."},
      {"WPARAM", "Returns a WPARAM type value."},
      {"POSITION", "Returns a POSITION value for iterating; NULL when there is nothing to iterate."},
      {"LPCRECT", "Returns a pointer to a constant RECT structure."},
      {"CRect", "Returns a CRect type value."},
      {"CSize", "Returns a CSize type value."},
      {"CPoint", "Returns a CPoint type value."},
      {"long", "Returns a long type value."},
      {"LONG", "Returns a LONG type value."},
      {"DWORD", "Returns a DWORD type value."},
      {"float", "Returns a float type value."},
      {"FLOAT", "Returns a FLOAT type value."},
      {"LRESULT", "Returns the result of the message processing."},
      {"bool", "Returns true on success; false otherwise."},
      {"LPSTR", "Returns a pointer to a character string."},
      {"BSTR", "Returns a BSTR string."},
      {"WORD", "Returns a WORD type value."},
      {"", "Returns A value."},
  };
  return entries;
}

const std::vector<DocDefault>& GBReturns() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "成功时返回TRUE,否则返回FALSE."},
      {"UINT", "返回一个UINT类型的值."},
      {"CString", "返回一个CString类型的值."},
      {"int", "返回一个int类型的值."},
      {"*", "返回一个指向%T对象的指针,调用失败时返回NULL."},
      {"LPCTSTR", "返回一个指向常量字符串的指针."},
      {"void", "void"},
      {"COLORREF", "返回一个颜色值."},
      {"BYTE", "返回一个BYTE类型的值."},
      {"LPARAM", "返回一个LPARAM类型的值."},
      {"WPARAM", "返回一个WPARAM类型的值."},
      {"POSITION", "返回一个用于遍历的POSITION值,没有可遍历的元素时返回NULL."},
      {"LPCRECT", "返回一个指向常量RECT结构的指针."},
      {"CRect", "返回一个CRect类型的值."},
      {"CSize", "返回一个CSize类型的值."},
      {"CPoint", "返回一个CPoint类型的值."},
      {"long", "返回一个long类型的值."},
      {"LONG", "返回一个LONG类型的值."},
      {"DWORD", "返回一个DWORD类型的值."},
      {"float", "返回一个float类型的值."},
      {"FLOAT", "返回一个FLOAT类型的值."},
      {"LRESULT", "返回消息的处理结果."},
      {"bool", "成功时返回true,否则返回false."},
      {"LPSTR", "返回一个指向字符串的指针."},
      {"BSTR", "返回一个BSTR字符串."},
      {"WORD", "返回一个WORD类型的值."},
      {"", "返回一个值."},
  };
  return entries;
}

const std::vector<DocDefault>& Big5Returns() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "若此函數操作成功，返回值為TRUE，否則返回值為FALSE."},
      {"UINT", "此函數返回一個UINT類型的值."},
      {"CString", "此函數返回一個CString字串."},
      {"int", "此函數返回一個整數值."},
      {"*", "此函數返回一個指向%T物件的指標，失敗時返回NULL."},
      {"LPCTSTR", "此函數返回一個指向常數字串的指標."},
      {"void", "此函數沒有返回值."},
      {"COLORREF", "此函數返回一個顏色值."},
      {"BYTE", "此函數返回一個BYTE類型的值."},
      {"LPARAM", "此函數返回一個LPARAM類型的值."},
      {"WPARAM", "此函數返回一個WPARAM類型的值."},
      {"POSITION", "此函數返回一個用於遍歷的POSITION值，沒有元素時返回NULL."},
      {"LPCRECT", "此函數返回一個指向常數RECT結構的指標."},
      {"CRect", "此函數返回一個CRect值."},
      {"CSize", "此函數返回一個CSize值."},
      {"CPoint", "此函數返回一個CPoint值."},
      {"long", "此函數返回一個long值."},
      {"LONG", "此函數返回一個LONG值."},
      {"DWORD", "此函數返回一個DWORD值."},
      {"float", "此函數返回一個float值."},
      {"FLOAT", "此函數返回一個FLOAT值."},
      {"LRESULT", "此函數返回訊息的處理結果."},
      {"bool", "若此函數操作成功，返回值為true，否則返回值為false."},
      {"LPSTR", "此函數返回一個指向字串的指標."},
      {"BSTR", "此函數返回一個BSTR字串."},
      {"WORD", "此函數返回一個WORD值."},
      {"", "此函數返回一個值."},
  };
  return entries;
}

const std::vector<DocDefault>& EnglishParameters() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "Specifies TRUE or FALSE."},
      {"UINT", "Specifies an unsigned integer value."},
      {"CString", "Specifies a CString value."},
      {"int", "Specifies an integer value."},
      {"*", "A pointer to the %T or NULL if the call failed."},
      {"LPCTSTR", "Specifies A 32-bit pointer to a constant character string that is portable for Unicode and DBCS."},
      {"void", "No parameter."},
      {"COLORREF", "Specifies a color value."},
      {"BYTE", "Specifies a BYTE value."},
      {"LPARAM", "Specifies additional message-dependent information."},
      {"WPARAM", "Specifies additional message-dependent information."},
      {"POSITION", "Specifies a POSITION value returned by an earlier call."},
      {"LPCRECT", "Points to a RECT structure or a CRect object."},
      {"CRect", "Specifies a CRect value."},
      {"CSize", "Specifies a CSize value."},
      {"CPoint", "Specifies a CPoint value."},
      {"long", "Specifies a long value."},
      {"LONG", "Specifies a LONG value."},
      {"DWORD", "Specifies a DWORD value."},
      {"float", "Specifies a float value."},
      {"FLOAT", "Specifies a FLOAT value."},
      {"LRESULT", "Specifies the result of a message."},
      {"bool", "Specifies true or false."},
      {"LPSTR", "Points to a character string."},
      {"BSTR", "Specifies a BSTR string."},
      {"WORD", "Specifies a WORD value."},
      {"", "Specifies A Value."},
  };
  return entries;
}

const std::vector<DocDefault>& GBParameters() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "指定TRUE或FALSE."},
      {"UINT", "指定一个无符号整数值."},
      {"CString", "指定一个CString值."},
      {"int", "指定一个整数值."},
      {"*", "一个指向%T的指针,调用失败时为NULL."},
      {"LPCTSTR", "指定一个指向常量字符串的32位指针,可用于Unicode和DBCS."},
      {"void", "没有参数."},
      {"COLORREF", "指定一个颜色值."},
      {"BYTE", "指定一个BYTE值."},
      {"LPARAM", "指定与消息相关的附加信息."},
      {"WPARAM", "指定与消息相关的附加信息."},
      {"POSITION", "指定一个由先前的调用返回的POSITION值."},
      {"LPCRECT", "指向一个RECT结构或CRect对象."},
      {"CRect", "指定一个CRect值."},
      {"CSize", "指定一个CSize值."},
      {"CPoint", "指定一个CPoint值."},
      {"long", "指定一个long值."},
      {"LONG", "指定一个LONG值."},
      {"DWORD", "指定一个DWORD值."},
      {"float", "指定一个float值."},
      {"FLOAT", "指定一个FLOAT值."},
      {"LRESULT", "指定一个消息的处理结果."},
      {"bool", "指定true或false."},
      {"LPSTR", "指向一个字符串."},
      {"BSTR", "指定一个BSTR字符串."},
      {"WORD", "指定一个WORD值."},
      {"", "指定一个值."},
  };
  return entries;
}

const std::vector<DocDefault>& Big5Parameters() {
  static const std::vector<DocDefault> entries = {
      {"BOOL", "此參數為TRUE或FALSE."},
      {"UINT", "此參數為一個無符號整數值."},
      {"CString", "此參數為一個CString字串."},
      {"int", "此參數為一個整數值."},
      {"*", "此參數為一個指向%T的指標，可為NULL."},
      {"LPCTSTR", "此參數為一個指向常數字串的指標."},
      {"void", "此函數沒有參數."},
      {"COLORREF", "此參數為一個顏色值."},
      {"BYTE", "此參數為一個BYTE值."},
      {"LPARAM", "此參數為訊息的附加資訊."},
      {"WPARAM", "此參數為訊息的附加資訊."},
      {"POSITION", "此參數為先前調用返回的POSITION值."},
      {"LPCRECT", "此參數指向一個RECT結構或CRect物件."},
      {"CRect", "此參數為一個CRect值."},
      {"CSize", "此參數為一個CSize值."},
      {"CPoint", "此參數為一個CPoint值."},
      {"long", "此參數為一個long值."},
      {"LONG", "此參數為一個LONG值."},
      {"DWORD", "此參數為一個DWORD值."},
      {"float", "此參數為一個float值."},
      {"FLOAT", "此參數為一個FLOAT值."},
      {"LRESULT", "此參數為訊息的處理結果."},
      {"bool", "此參數為true或false."},
      {"LPSTR", "此參數指向一個字串."},
      {"BSTR", "此參數為一個BSTR字串."},
      {"WORD", "此參數為一個WORD值."},
      {"", "此參數為一個指定的一個值."},
  };
  return entries;
}

const std::vector<DocDefault>& EnglishRemarks() {
  static const std::vector<DocDefault> entries = {
      {"Get", "Returns the specified value."},
      {"Hide", "Hides the objects by removing it from the display screen. "},
      {"Draw", "Draws the object on the specified device context."},
      {"Play", "Plays the object."},
      {"Stop", "Stops the object."},
      {"Show", "Shows the object on the display screen."},
      {"Select", "Selects the specified object."},
      {"Hit", "Tests where a point lies on the object."},
      {"Set", "Sets a specify value to current class %C"},
      {"~", "Destructor of class %C"},
      {"Serialize", "Reads this object from an archive or writes it to one.", false, kSerializeEnglish},
      {kClassName, "Constructs a %C object."},
      {"Read", "Reads the object from the specified storage."},
      {"Save", "Saves the object to the specified storage."},
      {"Insert", "Inserts an object into the specify list."},
      {"Add", "Adds an object to the specify list."},
      {"Remove", "Removes an object from the specify list."},
      {"Clear", "Clears the contents of the object."},
      {"Update", "Updates the object to its current state."},
      {"Find", "Finds the specified object."},
      {"Init", "Call %N after creating a new object."},
      {"Write", "Writes the object to the specified storage."},
      {"Load", "Loads the object from the specified storage."},
      {"Is", "Tests the specified state of the object."},
      {"Create",
       "You construct a %C object in two steps. First call the constructor, then call Create, which creates the object."},
      {"On", "This member function is called by the framework to allow your application to handle a Windows message."},
      {"Destroy", "Destroys the object."},
      {"Process", "Processes the specified operation."},
      {"Assert", "Performs a validity check on this object by checking its internal state."},
      {"Dump", "Dumps the contents of the object to a CDumpContext object.", false, kDumpEnglish},
      {"Enable", "Enables or disables the object."},
      {"DoSave", "Saves the document to the specified file."},
      {"DoLoad", "Loads the document from the specified file."},
      {"Reset", "Called this function to empty a previously initialized %C object."},
      {"Unreg", "Unregisters the object."},
      {"Regi", "Registers the object."},
      {"RecalcLayout", "Recalculates the layout of the object.", true},
      {"Activate", "Activates the object."},
      {"Rename", "Renames the object."},
      {"Invali", "Invalidates the object so that it is drawn again."},
      {"", "None Description."},
  };
  return entries;
}

const char* const kSerializeGB =
    "从存档中读出此对象或把它写入存档.\n"
    "<P> 对象被保存或读入时框架调用Serialize;存档的IsStoring说明是哪一种.\n"
    "<P> 在派生类中重载它以传送类自己的数据,并先调用基类的Serialize.";
const char* const kDumpGB =
    "把对象的内容输出到一个CDumpContext对象.\n"
    "<P> 它用于调试,只在调试版本中被调用,例如:\n"
    "<PRE>void CMyClass::Dump(CDumpContext&amp; dc) const\n"
    "{\n"
    "    CObject::Dump(dc);\n"
    "    dc &lt;&lt; \"m_nCount = \" &lt;&lt; m_nCount;\n"
    "}</PRE>";

const std::vector<DocDefault>& GBRemarks() {
  static const std::vector<DocDefault> entries = {
      {"Get", "返回指定的值."},
      {"Hide", "从显示屏幕上移去对象,将其隐藏."},
      {"Draw", "在指定的设备描述表上绘制对象."},
      {"Play", "播放对象."},
      {"Stop", "停止对象."},
      {"Show", "在显示屏幕上显示对象."},
      {"Select", "选择指定的对象."},
      {"Hit", "测试一个点位于对象的什么位置."},
      {"Set", "给当前类%C设定一个指定的值"},
      {"~", "类%C的析构函数"},
      {"Serialize", "从存档中读出此对象或把它写入存档.", false, kSerializeGB},
      {kClassName, "构造一个%C对象."},
      {"Read", "从指定的存储中读出对象."},
      {"Save", "把对象保存到指定的存储中."},
      {"Insert", "把一个对象插入指定的列表."},
      {"Add", "把一个对象加入指定的列表."},
      {"Remove", "从指定的列表中移去一个对象."},
      {"Clear", "清除对象的内容."},
      {"Update", "按当前状态更新对象."},
      {"Find", "查找指定的对象."},
      {"Init", "创建新对象后调用%N."},
      {"Write", "把对象写入指定的存储."},
      {"Load", "从指定的存储中装入对象."},
      {"Is", "测试对象的指定状态."},
      {"Create", "构造%C对象分两步:先调用构造函数,再调用Create创建对象."},
      {"On", "框架调用此成员函数,让您的应用程序处理一个Windows消息."},
      {"Destroy", "销毁对象."},
      {"Process", "处理指定的操作."},
      {"Assert", "检查对象的内部状态,确认对象有效."},
      {"Dump", "把对象的内容输出到一个CDumpContext对象.", false, kDumpGB},
      {"Enable", "允许或禁止对象."},
      {"DoSave", "把文档保存到指定的文件."},
      {"DoLoad", "从指定的文件装入文档."},
      {"Reset", "调用此函数清空一个已初始化的%C对象."},
      {"Unreg", "注销对象."},
      {"Regi", "注册对象."},
      {"RecalcLayout", "重新计算对象的布局.", true},
      {"Activate", "激活对象."},
      {"Rename", "重新命名对象."},
      {"Invali", "使对象无效,以便重新绘制."},
      {"", "没有描述."},
  };
  return entries;
}

const std::vector<DocDefault>& Big5Remarks() {
  static const std::vector<DocDefault> entries = {
      {"Get", "此成員函數用於取得指定的值."},
      {"Select", "此成員函數用於選擇指定的物件."},
      {"Hit", "此成員函數用於測試一個點位於物件的什麼位置."},
      {"Set", "此成員函數用於給類別%C設定一個指定的值."},
      {"~", "類別%C的解構函數."},
      {"Serialize", "此成員函數用於從存檔中讀出此物件或把它寫入存檔."},
      {kClassName, "構造一個%C物件."},
      {"Read", "此成員函數用於從指定的存儲中讀出物件."},
      {"Save", "此成員函數用於把物件保存到指定的存儲中."},
      {"Insert", "此成員函數用於把一個物件插入指定的列表."},
      {"Add", "此成員函數用於把一個物件加入指定的列表."},
      {"Remove", "此成員函數用於從指定的列表中移去一個物件."},
      {"Clear", "此成員函數用於清除物件的內容."},
      {"Update", "此成員函數用於按目前狀態更新物件."},
      {"Find", "此成員函數用於尋找指定的物件."},
      {"Init", "創建新物件後調用%N."},
      {"On", "框架調用此成員函數，讓您的應用程式處理一個Windows訊息."},
      {"Write", "此成員函數用於把物件寫入指定的存儲."},
      {"Load", "此成員函數用於從指定的存儲中載入物件."},
      {"Is", "此成員函數用於測試物件的指定狀態."},
      {"Create", "構造%C物件分兩步：先調用構造函數，再調用Create創建物件."},
      {"Destroy", "此成員函數用於銷毀物件."},
      {"Process", "此成員函數用於處理指定的操作."},
      {"Assert", "此成員函數用於檢查物件的內部狀態."},
      {"Dump", "此成員函數用於把物件的內容輸出到一個CDumpContext物件."},
      {"Enable", "此成員函數用於允許或禁止物件."},
      {"Draw", "此成員函數用於在指定的裝置內容上繪製物件."},
      {"DoSave", "此成員函數用於把文件保存到指定的檔案."},
      {"DoLoad", "此成員函數用於從指定的檔案載入文件."},
      {"Reset", "調用此函數清空一個已初始化的%C物件."},
      {"Unreg", "此成員函數用於註銷物件."},
      {"Regi", "此成員函數用於註冊物件."},
      {"RecalcLayout", "此成員函數用於重新計算物件的佈局.", true},
      {"Activate", "此成員函數用於啟動物件."},
      {"Rename", "此成員函數用於重新命名物件."},
      {"Invali", "此成員函數用於使物件無效，以便重新繪製."},
      {"", "此成員函數用於設定你指定的操作\n您可以根據需要調用此函數.</P>"},
  };
  return entries;
}

// One table per language, converted to the language's code page on first use.
template <const std::vector<DocDefault>& (*English)(), const std::vector<DocDefault>& (*GB)(),
          const std::vector<DocDefault>& (*Big5)()>
const DocTable& TableOf(DocLanguage language) {
  static const DocTable english(DocLanguage::English, English());
  static const DocTable gb(DocLanguage::GB, GB());
  static const DocTable big5(DocLanguage::Big5, Big5());
  switch (language) {
    case DocLanguage::GB: return gb;
    case DocLanguage::Big5: return big5;
    case DocLanguage::English: break;
  }
  return english;
}

}  // namespace

const DocTable& VariableTypeTable(DocLanguage language) {
  return TableOf<EnglishVariables, GBVariables, Big5Variables>(language);
}

const DocTable& ReturnTypeTable(DocLanguage language) {
  return TableOf<EnglishReturns, GBReturns, Big5Returns>(language);
}

const DocTable& ParameterTypeTable(DocLanguage language) {
  return TableOf<EnglishParameters, GBParameters, Big5Parameters>(language);
}

const DocTable& RemarkTable(DocLanguage language) { return TableOf<EnglishRemarks, GBRemarks, Big5Remarks>(language); }
