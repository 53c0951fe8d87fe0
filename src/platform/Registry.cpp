#include "platform/Registry.h"

#include "platform/Error.h"

namespace iex {

std::string TRegistry::Absolute(const std::string& key) const {
  if (!key.empty() && key[0] == '\\') return NormalizeKeyPath(key);
  const std::string base = current_ ? current_->path : std::string();
  return NormalizeKeyPath(base + "\\" + key);
}

bool TRegistry::KeyExists(const std::string& key) { return store_->KeyExists(RootKey, Absolute(key)); }

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  const std::string abs = Absolute(key);
  const bool writable = Access != TRegAccess::Read;
  if (writable) {
    if (!store_->PrepareWrite(RootKey, abs, canCreate)) return false;
  } else if (!abs.empty() && !store_->KeyExists(RootKey, abs)) {
    return false;
  }
  current_ = OpenedKey{RootKey, abs, writable};
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const TRegAccess saved = Access;
  Access = TRegAccess::Read;
  const bool ok = OpenKey(key, false);
  Access = saved;
  return ok;
}

const std::string& TRegistry::CurrentPath() const {
  static const std::string none;
  return current_ ? current_->path : none;
}

std::optional<TRegValue> TRegistry::LookUp(const std::string& name) {
  if (!current_) return std::nullopt;
  return store_->Value(current_->root, current_->path, name);
}

TRegValue TRegistry::ReadValue(const std::string& name) {
  std::optional<TRegValue> v = LookUp(name);
  if (!v) throw EMvError("Failed to get data for '" + name + "'");
  return *v;
}

bool TRegistry::ValueExists(const std::string& name) { return LookUp(name).has_value(); }

std::optional<TRegDataType> TRegistry::GetDataType(const std::string& name) {
  const std::optional<TRegValue> v = LookUp(name);
  if (!v) return std::nullopt;
  return static_cast<TRegDataType>(v->type);
}

std::string TRegistry::ReadString(const std::string& name) {
  const std::optional<TRegValue> v = LookUp(name);
  if (!v) return std::string();
  if (v->type != 1 && v->type != 2) throw EMvError("Invalid data type for '" + name + "'");
  return v->data;
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  const TRegValue v = ReadValue(name);
  if (v.data.size() > 4) throw EMvError("Failed to get data for '" + name + "'");
  if (v.type != 4 || v.data.size() != 4) throw EMvError("Invalid data type for '" + name + "'");
  const auto b = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)])); };
  return static_cast<int32_t>(b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24));
}

void TRegistry::WriteValue(const std::string& name, uint32_t type, const std::string& data) {
  WriteValues({TRegValue{name, type, data}});
}

void TRegistry::WriteValues(const std::vector<TRegValue>& values) {
  const std::string first = values.empty() ? std::string() : values.front().name;
  bool ok = false;
  try {
    ok = current_ && current_->writable && store_->SetValues(current_->root, current_->path, values);
  } catch (const EMvError&) {
    ok = false;
  }
  if (!ok) throw EMvError("Failed to set data for '" + first + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { WriteValue(name, 1, value); }

void TRegistry::WriteStrings(const std::vector<std::pair<std::string, std::string>>& values) {
  std::vector<TRegValue> strings;
  for (const auto& [name, data] : values) strings.push_back(TRegValue{name, 1, data});
  WriteValues(strings);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) { WriteValue(name, 2, value); }

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  const auto n = static_cast<uint32_t>(value);
  WriteValue(name, 4, std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)});
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_ && current_->writable && store_->DeleteValue(current_->root, current_->path, name);
}

bool TRegistry::DeleteKey(const std::string& key) {
  if (Access == TRegAccess::Read) return false;
  const std::string abs = Absolute(key);
  return !abs.empty() && store_->DeleteKey(RootKey, abs);
}

void TRegistry::RenameValue(const std::string& oldName, const std::string& newName) {
  if (current_ && current_->writable) store_->RenameValue(current_->root, current_->path, oldName, newName);
}

void TRegistry::GetValueNames(std::vector<std::string>& names) {
  names.clear();
  if (current_) names = store_->ValueNames(current_->root, current_->path);
}

void TRegistry::GetKeyNames(std::vector<std::string>& names) {
  names.clear();
  if (current_) names = store_->SubKeyNames(current_->root, current_->path);
}

}  // namespace iex
