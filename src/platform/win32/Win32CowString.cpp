// The members of the old reference-counted string that the C++ library's
// exception classes (std::runtime_error and the like keep their text in
// one) call, instantiated here from the library's own headers.
//
// The library ships all of that string's members in one object file. On
// this target every function's unwind record sits in the one .eh_frame
// section the linker keeps whole, and that section refers to every function
// of the object, so --gc-sections can drop none of them: one needed member
// brought in some 30 KiB of code and unwind records, and through the
// object's other members the random-device and current-string objects
// besides. With these few definitions present the linker never takes that
// object from the library.
#define _GLIBCXX_USE_CXX11_ABI 0
#include <string>

using CowString = std::basic_string<char>;

template void CowString::_Rep::_M_destroy(const std::allocator<char>&) noexcept;
template void CowString::_Rep::_M_dispose(const std::allocator<char>&);
template char* CowString::_Rep::_M_clone(const std::allocator<char>&, CowString::size_type);
template CowString::_Rep* CowString::_Rep::_S_create(CowString::size_type, CowString::size_type,
                                                     const std::allocator<char>&);
template char* CowString::_S_construct(CowString::size_type, char, const std::allocator<char>&);
template void CowString::swap(CowString&);
template CowString& CowString::assign(const CowString&);
