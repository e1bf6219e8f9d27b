// The maker's web addresses, shown in the Help menu and opened by the support
// commands. The menu texts in qtra.rc repeat kWebSiteHost and kEmailPageUrl;
// the converter's tests check that they agree.
#pragma once

constexpr const char kWebSiteHost[] = "www.marlowbrook.example";
constexpr const char kWebSiteUrl[] = "http://www.marlowbrook.example/";
constexpr const char kFaqUrl[] = "http://www.marlowbrook.example/faq/faqqtra.htm";
constexpr const char kEmailPageUrl[] = "http://www.marlowbrook.example/email.htm";
constexpr const char kSupportFormUrl[] = "http://www.marlowbrook.example/form/email.pl";
