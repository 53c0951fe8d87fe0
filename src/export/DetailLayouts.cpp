#include "export/DetailLayouts.h"

#include <array>

namespace iex {
namespace {

using K = TFieldKind;
using S = TSegmentRow;
using U = TUdidRow;
using V = TFieldValue;

#define EMPTY(n) {n, "(always empty)", K::Empty, 0, nullptr, nullptr}

const std::array<TFieldSpec<S>, 21> kSegmentLayout{{
    {1, "record type", K::Constant, 0, nullptr, [](const S&, V& v) { v.text = "02"; }},
    {2, "segment index", K::Text, 0, "INDEXNO", [](const S& s, V& v) { v.text = s.indexNo; }},
    {3, "airline", K::Text, 0, "AIRLINE", [](const S& s, V& v) { v.text = s.airline; }},
    {4, "flight number", K::Text, 0, "FLIGHTNO", [](const S& s, V& v) { v.text = s.flightNo; }},
    {5, "connection", K::Text, 0, "CONNECTION", [](const S& s, V& v) { v.text = s.connection; }},
    {6, "departure city", K::Text, 0, "DEPARTCITY", [](const S& s, V& v) { v.text = s.departCity; }},
    {7, "arrival city", K::Text, 0, "ARRIVECITY", [](const S& s, V& v) { v.text = s.arriveCity; }},
    {8, "departure date", K::Date, 0, "DEPARTDATETIME", [](const S& s, V& v) { v.date = s.departDateTime; }},
    {9, "arrival date", K::Date, 0, "ARRIVEDATETIME", [](const S& s, V& v) { v.date = s.arriveDateTime; }},
    {10, "departure time", K::Time, 0, "DEPARTDATETIME", [](const S& s, V& v) { v.date = s.departDateTime; }},
    {11, "arrival time", K::Time, 0, "ARRIVEDATETIME", [](const S& s, V& v) { v.date = s.arriveDateTime; }},
    {12, "fare basis", K::Text, 8, "FAREBASIS", [](const S& s, V& v) { v.text = s.fareBasis; }},
    {13, "fare", K::Amount, 0, "FARE", [](const S& s, V& v) { v.number = s.fare; }},
    {14, "class of service", K::Text, 0, "CLASSOFSVC", [](const S& s, V& v) { v.text = s.classOfSvc; }},
    EMPTY(15), EMPTY(16), EMPTY(17), EMPTY(18), EMPTY(19), EMPTY(20), EMPTY(21),
}};

const std::array<TFieldSpec<U>, 3> kUdidLayout{{
    {1, "record type", K::Constant, 0, nullptr, [](const U&, V& v) { v.text = "03"; }},
    {2, "UDID number", K::Text, 0, "UDIDNO", [](const U& u, V& v) { v.text = u.udidNo; }},
    {3, "UDID text", K::Text, 60, "UDID", [](const U& u, V& v) { v.text = u.udid; }},
}};

const std::array<TFieldSpec<std::string>, 3> kPaymentRefLayout{{
    {1, "record type", K::Constant, 0, nullptr, [](const std::string&, V& v) { v.text = "03"; }},
    {2, "number", K::Constant, 0, nullptr, [](const std::string&, V& v) { v.text = "101"; }},
    {3, "payment reference", K::Text, 0, "CKCCNO", [](const std::string& r, V& v) { v.text = r; }},
}};

#undef EMPTY

}  // namespace

TRecordLayout<TSegmentRow> SegmentLayout() { return kSegmentLayout; }
TRecordLayout<TUdidRow> UdidLayout() { return kUdidLayout; }
TRecordLayout<std::string> PaymentRefLayout() { return kPaymentRefLayout; }

}  // namespace iex
