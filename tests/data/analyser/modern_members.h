// Members as today's libraries write them: templates, operators, initialiser lists, specifiers,
// defaulted functions, friends and aliases, literals that hold punctuation.
template <class T>
class CVec : public CBase<T, 4>, private std::allocator<T>
{
public:
  std::map<int, T> m_map;
  T& operator[](int i);
  bool operator==(const CVec& other) const;
  operator int() const;
  explicit operator bool() const noexcept { return p; }
  auto operator<=>(const CVec&) const = default;
  CVec(const CVec& other)
    : _next(other._next),
      _count(other._count)
  {
    _count++;
  }
  CVec(int n) :
    m_a{n},
    Base<T, U>{n}
  {}
  CVec() = default;
  CVec& operator=(CVec&&) noexcept = default;
  virtual ~CVec() = default;
  int D() const noexcept {
    return 1;
  }
  auto E() -> int { return 0; }
  void M() requires C<T> {}
  template <class U> static U Get();
  int m_n = Count(1, 2);
  std::atomic<int> m_count{0};
  static constexpr int kSize = 4;
  friend class Bar;
  friend void swap(CVec& a, CVec& b) noexcept {
    a.Swap(b);
  }
  typedef void (*Callback)(int);
  using value_type = T;
  static_assert(sizeof(T) > 1, "size");
  int (*m_pfn)(int);
  void Open(const char* mode = "r:{<");
  void Url(std::string s = "http://host/*x");
  void Quote(char q = '\'', char b = '}');
  int m_big = 1'000'000;
};

template <class Arg, class Owner>
class Runner<void, Arg, Owner> : public RunnerBase<Arg>
{
public:
  void Run(Arg a);
};

class EXPORT Sealed final : public CWnd
{
};
