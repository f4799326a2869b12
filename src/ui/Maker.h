// The maker of the program and how to reach it: the company named on the
// copyright line, the contact address and the website, and the two routines
// that hand the addresses to the shell.
#pragma once

#include "base/Application.h"

namespace zk {

namespace TVostel {

inline constexpr const char* kMakerCompany = "Vostel Software";
inline constexpr const char* kMakerEmail = "zentrik@example.com";
inline constexpr const char* kMakerWebsite = "http://www.example.com/";

// A new message to the contact address in the user's mail program.
void OpenMailLink(TApplication& app);
// The website in the user's browser.
void OpenWebsiteLink(TApplication& app);

}  // namespace TVostel

}  // namespace zk
