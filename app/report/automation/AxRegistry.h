#pragma once

#include "AxDispatch.h"

#include <QString>

#include <functional>

namespace varnu {

// Makes the top-level object of a server, once per AxObject::setControl.
using AxServerFactory = std::function<AxDispatchPtr()>;

// The automation servers of this process by ProgID ("kwps.Application").
// Registering a ProgID again replaces its server. Safe from any thread.
void registerAxServer(const QString& progId, AxServerFactory factory);
void unregisterAxServer(const QString& progId);
// The factory of a ProgID; empty when none is registered.
AxServerFactory axServer(const QString& progId);

}  // namespace varnu
