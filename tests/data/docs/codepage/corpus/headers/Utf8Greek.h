class CUtf8Greek : public CObject
{
public:
    // angle θ in radians
    BOOL Action01(int nValue);
    // Открыть окно
    BOOL Action02(int nValue);
    // μ is the mean, σ the deviation
    BOOL Action03(int nValue);
};
