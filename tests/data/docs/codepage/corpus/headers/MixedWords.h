class CMixedWords : public CObject
{
public:
    // Returns the Ê§°Ü of the window
    BOOL Action01(int nValue);
    // Sets the ÎÄ¼þ, see also Action01
    BOOL Action02(int nValue);
    // ¹Ò¶Ï (OK)
    BOOL Action03(int nValue);
    // Closes the window
    BOOL Action04(int nValue);
};
