class CGbUtf8 : public CObject
{
public:
    // 状态 值 页
    BOOL Action01(int nValue);
    // 目录
    BOOL Action02(int nValue);
    // 未知
    BOOL Action03(int nValue);
    // 状态
    BOOL Action04(int nValue);
};
