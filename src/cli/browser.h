#pragma once
/// Opening the web console of a device in the desktop's browser.

#include <string>

namespace vantrell {

struct BrowserStart {
  bool failed = false;  ///< xdg-open exists but could not be started
  std::string note;     ///< for stderr, or empty
};

/// Starts `xdg-open URL` without a shell (the URL is its one argument, so
/// no character of it is interpreted), with stdin, stdout and stderr on
/// /dev/null, the default signal dispositions and no wait for it. As root
/// nothing is started: a browser must not run with root's rights, so the
/// note asks the operator to open the printed URL as their own user.
BrowserStart StartBrowser(const std::string& url, bool asRoot);

}  // namespace vantrell
