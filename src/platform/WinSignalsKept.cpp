#include "platform/SignalsKept.h"

namespace iex {

struct TSignalsKept::Saved {};

TSignalsKept::TSignalsKept() : saved_(nullptr) {}
TSignalsKept::~TSignalsKept() = default;

}  // namespace iex
