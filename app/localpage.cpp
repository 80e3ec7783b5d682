#include "app/localpage.h"

namespace sq {

std::string LocalPageAddress(Platform& p, const std::string& name) {
  return "file://" + p.currentDirectory() + name;
}

bool OpenLocalPage(Platform& p, WebBrowser& browser, const std::string& name) {
  return browser.navigate(LocalPageAddress(p, name), navflag::NoReadFromCache);
}

}  // namespace sq
