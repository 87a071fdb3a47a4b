#include "WindowRegistry.h"

namespace platwin {

namespace {
thread_local const DrawingMark* t_innermostMark = nullptr;
}  // namespace

DrawingMark::DrawingMark(const Window* window) : m_window(window), m_outer(t_innermostMark) {
    t_innermostMark = this;
}

DrawingMark::~DrawingMark() {
    t_innermostMark = m_outer;
}

bool DrawingMark::IsDrawing(const Window* window) {
    for (const DrawingMark* mark = t_innermostMark; mark != nullptr; mark = mark->m_outer) {
        if (mark->m_window == window) {
            return true;
        }
    }
    return false;
}

WindowRegistry& WindowRegistry::Instance() {
    static WindowRegistry& registry = *new WindowRegistry();
    return registry;
}

PlatWindow WindowRegistry::Register(PlatWindowSink sink, void* user) {
    auto window = std::make_unique<Window>(sink, user);
    std::lock_guard<std::mutex> lock(m_mutex);
    const PlatWindow number = m_lastNumber + 1;
    m_windows.emplace(number, std::move(window));
    m_lastNumber = number;
    return number;
}

bool WindowRegistry::Unregister(PlatWindow number) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto found = m_windows.find(number);
    if (found == m_windows.end() || DrawingMark::IsDrawing(found->second.get())) {
        return false;
    }
    const std::unique_ptr<Window> window = std::move(found->second);
    m_windows.erase(found);
    m_released.wait(lock, [&] { return window->references == 0; });
    lock.unlock();  // the window is freed without holding up other windows' draws
    return true;
}

Window* WindowRegistry::Acquire(PlatWindow number) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_windows.find(number);
    if (found == m_windows.end()) {
        return nullptr;
    }
    ++found->second->references;
    return found->second.get();
}

void WindowRegistry::Release(Window* window) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (--window->references == 0) {
        m_released.notify_all();
    }
}

}  // namespace platwin
