#include "db/TravelTypes.h"

#include "db/Query.h"
#include "db/ValueReads.h"

namespace iex::db {

void TTravelTypes::Load(TTransaction& tr) {
  types_.clear();
  TQuery q(tr);
  q.SetSQL({"SELECT TRAVELTYPENO, TRAVELCATEGORY_LINKNO, TRAVELTYPE FROM TRAVELTYPE",
            "WHERE TRAVELTYPENO IS NOT NULL ORDER BY TRAVELTYPENO, TRAVELCATEGORY_LINKNO, TRAVELTYPE"});
  q.ExecQuery();
  for (; !q.Eof(); q.Next()) {
    const int32_t number = q.Field(0).AsInteger();
    if (types_.count(number)) continue;
    Type& t = types_[number];
    t.category = q.Field(1).AsInteger();
    TLossyColumns lossy;
    t.name = ReadText(q, 2, "TRAVELTYPE", lossy);
    t.nameLossy = !lossy.empty();
  }
}

const TTravelTypes::Type* TTravelTypes::Find(int32_t number) const {
  const auto it = types_.find(number);
  return it == types_.end() ? nullptr : &it->second;
}

}  // namespace iex::db
