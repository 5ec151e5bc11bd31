// Declarations spread over lines as GNU-style headers write them: a template header, a requires
// clause, a return type, a macro or a function's specifiers on lines of their own.
class reverse_iterator
{
public:
  iterator
  begin() noexcept
  { return iterator(this->_M_start); }
  template<typename _Iter>
#if __cpp_lib_concepts
    requires __convertible<_Iter>
      && assignable_from<_Iterator&, const _Iter&>
#endif
    _GLIBCXX17_CONSTEXPR
    reverse_iterator&
    operator=(const reverse_iterator<_Iter>& __x)
    _GLIBCXX_NOEXCEPT_IF(noexcept(current = __x.current))
    { return *this; }
  template<typename _Iter>
    reverse_iterator(const reverse_iterator<_Iter>& __x)
    _GLIBCXX_NOEXCEPT
    : current(__x.current)
    { }
  size_type
  size() const;
  using __hashtable_base = __detail::
    _Hashtable_base<_Key, _Value,
        _Traits>;
  typedef num_put<_CharT, ostreambuf_iterator<_CharT, _Traits> >
        __num_put_type;
  const FieldType Class::*field_;
  std::function<Result(Args...)> function_;
  void (NativeArray::*clone_)(const Element*, size_t);
};
