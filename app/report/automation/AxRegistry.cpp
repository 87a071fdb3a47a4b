#include "AxRegistry.h"

#include <map>
#include <mutex>

namespace varnu {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<QString, AxServerFactory> servers;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

void registerAxServer(const QString& progId, AxServerFactory factory) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.servers[progId] = std::move(factory);
}

void unregisterAxServer(const QString& progId) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.servers.erase(progId);
}

AxServerFactory axServer(const QString& progId) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.servers.find(progId);
    return it == r.servers.end() ? AxServerFactory() : it->second;
}

}  // namespace varnu
