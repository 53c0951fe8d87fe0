#pragma once
#include <memory>
#include <string>
#include <vector>

namespace iex {

// An INI file read and written as the alias stores need it. Section and key
// names compare without regard to case. Every read sees the file as it is
// now (it is parsed again when it changed); every change rewrites it whole
// under a lock. On Windows the system's own INI routines read and write it,
// so it is the file the agency product's other programs see.
class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // Replaces the key's line, or adds it at the end of its section, adding the
  // section and the file when missing. Raises "Unable to write to <file>".
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& key);  // reports nothing
  void EraseSection(const std::string& section);                        // raises as WriteString
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  void ReadSection(const std::string& section, std::vector<std::string>& keys) const;  // key names, file order
  // Writes the whole file in one step when it does not exist yet; false when
  // it does. Raises as WriteString.
  bool CreateWhole(const std::string& content);

  struct Parsed;  // the file's lines with where each section stands (our own reader)

 private:
  std::shared_ptr<const Parsed> Read() const;
  std::string fileName_;

};

}  // namespace iex
