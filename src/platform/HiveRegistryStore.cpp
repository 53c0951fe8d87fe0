#include "platform/Cp1252Case.h"
#include "platform/Error.h"
#include "platform/LockedFile.h"
#include "platform/ParsedFileCache.h"
#include "platform/RegistryStore.h"

namespace iex {
namespace {

TParsedFileCache<THive>& Hives() {
  static auto& cache = *new TParsedFileCache<THive>;  // never destroyed: read up to the exit
  return cache;
}

// The registry kept in text files in the registry export format, one file
// per hive. Every call reads the file afresh (parsed again only when it
// changed); every change rewrites it under a lock, so other programs'
// changes are seen and none are lost.
class THiveStore final : public TRegistryStore {
 public:
  std::string LastWriteFailure() const override { return failure_; }

  explicit THiveStore(TPlatformPaths paths) : paths_(std::move(paths)) {}

  bool KeyExists(THKey root, const std::string& path) override {
    if (root == THKey::Users && path.empty()) return true;
    const Location at = Locate(root, path);
    if (!at.exists) return false;
    if (root == THKey::Users && at.path.empty()) return true;  // the profile itself
    return Load(at)->Find(at.path) != nullptr;
  }

  bool PrepareWrite(THKey root, const std::string& path, bool canCreate) override {
    const Location at = Locate(root, path);
    if (!at.exists) return false;
    // Write access needs a hive that can be written, as Windows refuses a
    // key opened for writing without the rights.
    TLockedFile file(at.file, true);
    if (!file.Writable()) {
      failure_ = file.WhyNotWritable();
      return false;
    }
    THive hive = THive::Parse(file.Read(), at.root, at.file);
    if (!hive.Find(at.path) && !(root == THKey::Users && at.path.empty())) {
      if (!canCreate) return false;
      hive.Create(at.path);
      file.Write(hive.Serialize(at.root));
      Hives().Forget(at.file);
    }
    return true;
  }

  std::optional<TRegValue> Value(THKey root, const std::string& path, const std::string& name) override {
    const Location at = Locate(root, path);
    const auto hive = Load(at);
    const TRegKey* key = hive->Find(at.path);
    const TRegValue* v = key ? FindValue(*key, name) : nullptr;
    if (!v) return std::nullopt;
    return *v;
  }

  std::vector<std::string> ValueNames(THKey root, const std::string& path) override {
    std::vector<std::string> names;
    const Location at = Locate(root, path);
    const auto hive = Load(at);
    if (const TRegKey* key = hive->Find(at.path))
      for (const auto& v : key->values) names.push_back(v.name);
    return names;
  }

  std::vector<std::string> SubKeyNames(THKey root, const std::string& path) override {
    if (root == THKey::Users && path.empty()) return {paths_.userProfileName};
    const Location at = Locate(root, path);
    return Load(at)->SubKeyNames(at.path);
  }

  bool SetValues(THKey root, const std::string& path, const std::vector<TRegValue>& values) override {
    const Location at = Locate(root, path);
    return Modify(at, [&](THive& hive) {
      TRegKey& key = hive.Create(at.path);
      for (const TRegValue& value : values) {
        if (TRegValue* v = FindValue(key, value.name))
          *v = TRegValue{v->name, value.type, value.data};
        else
          key.values.push_back(value);
      }
      return true;
    });
  }

  bool DeleteValue(THKey root, const std::string& path, const std::string& name) override {
    const Location at = Locate(root, path);
    return Modify(at, [&](THive& hive) {
      TRegKey* key = hive.Find(at.path);
      if (!key) return false;
      const auto before = key->values.size();
      std::erase_if(key->values, [&](const TRegValue& v) { return UpperCp1252(v.name) == UpperCp1252(name); });
      return key->values.size() != before;
    });
  }

  bool DeleteKey(THKey root, const std::string& path) override {
    const Location at = Locate(root, path);
    if (at.path.empty()) return false;
    return Modify(at, [&](THive& hive) { return hive.Remove(at.path); });
  }

  bool RenameValue(THKey root, const std::string& path, const std::string& oldName, const std::string& newName) override {
    const Location at = Locate(root, path);
    return Modify(at, [&](THive& hive) {
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

 private:
  std::string failure_;
  struct Location {
    std::string file, root, path;  // hive file, its root name, key path inside it
    bool exists = true;            // false for a profile HKEY_USERS does not hold
  };

  Location Locate(THKey root, const std::string& absolute) const {
    if (root == THKey::LocalMachine) return {paths_.machineHive, "HKEY_LOCAL_MACHINE", absolute};
    if (root == THKey::CurrentUser) return {paths_.userHive, "HKEY_CURRENT_USER", absolute};
    // HKEY_USERS holds one profile: the current user's hive.
    const std::string profile = absolute.substr(0, absolute.find('\\'));
    if (absolute.empty()) return {paths_.userHive, "HKEY_CURRENT_USER", "", true};
    if (UpperCp1252(profile) != UpperCp1252(paths_.userProfileName)) return {"", "", "", false};
    return {paths_.userHive, "HKEY_CURRENT_USER", absolute.size() > profile.size() ? absolute.substr(profile.size() + 1) : ""};
  }

  // The hive as the file holds it now; parsed again only when the file changed.
  std::shared_ptr<const THive> Load(const Location& at) const {
    if (!at.exists) return std::make_shared<const THive>();
    return Hives().Get(at.file, TLockedFile::StampOf(at.file), [&] {
      TLockedFile file(at.file, false);
      return THive::Parse(file.Read(), at.root, at.file);
    });
  }

  // One locked rewrite; false when the hive cannot be written or nothing changed.
  template <typename Change>
  bool Modify(const Location& at, Change change) {
    if (!at.exists) return false;
    TLockedFile file(at.file, true);
    if (!file.Writable()) return false;
    THive hive = THive::Parse(file.Read(), at.root, at.file);
    if (!change(hive)) return false;
    file.Write(hive.Serialize(at.root));
    Hives().Forget(at.file);
    return true;
  }

  TPlatformPaths paths_;
};

}  // namespace

std::unique_ptr<TRegistryStore> HiveRegistryStore(const TPlatformPaths& paths) { return std::make_unique<THiveStore>(paths); }

std::unique_ptr<TRegistryStore> OpenRegistryStore(const TPlatformPaths& paths) {
  if (paths.userHive.empty() && paths.machineHive.empty())
    if (auto machine = MachineRegistryStore()) return machine;
  return HiveRegistryStore(paths);
}

}  // namespace iex
