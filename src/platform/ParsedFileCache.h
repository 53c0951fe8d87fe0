#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace iex {

// What a small shared file (a hive, an INI file) parses to, kept for the
// whole process and parsed again only when the file's stamp changes, so a
// listing of thousands of aliases reads each file once while every read
// still sees the file as it is now.
template <typename Parsed>
class TParsedFileCache {
 public:
  // Files are only ever replaced whole (renamed into place), so an unchanged
  // stamp needs no lock; `parse` reads the file under its lock.
  std::shared_ptr<const Parsed> Get(const std::string& path, const std::string& stamp,
                                    const std::function<Parsed()>& parse) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      const auto at = entries_.find(path);
      if (!stamp.empty() && at != entries_.end() && at->second.stamp == stamp) return at->second.parsed;
    }
    auto parsed = std::make_shared<const Parsed>(parse());
    std::lock_guard<std::mutex> lock(mutex_);
    entries_[path] = Entry{stamp, parsed};
    return parsed;
  }
  void Forget(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.erase(path);
  }

 private:
  struct Entry {
    std::string stamp;
    std::shared_ptr<const Parsed> parsed;
  };
  std::mutex mutex_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace iex
