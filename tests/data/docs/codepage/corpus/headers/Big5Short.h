class CBig5Short : public CObject
{
public:
    // µøµ¡
    BOOL Action01(int nValue);
};
