#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/WideText.h"

namespace plat {

namespace {

struct Hooks {
    std::mutex mutex;
    std::shared_ptr<const DebugHook> debug;
    std::shared_ptr<const MessageBoxHook> messageBox;
};

// Never destroyed, so texts may still be sent while the process exits.
Hooks& TheHooks() {
    static Hooks* hooks = new Hooks;
    return *hooks;
}

bool StderrEnabled() {
    const char* value = std::getenv("VARNU_DEBUG_OUTPUT");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

template <typename Hook>
std::shared_ptr<const Hook> Current(const std::shared_ptr<const Hook>& slot) {
    std::lock_guard<std::mutex> lock(TheHooks().mutex);
    return slot;
}

template <typename Hook>
Hook Replace(std::shared_ptr<const Hook>& slot, Hook hook) {
    std::shared_ptr<const Hook> next;
    if (hook) {
        next = std::make_shared<const Hook>(std::move(hook));
    }
    std::lock_guard<std::mutex> lock(TheHooks().mutex);
    std::shared_ptr<const Hook> previous = std::move(slot);
    slot = std::move(next);
    return previous ? *previous : Hook();
}

}  // namespace

void DebugOutput(const std::wstring& text) {
    if (const auto hook = Current(TheHooks().debug)) {
        (*hook)(text);
        return;
    }
    if (StderrEnabled()) {
        std::string line = Utf8FromWide(text);
        if (line.empty() || line.back() != '\n') {
            line += '\n';
        }
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

void ShowMessageBox(const std::wstring& text, const std::wstring& caption) {
    if (const auto hook = Current(TheHooks().messageBox)) {
        (*hook)(text, caption);
        return;
    }
    DebugOutput(caption + L": " + text);
}

DebugHook SetDebugHook(DebugHook hook) {
    return Replace(TheHooks().debug, std::move(hook));
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return Replace(TheHooks().messageBox, std::move(hook));
}

}  // namespace plat
