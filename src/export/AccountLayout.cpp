#include "export/AccountLayout.h"

#include <array>

#include "export/RevenueTypes.h"
#include "export/ValueFormats.h"

namespace iex {
namespace {

using K = TFieldKind;
using P = TProfileRow;
using V = TFieldValue;

bool Vendor(const P& p) { return p.profileType == "V"; }

const std::array<TFieldSpec<P>, 21> kAccountLayout{{
    {1, "interface identifier", K::Text, 10, "INTERFACEID", [](const P& p, V& v) { v.text = p.interfaceId; }},
    {2, "account kind", K::Constant, 0, nullptr, [](const P& p, V& v) { v.text = Vendor(p) ? "P" : "C"; }},
    {3, "type code", K::Constant, 0, "TRAVELCATEGORY_LINKNO",
     [](const P& p, V& v) { v.text = Vendor(p) ? DefaultRevenueLetter(p.travelCategory) : "P"; }},
    {4, "name", K::Text, 30, "NAME", [](const P& p, V& v) { v.text = p.name; }},
    {5, "vendor identifier", K::Text, 0, "INTERFACEID",
     [](const P& p, V& v) {
       if (Vendor(p)) v.text = p.interfaceId;
       v.column = Vendor(p) ? nullptr : "";
     }},
    {6, "short name", K::Text, 0, "NAME", [](const P& p, V& v) { v.Own(GetFirstWord(p.name)); }},
    {7, "(always empty)", K::Empty, 0, nullptr, nullptr},
    {8, "address line 1", K::Text, 30, "ADDRESS1", [](const P& p, V& v) { v.text = p.address1; }},
    {9, "address line 2", K::Text, 30, "ADDRESS2", [](const P& p, V& v) { v.text = p.address2; }},
    {10, "city", K::Text, 15, "CITY", [](const P& p, V& v) { v.text = p.city; }},
    {11, "state", K::Text, 2, "STATE", [](const P& p, V& v) { v.text = p.state; }},
    {12, "postal code", K::Text, 10, "ZIP", [](const P& p, V& v) { v.text = p.zip; }},
    {13, "country", K::Text, 20, "COUNTRY", [](const P& p, V& v) { v.text = p.country; }},
    {14, "e-mail address", K::Text, 50, "EMAIL", [](const P& p, V& v) { v.text = p.email; }},
    {15, "first telephone", K::Text, 15, "BUSPHONE",
     [](const P& p, V& v) {
       v.Own(CleanPhone(Vendor(p) ? p.phone : p.busPhone));
       v.column = Vendor(p) ? "PHONE" : nullptr;
     }},
    {16, "fax", K::Text, 15, "FAX", [](const P& p, V& v) { v.Own(CleanPhone(p.fax)); }},
    {17, "second telephone", K::Text, 15, "PHONE",
     [](const P& p, V& v) {
       v.Own(Vendor(p) ? "" : CleanPhone(p.phone));
       v.column = Vendor(p) ? "" : nullptr;
     }},
    {18, "rate", K::Amount, 0, "RATE1",
     [](const P& p, V& v) {
       v.number = p.rate1;
       v.blank = !(Vendor(p) && p.rate1 >= 1);
     }},
    {19, "(always empty)", K::Empty, 0, nullptr, nullptr},
    {20, "(always empty)", K::Empty, 0, nullptr, nullptr},
    {21, "(always empty)", K::Empty, 0, nullptr, nullptr},
}};

}  // namespace

TRecordLayout<TProfileRow> AccountLayout() { return kAccountLayout; }

}  // namespace iex
