#include "platform/Cp1252Case.h"
#include "platform/Registry.h"

#include "platform/Error.h"
#include "platform/LockedFile.h"
#include "platform/ParsedFileCache.h"

namespace iex {
std::string TRegistry::Absolute(const std::string& key) const {
  if (!key.empty() && key[0] == '\\') return NormalizeKeyPath(key);
  const std::string base = current_ ? current_->path : std::string();
  return NormalizeKeyPath(base + "\\" + key);
}

TRegistry::Location TRegistry::Locate(THKey root, const std::string& absolute) const {
  if (root == THKey::HKEY_LOCAL_MACHINE) return {paths_.machineHive, "HKEY_LOCAL_MACHINE", absolute};
  if (root == THKey::HKEY_CURRENT_USER) return {paths_.userHive, "HKEY_CURRENT_USER", absolute};
  // HKEY_USERS holds one profile: the current user's hive.
  const std::string profile = absolute.substr(0, absolute.find('\\'));
  if (absolute.empty()) return {paths_.userHive, "HKEY_CURRENT_USER", "", true};
  if (UpperCp1252(profile) != UpperCp1252(paths_.userProfileName)) return {"", "", "", false};
  return {paths_.userHive, "HKEY_CURRENT_USER", absolute.size() > profile.size() ? absolute.substr(profile.size() + 1) : ""};
}

namespace {
TParsedFileCache<THive>& Hives() {
  static TParsedFileCache<THive> cache;
  return cache;
}
}  // namespace

std::shared_ptr<const THive> TRegistry::Load(const Location& at) const {
  if (!at.exists) return std::make_shared<const THive>();
  return Hives().Get(at.file, TLockedFile::StampOf(at.file), [&] {
    TLockedFile file(at.file, false);
    return THive::Parse(file.Read(), at.root, at.file);
  });
}

template <typename Change>
bool TRegistry::Modify(const Location& at, Change change) {
  if (!at.exists) return false;
  TLockedFile file(at.file, true);
  if (!file.Writable()) return false;
  THive hive = THive::Parse(file.Read(), at.root, at.file);
  if (!change(hive)) return false;
  file.Write(hive.Serialize(at.root));
  Hives().Forget(at.file);
  return true;
}

bool TRegistry::KeyExists(const std::string& key) {
  const std::string abs = Absolute(key);
  if (RootKey == THKey::HKEY_USERS && abs.empty()) return true;
  const Location at = Locate(RootKey, abs);
  if (!at.exists) return false;
  if (RootKey == THKey::HKEY_USERS && at.path.empty()) return true;  // the profile itself
  const auto loaded = Load(at);
  const THive& hive = *loaded;
  return hive.Find(at.path) != nullptr;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  const std::string abs = Absolute(key);
  const Location at = Locate(RootKey, abs);
  if (!at.exists) return false;
  const bool wantWrite = Access != KEY_READ;
  bool writable = false;
  if (wantWrite) {
    // Write access needs a hive that can be written, as Windows refuses a
    // key opened for writing without the rights.
    TLockedFile file(at.file, true);
    if (!file.Writable()) return false;
    THive hive = THive::Parse(file.Read(), at.root, at.file);
    if (!hive.Find(at.path) && !(RootKey == THKey::HKEY_USERS && at.path.empty())) {
      if (!canCreate) return false;
      hive.Create(at.path);
      file.Write(hive.Serialize(at.root));
      Hives().Forget(at.file);
    }
    writable = true;
  } else {
    const auto loaded = Load(at);
  const THive& hive = *loaded;
    const bool isProfileRoot = RootKey == THKey::HKEY_USERS && at.path.empty();
    if (!hive.Find(at.path) && !isProfileRoot && !abs.empty()) return false;
  }
  current_ = OpenedKey{RootKey, abs, writable};
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const uint32_t saved = Access;
  Access = KEY_READ;
  const bool ok = OpenKey(key, false);
  Access = saved;
  return ok;
}

const std::string& TRegistry::CurrentPath() const {
  static const std::string none;
  return current_ ? current_->path : none;
}

TRegValue TRegistry::ReadValue(const std::string& name) {
  if (!current_) throw EMvError("Failed to get data for '" + name + "'");
  const Location at = Locate(current_->root, current_->path);
  const auto loaded = Load(at);
  const THive& hive = *loaded;
  const TRegKey* key = hive.Find(at.path);
  const TRegValue* v = key ? FindValue(*key, name) : nullptr;
  if (!v) throw EMvError("Failed to get data for '" + name + "'");
  return *v;
}

bool TRegistry::ValueExists(const std::string& name) {
  if (!current_) return false;
  const Location at = Locate(current_->root, current_->path);
  const auto loaded = Load(at);
  const THive& hive = *loaded;
  const TRegKey* key = hive.Find(at.path);
  return key && FindValue(*key, name);
}

std::optional<TRegDataType> TRegistry::GetDataType(const std::string& name) {
  if (!ValueExists(name)) return std::nullopt;
  return static_cast<TRegDataType>(ReadValue(name).type);
}

std::string TRegistry::ReadString(const std::string& name) {
  if (!ValueExists(name)) return std::string();
  const TRegValue v = ReadValue(name);
  if (v.type != 1 && v.type != 2) throw EMvError("Invalid data type for '" + name + "'");
  return v.data;
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
  if (!current_ || !current_->writable) throw EMvError("Failed to set data for '" + first + "'");
  const Location at = Locate(current_->root, current_->path);
  bool ok = false;
  try {
    ok = Modify(at, [&](THive& hive) {
      TRegKey& key = hive.Create(at.path);
      for (const TRegValue& value : values) {
        if (TRegValue* v = FindValue(key, value.name))
          *v = TRegValue{v->name, value.type, value.data};
        else
          key.values.push_back(value);
      }
      return true;
    });
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
  if (!current_ || !current_->writable) return false;
  const Location at = Locate(current_->root, current_->path);
  return Modify(at, [&](THive& hive) {
    TRegKey* key = hive.Find(at.path);
    if (!key) return false;
    const auto before = key->values.size();
    std::erase_if(key->values, [&](const TRegValue& v) { return UpperCp1252(v.name) == UpperCp1252(name); });
    return key->values.size() != before;
  });
}

bool TRegistry::DeleteKey(const std::string& key) {
  if (Access == KEY_READ) return false;
  const std::string abs = Absolute(key);
  if (abs.empty()) return false;
  const Location at = Locate(RootKey, abs);
  if (at.path.empty()) return false;
  return Modify(at, [&](THive& hive) { return hive.Remove(at.path); });
}

void TRegistry::RenameValue(const std::string& oldName, const std::string& newName) {
  if (!current_ || !current_->writable) return;
  const Location at = Locate(current_->root, current_->path);
  Modify(at, [&](THive& hive) {
    TRegKey* key = hive.Find(at.path);
    if (!key || FindValue(*key, newName)) return false;
    TRegValue* v = FindValue(*key, oldName);
    if (!v) return false;
    TRegValue renamed = *v;
    renamed.name = newName;
    std::erase_if(key->values, [&](const TRegValue& x) { return UpperCp1252(x.name) == UpperCp1252(oldName); });
    key->values.push_back(renamed);
    return true;
  });
}

void TRegistry::GetValueNames(std::vector<std::string>& names) {
  names.clear();
  if (!current_) return;
  const Location at = Locate(current_->root, current_->path);
  const auto loaded = Load(at);
  const THive& hive = *loaded;
  if (const TRegKey* key = hive.Find(at.path))
    for (const auto& v : key->values) names.push_back(v.name);
}

void TRegistry::GetKeyNames(std::vector<std::string>& names) {
  names.clear();
  if (!current_) return;
  if (current_->root == THKey::HKEY_USERS && current_->path.empty()) {
    names.push_back(paths_.userProfileName);
    return;
  }
  const Location at = Locate(current_->root, current_->path);
  names = Load(at)->SubKeyNames(at.path);
}

}  // namespace iex
