#pragma once
#include "export/RecordLayout.h"

namespace iex {

// The account line of IMPACCT.DAT: 21 fields from the first row of a profile.
TRecordLayout<TProfileRow> AccountLayout();

}  // namespace iex
