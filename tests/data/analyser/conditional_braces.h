// Braces opened in both branches of a conditional: a compiler sees one branch, so the class goes
// on after the enum and after the function whose head differs between the branches.
class Window : public WindowBase
{
public:
#if USE_NAMED_FLAGS
    enum Flags {
#else
    enum {
#endif
        FLAG_ONE = 1,
        FLAG_TWO = 2
    };

    Window();
#ifdef HAVE_CONST_SHOW
    void Show(bool show) const {
#elif defined(OTHER)
    void Show(bool show) {
#else
    void Show(bool show) { if (show)
#endif
        Paint();
    }
#if 0
    void Old() {
#endif
    void Hide();
#ifndef NO_STYLE
    long GetStyle() const;
#else
    int GetStyle() const;
#endif
    int m_width;
};

class After : public Window
{
    int m_after;
};
