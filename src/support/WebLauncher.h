#pragma once
// Opens a web address in the browser registered for "http", falling back on the
// shell's own association when that browser cannot be started.
#include <string>

// Never shows a message and never raises an error, whatever the registry holds
// or the shell answers. Does nothing when no "http" command is registered.
void OpenWebPage(const std::string& url);

// The program path of a registered command: the text between its first and
// second double quote. With no opening quote the whole command counts as the
// text after it; with no closing quote the path is empty.
std::string BrowserPathOfCommand(const std::string& command);
