class CBig5Short : public CObject
{
public:
    // 視窗
    BOOL Action01(int nValue);
};
