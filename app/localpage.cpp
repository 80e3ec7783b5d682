#include "app/localpage.h"

namespace sq {

std::string LocalPageAddress(role::Files& p, const std::string& name) {
  return "file://" + p.currentDirectory() + name;
}

bool OpenLocalPage(role::Files& p, WebBrowser& browser, const std::string& name) {
  return browser.navigate(LocalPageAddress(p, name), navflag::NoReadFromCache);
}

}  // namespace sq
