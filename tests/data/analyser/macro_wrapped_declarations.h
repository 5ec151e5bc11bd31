// Members that a library wraps in macro calls: deprecated ones with their inline body as the
// macro's second argument, attribute macros around or before a declaration, and framework macros
// that declare members of their own.
class ToolBarBase : public Control
{
public:
    Tool *AddTool(int id, const String& label, const Bitmap& bitmap);

    // the old versions, kept for compatibility
    XX_DEPRECATED_INLINE(
    Tool *AddTool(int id,
                  const Bitmap& bitmap,
                  const Bitmap& bmpDisabled,
                  bool toggle = false,
                  Object *clientData = NULL,
                  const String& shortHelp = String(),
                  const String& longHelp = String()),
        return AddTool(id, String(), bitmap, bmpDisabled, toggle ? ITEM_CHECK : ITEM_NORMAL, shortHelp, longHelp, clientData);
    )
    XX_DEPRECATED_INLINE( bool SetToolBitmap(int id, const Bitmap& bitmap), return SetBitmap(id, bitmap); )
    XX_DEPRECATED( void SetMargins(const Size& size) );
    xxDEPRECATED( void SetRows(int rows) );
    XX_DEPRECATED_MSG("use GetToolMargins()") int GetMargin() const;

    virtual void OnLeftClick(int id, bool toggleDown);
    DECLARE_DYNAMIC(ToolBarBase)
    DECLARE_NO_COPY_CLASS(ToolBarBase)
};
