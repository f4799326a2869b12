// Two members of std::string that the C++ library's own objects call (the
// string inside the exception classes' text) but that the program's code,
// which has them inlined, does not emit out of line. Defined here, they keep
// the linker from taking the library's object of all std::string members,
// which it could not trim (see Win32CowString.cpp).
#include <string>

template void std::string::_M_assign(const std::string&);
template std::string::pointer std::string::_M_create(std::string::size_type&, std::string::size_type);
