// The program's own local pages (help, banners, the title and hint pages)
// lie in the process's current directory and are opened past the browser's
// cache, so a page the user or an update replaced shows at once.
#pragma once

#include <string>

#include "platform/platform.h"

namespace sq {

// "file://" + current directory + `name` (a name beginning with a
// backslash, such as "\ehelp\easyhelp.htm").
std::string LocalPageAddress(role::Files& p, const std::string& name);

// Navigates `browser` to the local page `name` with the flag that skips the
// cache. False when the browser refuses the address (no control, or a
// current directory so long that the address exceeds kMaxBrowserAddress);
// nothing is opened then, never a cut-off address.
bool OpenLocalPage(role::Files& p, WebBrowser& browser, const std::string& name);

}  // namespace sq
