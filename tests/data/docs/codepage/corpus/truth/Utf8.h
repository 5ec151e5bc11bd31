class CUtf8 : public CObject
{
public:
    // 无法保留扩展属性，此 cp 程序编译时没有启用 xattr 支持
    BOOL Action01(int nValue);
    // 无法在内核未启用 SELinux 的情况下保留安全上下文
    BOOL Action02(int nValue);
    // 以默认格式无法仅打印名称或仅打印真实 ID
    BOOL Action03(int nValue);
    // 容量
    BOOL Action04(LPCTSTR lpszText = "退出");
};
