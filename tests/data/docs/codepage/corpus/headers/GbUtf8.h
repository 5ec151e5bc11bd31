class CGbUtf8 : public CObject
{
public:
    // ״̬ ֵ ҳ
    BOOL Action01(int nValue);
    // Ŀ¼
    BOOL Action02(int nValue);
    // δ֪
    BOOL Action03(int nValue);
    // ״̬
    BOOL Action04(int nValue);
};
