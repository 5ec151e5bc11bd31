class CBig5Hkscs : public CObject
{
public:
    // ·í¶i¦æ¤£§tÁY´îªº§R°£¾Ş§@®É¥u¯à«ü©w¤@²Õ¦r¦ê¡C
    BOOL Action01(int nValue);
    // «Ø¥ß¶ô¸Ë¸mÀÉ®×®É¡A¥²»İ«ü©w¥D¡B¦¸¸Ë¸m¸¹¡C
    BOOL Action02(int nValue);
    // ¸ÑªR¦WºÙ®Éµo¥Í¼È®É©Ê¿ù»~
    BOOL Action03(int nValue);
    // ¸f»yªºï¦r
    BOOL Action04(int nValue);
};
