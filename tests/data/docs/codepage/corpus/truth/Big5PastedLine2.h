class CBig5PastedLine2 : public CObject
{
public:
    // 無法取得有效用的 UID
    BOOL Action01(int nValue);
    // 無法保留擴充屬性，目前使用的 cp 複本編譯時沒有啟用 xattr 支援
    BOOL Action02(int nValue);
    // 無法在未啟用 SELinux 支援的核心上儲存安全情境
    BOOL Action03(int nValue);
    // 无法创建临时文件
    BOOL Action04(int nValue);
};
