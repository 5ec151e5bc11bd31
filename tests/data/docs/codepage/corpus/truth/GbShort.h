class CGbShort : public CObject
{
public:
    // 窗口
    BOOL Action01(int nValue);
};
