class CGbShort : public CObject
{
public:
    // ´°¿Ú
    BOOL Action01(int nValue);
};
