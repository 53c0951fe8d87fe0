#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

#include "db/Transaction.h"

namespace iex::db {

// The travel-type table, read once per export: a reference table of a few
// dozen rows. Where two rows share a number (a table without its primary
// key) the first by category and then name stands for it, as the ordered
// statements of the system take it.
class TTravelTypes {
 public:
  struct Type {
    int32_t category = 0;
    std::string name;
    bool nameLossy = false;
  };
  void Load(TTransaction& tr);
  const Type* Find(int32_t number) const;

 private:
  std::unordered_map<int32_t, Type> types_;
};

}  // namespace iex::db
