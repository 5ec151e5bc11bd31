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

// An annotation macro called on a line of its own (after a template header too) belongs to the
// declaration on the next line, as it does on the declaration's own line; the declaration keeps
// its comment, its type and its "virtual" or "static". A macro call that takes names or nothing
// declares members of its own, and one that a label or another macro call follows stays a macro
// call.
class Job : public Object
{
public:
    // Sets the amount of work done.
    LIB_DEPRECATED_VERSION(5, 80, "Use amountChanged(int) signal")
    void amount(int n);

    // Sets the total amount of work.
    LIB_DEPRECATED_VERSION(5, 80, "Use totalAmountChanged(int) signal") void total(int n);

    // Tells what the job did.
    LIB_DEPRECATED_VERSION_BELATED(5, 75, 5, 79, "Use description(int)")
    virtual const char *description() const;

    DECLARE_PRIVATE(Job)
    DECLARE_NO_COPY(Job)
    void start();
    XX_DEPRECATED_MSG("Use start()")
protected:
    XX_DEPRECATED_MSG("Use start()") static int count();
    template <typename T>
    XX_DEPRECATED_MSG("Use fieldRef() instead")
    const Field<T>& field(const Message& msg,
                          int n) const;
    LIB_DEPRECATED_VERSION(5, 80, "Use setPercent(int)")
    void setProcessedAmount(int n);
};
