#include "Generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "KeyOrder.h"
#include "crypto/CardDecoding.h"
#include "util/DateValue.h"

namespace iex::tools {
namespace {

// A small generator of our own: the standard distributions differ between
// libraries, and the data must be the same everywhere for one seed.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
  uint64_t Next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }

 private:
  uint64_t s_;
};

struct TravelType {
  int no;
  const char* name;
  int category;  // 0 = none
};

constexpr std::array<TravelType, 30> kTravelTypes = {{
    {1, "Air Domestic", 1},       {2, "Air International", 1}, {3, "Hotel", 2},
    {4, "Car Rental", 3},         {5, "Ocean Cruise", 4},      {6, "Tour", 5},
    {7, "Rail", 6},               {8, "Transfer", 7},          {9, "Insurance", 8},
    {10, "Service Fee", 9},       {11, "Miscellaneous", 10},   {12, "Hotel Package", 2},
    {13, "Air Charter", 1},       {14, "River Cruise", 4},     {15, "Escorted Tour", 5},
    {16, "Limousine", 7},         {17, "Rail Pass", 6},        {18, "Travel Protection", 8},
    {19, "Ticketing Fee", 9},     {20, "Gift Certificate", 10}, {22, "Ferry", 7},
    {23, "Car Premium", 3},       {24, "Resort", 2},           {25, "Adventure Tour", 5},
    {26, "Visa Service", 0},      {27, "Airport Parking", 10}, {28, "Group Air", 1},
    {29, "Ski Package", 5},       {30, "Hostel", 2},           {31, "Cruise Excursion", 4},
}};

struct Vendor {
  const char* name;
  const char* interfaceId;
  const char* airlineNo;  // "" none, nullptr NULL
  int category;           // 0: NULL category
  int secondCategory;
  int rate1;
};

constexpr std::array<Vendor, 22> kVendors = {{
    {"American Airlines", "AA001", "1", 1, 0, 0},
    {"Delta Air Lines", "DL006", "6", 1, 0, 0},
    {"United Airlines", "UA016", "16", 1, 0, 1},
    {"Deutsche Lufthansa Aktiengesellschaft", "LH220", "220", 1, 0, 0},
    {"Regional Charter Air", "CHARTERAIR01", "", 1, 0, 250},
    {"Hilton Hotels & Resorts", "HILTON", nullptr, 2, 0, 1050},
    {"Grand Hotel Europa", "GHEUROPA", nullptr, 2, 0, 1000},
    {"Hertz", "HERTZ", nullptr, 3, 0, 500},
    {"Avis Budget Group", "AVIS", nullptr, 3, 0, 0},
    {"Royal Caribbean International", "RCCL", nullptr, 4, 0, 1200},
    {"Viking River Cruises", "VIKING", nullptr, 4, 5, 1500},
    {"Intercontinental Tours", "ICTOURS", nullptr, 5, 0, 1000},
    {"Globus", "GLOBUS", nullptr, 5, 0, 800},
    {"Amtrak", "AMTRAK", nullptr, 6, 0, 0},
    {"Eurail Group", "EURAIL", nullptr, 6, 0, 300},
    {"Carey Limousine Worldwide", "CAREY", nullptr, 7, 0, 1000},
    {"Allianz Travel Insurance", "ALLIANZ", nullptr, 8, 0, 2000},
    {"Agency Service Fees", "SVCFEE", nullptr, 9, 0, 0},
    {"Miscellaneous Vendor", "MISC", nullptr, 10, 0, 0},
    {"Consulate Services", "VISA", nullptr, 0, 0, 100},
    {"Sunrise Travel Inc", "SUNRISE", nullptr, 11, 0, 750},
    {"Ferries of the North", "FERRYNORTH", nullptr, 7, 10, 1},
}};

constexpr std::array<const char*, 16> kLastNames = {"SMITH", "JOHNSON", "WILLIAMS", "BROWN", "JONES", "GARCIA",
                                                    "MILLER", "DAVIS", "MUELLER", "SCHMIDT", "O'BRIEN", "NGUYEN",
                                                    "DUBOIS", "ROSSI", "LINDQVIST", "M\xDCLLER"};
constexpr std::array<const char*, 10> kFirstNames = {"JOHN", "JANE", "MARY", "ROBERT", "LINDA",
                                                     "MICHAEL", "ANNA", "PETER", "SOFIA", "JOS\xC9"};
