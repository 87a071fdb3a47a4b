// Debug channel and message boxes.
//
// DebugOutput() stands in for the debugger output: texts go to the debug hook
// when one is set, else to stderr when the environment variable
// VARNU_DEBUG_OUTPUT is set to anything but "" or "0", else nowhere.
//
// ShowMessageBox() never blocks: the message-box hook gets the text when one
// is set, else the debug channel gets "<caption>: <text>".
#pragma once

#include <functional>
#include <string>

namespace plat {

using DebugHook = std::function<void(const std::wstring& text)>;
using MessageBoxHook = std::function<void(const std::wstring& text, const std::wstring& caption)>;

void DebugOutput(const std::wstring& text);
void ShowMessageBox(const std::wstring& text, const std::wstring& caption);

// Install a hook (an empty function removes it); each returns the hook it
// replaced. Hooks may be called on any thread, one call at a time or several
// at once, and must not block.
DebugHook SetDebugHook(DebugHook hook);
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

}  // namespace plat
