// Classification of class names: framework classes and the component library's classes map to
// the id of the framework class they stand for, any other name to 0.
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/CWorkSpaceObj.h"

namespace {

struct KnownClass {
  const char* name;
  DWORD id;
};

// Framework classes with an id. Framework names without one behave exactly like unknown
// names (both give 0), so they are not listed.
constexpr KnownClass kFrameworkClasses[] = {
    {"CAnimateCtrl", 1000},     {"CAsyncMonikerFile", 1001}, {"CAsyncSocket", 1002},   {"CButton", 1003},
    {"CCmdTarget", 1005},       {"CColorDialog", 1006},      {"CComboBox", 1007},      {"CComboBoxEx", 1008},
    {"CDateTimeCtrl", 1009},    {"CDocument", 1010},         {"CDragListBox", 1011},   {"CEdit", 1012},
    {"CEditView", 1013},        {"CFileDialog", 1014},       {"CFontDialog", 1015},    {"CFrameWnd", 1016},
    {"CHeaderCtrl", 1017},      {"CHotKeyCtrl", 1018},       {"CIPAddressCtrl", 1022}, {"CListCtrl", 1024},
    {"CMiniFrameWnd", 1027},    {"CMonthCalCtrl", 1028},     {"COleDocument", 1029},   {"COleServerItem", 1032},
    {"CProgressCtrl", 1034},    {"CPropertySheet", 1035},    {"CRichEditCtrl", 1036},  {"CScrollBar", 1037},
    {"CScrollView", 1038},      {"CSliderCtrl", 1039},       {"CSocket", 1040},        {"CSpinButtonCtrl", 1041},
    {"CStatusBarCtrl", 1043},   {"CTabCtrl", 1044},          {"CTreeCtrl", 1046},      {"CView", 1048},
    {"CWinThread", 1049},       {"CWnd", 1050},              {"CWinApp", 1052},        {"CBitmap", 1054},
    {"CBitmapButton", 1055},    {"CByteArray", 1056},        {"CCheckListBox", 1057},  {"CClientDC", 1058},
    {"CCmdUI", 1059},           {"CCommandLineInfo", 1060},  {"CControlBar", 1061},
};

// Component-library classes with the id of the framework class they derive from (1023 is the
// list box, 1042 the static control). Library classes without an id are not listed, as above.
constexpr KnownClass kComponentClasses[] = {
    // Windows
    {"SECListBaseC", 1050}, {"SECListCtrl", 1050}, {"SECTreeBaseC", 1050}, {"SECTreeCtrl", 1050},
    {"SECTabWndBase", 1050}, {"SECTabWnd", 1050}, {"SEC3DTabWnd", 1050}, {"SECTabControlBase", 1050},
    {"SECTabControl", 1050}, {"SEC3DTabControl", 1050}, {"SECListTip", 1050}, {"SECShortcutBar", 1050},
    {"SECShortcutListCtrl", 1050}, {"SECListBar", 1050}, {"SECCalendar", 1050}, {"SECPopupCalendar", 1050},
    {"SECDateTimeCtrl", 1050}, {"SECCalculator", 1050}, {"SECPopupCalculator", 1050}, {"SECMarquee", 1050},
    {"SECColorWell", 1050}, {"SECPopupColorWell", 1050}, {"SECSplashWnd", 1050}, {"SECOverviewWnd", 1050},
    {"SECListBoxDragWnd", 1050}, {"SECDayBar", 1050}, {"SECWorkbookClient", 1050}, {"SECEditCtrl", 1050},
    {"SECPanel", 1050}, {"SECTipWnd", 1050}, {"SECSplitterWnd", 1050}, {"SECTitleBar", 1050},
    {"SECGripperWnd", 1050},
    // Buttons
    {"SECOwnerDrawButton", 1003}, {"SECBitmapButton", 1003}, {"SECOtherButton", 1003}, {"SECWellButton", 1003},
    {"SECBrowseButton", 1003}, {"SECColorButton", 1003}, {"SECCalcBtn", 1003}, {"SECMenuButton", 1003},
    {"SECArrowButton", 1003}, {"SECCheckButton", 1003}, {"SECRadioButton", 1003}, {"SECDropButton", 1003},
    {"SECHyperlinkButton", 1003}, {"SECToggleButton", 1003}, {"SECImageButton", 1003}, {"SECFlatButton", 1003},
    {"SECLinkButton", 1003},
    // Static controls
    {"SECStatic", 1042}, {"SECHyperlink", 1042}, {"SECLabel", 1042}, {"SECImageStatic", 1042},
    {"SECBitmapStatic", 1042}, {"SECCaption", 1042}, {"SECIconStatic", 1042}, {"SECSeparator", 1042},
    {"SECTextStatic", 1042}, {"SECColorStatic", 1042}, {"SECGradientStatic", 1042},
    // Edits
    {"SECDropEdit", 1012}, {"SECCurrencyEdit", 1012}, {"SECMaskEdit", 1012}, {"SECBrowseEditBase", 1012},
    {"SECBrowseDirEdit", 1012}, {"SECBrowseFileEdit", 1012}, {"SECListEdit", 1012}, {"SECComboBtnEdit", 1012},
    {"SECNumericEdit", 1012},
    // Combo boxes
    {"SECComboBox", 1007}, {"SECColorCombo", 1007}, {"SECFontCombo", 1007}, {"SECDriveCombo", 1007},
    {"SECHistoryCombo", 1007}, {"SECAutoCombo", 1007}, {"SECImageCombo", 1007},
    // List boxes
    {"SECListBox", 1023}, {"SECMenuListBox", 1023}, {"SECListBoxEdit", 1023}, {"SECDragListBox", 1023},
    {"SECCheckListBox", 1023}, {"SECColorListBox", 1023},
    // Views, documents and the rest
    {"SECListView", 1048}, {"SECTreeView", 1048}, {"SECPanView", 1048}, {"SECTNDocument", 1010},
    {"SECImageDocument", 1010}, {"SECProgressCtrl", 1034}, {"SECSmoothProgress", 1034}, {"SECWinApp", 1052},
    {"SECAppBase", 1052}, {"SECFileDialog", 1014}, {"SECReportCtrl", 1024}, {"SECPropertySheet", 1035},
    {"SECZoomView", 1038}, {"SECTreeCtrlEx", 1046}, {"SECBmpButton", 1055},
};

// All names, the first entry of a name winning, built once.
const std::unordered_map<std::string_view, DWORD>& KnownClassIds() {
  static const std::unordered_map<std::string_view, DWORD> ids = [] {
    std::unordered_map<std::string_view, DWORD> map;
    for (const KnownClass& entry : kFrameworkClasses) map.emplace(entry.name, entry.id);
    for (const KnownClass& entry : kComponentClasses) map.emplace(entry.name, entry.id);
    return map;
  }();
  return ids;
}

}  // namespace

DWORD CWorkSpaceObj::LookUpKnownClass(CString strClassName) const {
  const auto& ids = KnownClassIds();
  auto it = ids.find(std::string_view(strClassName, static_cast<size_t>(strClassName.GetLength())));
  return it != ids.end() ? it->second : 0;
}