constexpr std::array<const char*, 8> kCompanies = {"Acme Corporation", "Globex", "Initech Consulting Group International",
                                                   "Umbrella Travel Dept", "Stark Industries", "Wayne Enterprises",
                                                   "Cyberdyne Systems", "Smith"};
constexpr std::array<const char*, 8> kCities = {"New York", "San Francisco", "Chicago", "Boston",
                                                "Los Angeles", "Minneapolis-Saint Paul", "Miami", "Seattle"};
constexpr std::array<const char*, 8> kStates = {"NY", "CA", "IL", "MA", "CA", "MN", "FL", "WA"};
constexpr std::array<const char*, 10> kAirports = {"JFK", "LAX", "ORD", "BOS", "SFO", "MIA", "SEA", "FRA", "LHR", "CDG"};
constexpr std::array<const char*, 6> kAirlines = {"AA", "DL", "UA", "LH", "BA", "AF"};
constexpr std::array<const char*, 6> kFareBases = {"YLXAP14NR", "Y", "QLE7NR", "KOWUS", "BIZFLEX", "M14"};
constexpr std::array<const char*, 8> kSources = {"Sabre", "Amadeus", "Apollo/Galileo", "Worldspan",
                                                 "Galileo", "sabre", "Internet", ""};
constexpr std::array<const char*, 6> kDestinations = {"Caribbean", "Europe", "Hawaii", "Alaska", "Asia", "Mexico"};
constexpr std::array<const char*, 9> kCards = {"VI 4111111111111111/0326", "5500 1234 5678 9012", "ax 378282246310005/1125",
                                               "4000 12-34/0915",          "V1 4000/0316",        "6011000990139424",
                                               "MC 5555555555554444/12/15", "1400 0000 0000/",    "vi 40001234/0316"};

constexpr double kFirstIssue = 44927;  // 1 January 2023

std::string Num(int64_t n) { return std::to_string(n); }

class Filler {
 public:
  Filler(TDbWriter& w, const AgencyOptions& o) : w_(w), o_(o), rng_(o.seed) {
    if (o.encryptCards) MakeCipherKey(o.keyText, cardKey_);
    if (o.randomKeys) {
      // Bounds from the most rows of a kind an invoice can make.
      const uint32_t invoices = static_cast<uint32_t>(std::max(1, o.invoices));
      const uint32_t clients = static_cast<uint32_t>(std::max(12, o.invoices / 4));
      profileKeys_ = TKeyOrder(o.seed * 8 + 1, 30 + clients);
      bookingKeys_ = TKeyOrder(o.seed * 8 + 2, 3 * invoices);
      reservationKeys_ = TKeyOrder(o.seed * 8 + 3, 3 * invoices);
      rescardKeys_ = TKeyOrder(o.seed * 8 + 4, invoices);
      paymentKeys_ = TKeyOrder(o.seed * 8 + 5, 6 * invoices);
      agentBkgKeys_ = TKeyOrder(o.seed * 8 + 6, 2 * invoices);
    }
  }

