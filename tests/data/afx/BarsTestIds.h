// Ids of the control-bar test resources.
#define IDR_TESTBAR 150
#define IDD_TESTDIALOGBAR 151
#define IDC_TESTBAR_EDIT 1501
#define IDC_TESTBAR_BUTTON 1502
#define ID_TB_ONE 32900
#define ID_TB_TWO 32901
#define ID_TB_THREE 32902
#define ID_TB_FOUR 32903
