#include "platform/RegistryStore.h"

namespace iex {

// Only Windows has a registry of its own; here the hive files stand in for it.
std::unique_ptr<TRegistryStore> MachineRegistryStore() { return nullptr; }

}  // namespace iex
