class CMixedWords : public CObject
{
public:
    // Returns the 失败 of the window
    BOOL Action01(int nValue);
    // Sets the 文件, see also Action01
    BOOL Action02(int nValue);
    // 挂断 (OK)
    BOOL Action03(int nValue);
    // Closes the window
    BOOL Action04(int nValue);
};