  void Run() {
    Reference();
    Profiles();
    TDbWriter::Insert invoice(w_, "INSERT INTO INVOICE VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    TDbWriter::Insert booking(w_, "INSERT INTO BOOKING VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    TDbWriter::Insert rescard(w_, "INSERT INTO RESCARD VALUES (?,?,?)");
    TDbWriter::Insert reservation(w_, "INSERT INTO RESCARDRESERVATION VALUES (?,?,?,?,?)");
    TDbWriter::Insert destination(w_, "INSERT INTO RESCARDDESTINATION VALUES (?,?,?)");
    TDbWriter::Insert agentBkg(w_, "INSERT INTO AGENTBKG VALUES (?,?)");
    TDbWriter::Insert payment(w_, "INSERT INTO PAYMENT VALUES (?,?,?,?)");
    TDbWriter::Insert paydtl(w_, "INSERT INTO PAYDTL VALUES (?,?,?)");
    TDbWriter::Insert segment(w_, "INSERT INTO SEGMENTS VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    TDbWriter::Insert udid(w_, "INSERT INTO UDIDS VALUES (?,?,?,?)");
    Inserts ins{invoice, booking, rescard, reservation, destination, agentBkg, payment, paydtl, segment, udid};
    for (int i = 0; i < o_.invoices; ++i) {
      Invoice(ins, i);
      if (i % 5000 == 4999) w_.Commit();
    }
    w_.Commit();
  }

 private:
  struct Inserts {
    TDbWriter::Insert &invoice, &booking, &rescard, &reservation, &destination, &agentBkg, &payment, &paydtl, &segment, &udid;
  };

  Value Text(const std::string& s) { return s; }
  Value Maybe(int percent, Value v) { return rng_.Chance(percent) ? v : Value{}; }

  void Reference() {
    TDbWriter::Insert branch(w_, "INSERT INTO BRANCH VALUES (?,?)");
    const std::pair<int, const char*> branches[] = {{0, "Head Office"}, {1, "Downtown"}, {2, "Main Office"},
                                                    {7, "Airport"},     {12, "Corporate Desk"}, {12345, "Online"}};
    for (const auto& [no, name] : branches) branch.Run({int64_t{no}, Text(name)});
    TDbWriter::Insert type(w_, "INSERT INTO TRAVELTYPE VALUES (?,?,?)");
    for (const auto& t : kTravelTypes) type.Run({int64_t{t.no}, Text(t.name), t.category ? Value{int64_t{t.category}} : Value{}});
    TDbWriter::Insert cctype(w_, "INSERT INTO CCTYPES VALUES (?,?)");
    const std::pair<int, const char*> types[] = {{1, "VI"}, {2, "MC"}, {3, "AX"}, {4, "DS"}};
    for (const auto& [no, code] : types) cctype.Run({int64_t{no}, Text(code)});
    TDbWriter::Insert lookup(w_, "INSERT INTO CCNO_LOOKUP VALUES (?,?)");
    for (int n = 40; n <= 49; ++n) lookup.Run({int64_t{n}, int64_t{1}});
    for (int n = 51; n <= 55; ++n) lookup.Run({int64_t{n}, int64_t{2}});
    for (int n : {34, 37}) lookup.Run({int64_t{n}, int64_t{3}});
    for (int n : {60, 65}) lookup.Run({int64_t{n}, int64_t{4}});
    lookup.Run({int64_t{14}, int64_t{99}});  // a number whose type is gone
    TDbWriter::Insert setting(w_, "INSERT INTO MOVRA_SETTINGS VALUES (?,?)");
    setting.Run({int64_t{1}, Text("Corvantine")});
    setting.Run({int64_t{47}, Text(o_.keyText)});
    if (o_.encryptCards) setting.Run({int64_t{48}, Text("Y")});
    TDbWriter::Insert version(w_, "INSERT INTO TABLEVERSION VALUES (?,?)");
    version.Run({Text("78"), Text("N")});
    version.Run({Text(o_.schemaVersion), Text("Y")});
    version.Run({Text("90"), Text("N")});
  }

  int NewAddress(TDbWriter::Insert& address, TDbWriter::Insert& instance, int profile, int type) {
    const int no = ++addressNo_;
    const int city = rng_.Below(static_cast<int>(kCities.size()));
    address.Run({int64_t{no}, Text(Num(100 + rng_.Below(9900)) + " " + rng_.Pick(kLastNames) + " Street"),
                 Maybe(30, Text("Suite " + Num(rng_.Below(900)))), Text(kCities[static_cast<std::size_t>(city)]),
                 Text(kStates[static_cast<std::size_t>(city)]), Text(Num(10000 + rng_.Below(89999))),
                 Text(rng_.Chance(90) ? "United States of America" : "Deutschland")});
    instance.Run({int64_t{profile}, int64_t{type}, int64_t{no}});
    return no;
  }

  void Comm(TDbWriter::Insert& comm, int profile, int kind, const std::string& value, const char* description) {
    comm.Run({int64_t{++commNo_}, int64_t{profile}, int64_t{kind}, Text(value), description ? Text(description) : Value{}});
  }

  std::string Phone() {
    const int form = rng_.Below(4);
    const std::string digits = Num(200 + rng_.Below(700)) + " 555-" + Num(1000 + rng_.Below(9000));
    if (form == 0) return "+1 (" + digits.substr(0, 3) + ") " + digits.substr(4);
    if (form == 1) return "+1 " + digits;
    if (form == 2) return "() " + digits.substr(4);
    return "  " + digits + " ";
  }

  void Profiles() {
    TDbWriter::Insert profile(w_, "INSERT INTO PROFILE VALUES (?,?,?,?,?,?)");
    TDbWriter::Insert category(w_, "INSERT INTO PROFILETRVLCAT VALUES (?,?)");
    TDbWriter::Insert address(w_, "INSERT INTO ADDRESS VALUES (?,?,?,?,?,?,?)");
    TDbWriter::Insert instance(w_, "INSERT INTO ADDRINSTANCE VALUES (?,?,?)");
    TDbWriter::Insert comm(w_, "INSERT INTO PROFILECOMM VALUES (?,?,?,?,?)");
    uint32_t n = 0;
    int no = 0;
    for (const Vendor& v : kVendors) {
      no = profileKeys_.Key(++n);
      vendors_.push_back({no, v.category});
      profile.Run({int64_t{no}, Text("V"), Text(v.name), Text(v.interfaceId), int64_t{v.rate1},
                   v.airlineNo ? Text(v.airlineNo) : Value{}});
      category.Run({int64_t{no}, v.category ? Value{int64_t{v.category}} : Value{}});
      if (v.secondCategory) category.Run({int64_t{no}, int64_t{v.secondCategory}});
      NewAddress(address, instance, no, 1);
      Comm(comm, no, 2, Phone(), "Reservations");
      if (no % 3 == 0) Comm(comm, no, 1, Phone(), "Fax");
      Comm(comm, no, 3, "res@" + std::string(v.interfaceId) + ".example.com", nullptr);
    }
    for (int a = 0; a < 8; ++a) {
      no = profileKeys_.Key(++n);
      agents_.push_back(no);
      profile.Run({int64_t{no}, Text("A"), Text(std::string(rng_.Pick(kFirstNames)) + " " + rng_.Pick(kLastNames)),
                   Text("AG" + Num(a + 1)), Value{}, Value{}});
    }
    const int clients = std::max(12, o_.invoices / 4);
    for (int c = 0; c < clients; ++c) {
      no = profileKeys_.Key(++n);
      clients_.push_back(no);
      const bool individual = rng_.Chance(60);
      const std::string name = individual ? std::string(rng_.Pick(kLastNames)) + ", " + rng_.Pick(kFirstNames)
                                          : std::string(rng_.Pick(kCompanies));
      profile.Run({int64_t{no}, individual ? Text("I") : Maybe(90, Text("C")), Text(name),
                   Maybe(95, Text("CL" + Num(10000 + c))), int64_t{rng_.Below(3000)}, Value{}});
      if (rng_.Chance(20)) category.Run({int64_t{no}, int64_t{1 + rng_.Below(10)}});
      if (rng_.Chance(92)) NewAddress(address, instance, no, 1);
      if (rng_.Chance(15)) NewAddress(address, instance, no, 2);
      if (rng_.Chance(85)) Comm(comm, no, 2, Phone(), "Business");
      if (rng_.Chance(40)) Comm(comm, no, 2, Phone(), "Home");
      if (rng_.Chance(30)) Comm(comm, no, 1, Phone(), "Fax");
      if (rng_.Chance(75)) Comm(comm, no, 3, "client" + Num(c) + "@mail.example.org", "E-mail");
    }
  }

  int VendorFor(int category) {
    std::vector<int> matching;
    for (const auto& [no, cat] : vendors_)
      if (cat == category) matching.push_back(no);
    if (matching.empty()) return vendors_[static_cast<std::size_t>(rng_.Below(static_cast<int>(vendors_.size())))].first;
    return matching[static_cast<std::size_t>(rng_.Below(static_cast<int>(matching.size())))];
  }

  std::string PassengerName() {
    std::string name = std::string(rng_.Pick(kLastNames)) + "/" + rng_.Pick(kFirstNames) + (rng_.Chance(50) ? " MR" : " MRS");
    if (rng_.Chance(25)) name += ";" + std::string(rng_.Pick(kLastNames)) + "/" + rng_.Pick(kFirstNames);
    if (rng_.Chance(5)) name = "CHRISTODOULOPOULOS/ALEXANDROS MR";
    return name;
  }

  void Payment(Inserts& ins, int booking) {
    const int method = rng_.Chance(5) ? 0 : 1 + rng_.Below(7);
    std::string text;
    if (method == 3 || method == 5 || method == 6 || method == 7) text = rng_.Pick(kCards);
    else if (method == 1 || method == 2) text = rng_.Chance(50) ? "00" + Num(1000 + rng_.Below(9000)) : "CHK " + Num(rng_.Below(10000));
    else if (method == 4) text = "CASH";
    const int no = paymentKeys_.Key(++paymentNo_);
    Value plain = rng_.Chance(5) ? Value{} : Text(text);
    Value sealed;
    if (o_.encryptCards && !text.empty()) {
      const int form = rng_.Below(20);
      if (form == 0) {
        sealed = Bytes{std::string(1, '\0')};  // one byte: the plain column counts
      } else if (form == 1) {
        sealed = Value{};
        plain = Text("XXXX");
      } else {
        TMemoryStream in(std::vector<uint8_t>(text.begin(), text.end())), out;
        RDLStreamCipher(in, out, cardKey_.data(), true, TRDLKeySize::k128);
        sealed = Bytes{std::string(out.Bytes().begin(), out.Bytes().end())};
        plain = Text("XXXXXXXXXXXX" + text.substr(text.size() >= 4 ? text.size() - 4 : 0));
      }
    }
    ins.payment.Run({int64_t{no}, method ? Value{int64_t{method}} : Value{}, plain, sealed});
    ins.paydtl.Run({int64_t{++paydtlNo_}, int64_t{booking}, int64_t{no}});
  }

  void Segments(Inserts& ins, int booking, double departure) {
    const int count = 1 + rng_.Below(4);
    for (int s = 1; s <= count; ++s) {
      const int minute = rng_.Chance(10) ? 0 : rng_.Below(24 * 60);
      const double dep = departure + s - 1 + minute / 1440.0;
      const double arr = dep + (60 + rng_.Below(600)) / 1440.0;
      ins.segment.Run({int64_t{++segmentNo_}, int64_t{booking}, int64_t{s}, Text(rng_.Pick(kAirlines)),
                       Text(Num(10 + rng_.Below(9000))), Text(rng_.Chance(30) ? "X" : "O"), Text(rng_.Pick(kAirports)),
                       Text(rng_.Pick(kAirports)), rng_.Chance(3) ? Value{} : Value{Timestamp{dep}},
                       Timestamp{arr}, Text(rng_.Pick(kFareBases)), int64_t{rng_.Below(150000)},
                       Text(std::string(1, "YJFCMQ"[rng_.Below(6)]))});
    }
  }

  void Invoice(Inserts& ins, int index) {
    const int invoiceNo = index + 1;
    const double issue = kFirstIssue + rng_.Below(730);
    const int client = clients_[static_cast<std::size_t>(rng_.Below(static_cast<int>(clients_.size())))];
    const int branchChoices[] = {0, 1, 2, 7, 12, 12345};
    const int branch = branchChoices[rng_.Below(6)];
    Value inside, outside;
    if (rng_.Chance(80)) {
      inside = int64_t{agentBkgKeys_.Key(++agentBkgNo_)};
      ins.agentBkg.Run({inside, int64_t{agents_[static_cast<std::size_t>(rng_.Below(static_cast<int>(agents_.size())))]}});
    }
    if (rng_.Chance(30)) {
      outside = int64_t{agentBkgKeys_.Key(++agentBkgNo_)};
      ins.agentBkg.Run({outside, int64_t{agents_[static_cast<std::size_t>(rng_.Below(static_cast<int>(agents_.size())))]}});
    }
    const char* paystatus = rng_.Chance(5) ? "V" : rng_.Chance(50) ? "P" : "O";
    ins.invoice.Run({int64_t{invoiceNo}, int64_t{branch}, int64_t{1000 + index}, rng_.Chance(2) ? Value{} : Value{Date{issue}},
                     Text(rng_.Chance(8) ? "R" : "I"), int64_t{client}, inside, outside,
                     Maybe(70, Text("ABC" + Num(100 + rng_.Below(900)))), Maybe(40, Text("GROUP" + Num(rng_.Below(50)))),
                     Text(paystatus), Maybe(20, Text("Remarks for invoice " + Num(invoiceNo)))});
    const int rescardNo = rescardKeys_.Key(++rescardNo_);
    ins.rescard.Run({int64_t{rescardNo}, int64_t{agents_[0]}, Maybe(80, Text(rng_.Pick(kDestinations)))});
    for (int d = rng_.Below(3); d > 0; --d) ins.destination.Run({int64_t{++destinationNo_}, int64_t{rescardNo}, Text(rng_.Pick(kDestinations))});
    const int bookings = rng_.Chance(3) ? 0 : 1 + rng_.Below(3);
    for (int b = 0; b < bookings; ++b) Booking(ins, invoiceNo, rescardNo, issue);
  }

  void Booking(Inserts& ins, int invoiceNo, int rescardNo, double issue) {
    const TravelType& type = rng_.Chance(40) ? kTravelTypes[static_cast<std::size_t>(rng_.Below(2))] : rng_.Pick(kTravelTypes);
    const int vendor = VendorFor(type.category);
    const int reservationNo = reservationKeys_.Key(++reservationNo_);
    ins.reservation.Run({int64_t{reservationNo}, int64_t{rescardNo}, Maybe(85, Text(rng_.Pick(kSources))),
                         Maybe(50, Date{issue + 30}), Maybe(90, Date{issue - rng_.Below(60)})});
    const int bookingNo = bookingKeys_.Key(++bookingNo_);
    const double depart = issue + 7 + rng_.Below(120);
    const bool air = type.category == 1;
    const char* submit[] = {"S", "C", "A", "X", nullptr};
    const char* submitTo = submit[rng_.Below(5)];
    Value startTicket, endTicket;
    if (air || rng_.Chance(10)) {
      const int first = 10000000 + rng_.Below(80000000);
      const int form = rng_.Below(10);
      startTicket = form == 0 ? Value{} : Text(form == 1 ? "0161234567890" : "00" + Num(first));
      endTicket = form < 3 ? Value{} : Text("00" + Num(first + rng_.Below(4)));
    }
    const char* eticket[] = {"1", "0", "Y", nullptr, "1"};
    const char* eticketInd = eticket[rng_.Below(5)];
    const int fare = rng_.Below(500000);
    ins.booking.Run({int64_t{bookingNo}, int64_t{invoiceNo}, int64_t{vendor}, int64_t{reservationNo}, int64_t{type.no},
                     submitTo ? Text(submitTo) : Value{}, Maybe(97, Text(PassengerName())), int64_t{fare},
                     int64_t{rng_.Below(1500)}, int64_t{fare / 10}, startTicket, Maybe(80, Text("CNF" + Num(rng_.Below(99999)))),
                     Maybe(95, Date{depart}), Maybe(70, Date{depart + 1 + rng_.Below(20)}),
                     eticketInd ? Text(eticketInd) : Value{}, endTicket,
                     Maybe(60, Text(rng_.Chance(50) ? "D" : "I")), int64_t{fare + rng_.Below(20000)}, int64_t{fare / 2},
                     int64_t{rng_.Below(5000)}, int64_t{rng_.Below(3000)}, Maybe(50, int64_t{rng_.Below(1000)}),
                     Maybe(20, int64_t{-rng_.Below(500)})});
    const int payments = rng_.Chance(10) ? 0 : rng_.Chance(80) ? 1 : 2;
    for (int p = 0; p < payments; ++p) Payment(ins, bookingNo);
    if (air ? rng_.Chance(92) : rng_.Chance(5)) Segments(ins, bookingNo, depart);
    for (int u = rng_.Below(4); u > 0; --u) {
      const std::string text = rng_.Chance(10) ? "A very long UDID text that runs well beyond the sixty characters the file takes"
                                               : "PROJECT " + Num(rng_.Below(10000));
      ins.udid.Run({int64_t{++udidNo_}, int64_t{bookingNo}, int64_t{1 + rng_.Below(20)}, Text(text)});
    }
  }

  TDbWriter& w_;
  const AgencyOptions& o_;
  Rng rng_;
  TRDLBlock cardKey_{};
  std::vector<std::pair<int, int>> vendors_;  // profile number, category
  std::vector<int> agents_, clients_;
  TKeyOrder profileKeys_, bookingKeys_, reservationKeys_, rescardKeys_, paymentKeys_, agentBkgKeys_;
  int addressNo_ = 0, commNo_ = 0, paydtlNo_ = 0, segmentNo_ = 0, udidNo_ = 0, destinationNo_ = 0;
  uint32_t paymentNo_ = 0, bookingNo_ = 0, reservationNo_ = 0, rescardNo_ = 0, agentBkgNo_ = 0;
};

}  // namespace

void FillAgencyDatabase(TDbWriter& writer, const AgencyOptions& options) { Filler(writer, options).Run(); }

void CreateAgencyDatabase(const std::string& path, const AgencyOptions& options) {
  std::remove(path.c_str());
  auto writer = TDbWriter::Create(path, options.charset);
  writer->ExecuteScript(AgencySchemaScript());
  FillAgencyDatabase(*writer, options);
}

}  // namespace iex::tools
